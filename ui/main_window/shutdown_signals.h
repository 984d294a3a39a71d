// The signals that end a desktop program from outside: SIGTERM (a logout or
// shutdown), SIGINT (Ctrl+C in a terminal) and SIGHUP (its terminal closed).
// Each ends the program the way Exit does, saving what Exit saves: the
// handler only writes the signal's number to a pipe, and the event loop,
// woken by it, closes the open dialogs and then the main window. A second
// signal while the program is closing ends it at once.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class ShutdownSignals : public QObject {
public:
    // Installs the handlers for the life of this object (the newest object
    // takes them over); close ends the program. Without a pipe the signals
    // keep their default action.
    ShutdownSignals(QObject *parent, std::function<void()> close);
    // Gives the signals their default action back.
    ~ShutdownSignals() override;

    // The program has begun to close, by a signal or otherwise: a signal
    // from now on ends it at once.
    static void Closing();

private:
    void SignalArrived();

    QSocketNotifier *notifier_ = nullptr;
    std::function<void()> close_;
};
