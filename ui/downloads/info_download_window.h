// The progress box the download tasks show while they run: created once at
// start-up, shown and hidden by the tasks, its label rewritten by the engine.
// Its "Stop" ends the run within a second; every file the run had not yet
// replaced keeps its old content.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

class TfrInfoDownloadWnd : public QWidget {
    Q_OBJECT
public:
    TfrInfoDownloadWnd();

    // The label's text when no entry is being fetched.
    static constexpr const char *IdleText = "Download in Progress...Please Wait.";

    // Shows the box centred on the screen.
    void ShowCentred();
    // Hides the box and puts the idle text back.
    void HideAndReset();
    // Asks the running download to stop.
    void bn_stopClick();

    QLabel *lb_dwninfo = nullptr;
    QPushButton *bn_stop = nullptr;
};

// The program's progress box while it exists, else null.
extern TfrInfoDownloadWnd *frInfoDownloadWnd;
