#include "ui/main_window/shutdown_signals.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may run on any thread and touches only these: lock-free
// atomics and write() are safe in a signal handler.
std::atomic<int> PipeWriteEnd{-1};
std::atomic<bool> ClosingStarted{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

ShutdownSignals *Owner = nullptr;
int PipeReadEnd = -1;

// A dialog that refuses to close (a download running) is tried again for
// this long before the main window closes anyway.
constexpr int DialogRetryMs = 50;
constexpr int DialogTries = 40;

extern "C" void OnShutdownSignal(int signal)
{
    if (ClosingStarted.exchange(true))
        ::_exit(128 + signal);
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(PipeWriteEnd.load(), &number, 1);
    errno = saved;
}

void SetHandlers(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : HandledSignals)
        ::sigaction(signal, &action, nullptr);
}

void ClosePipe()
{
    const int writeEnd = PipeWriteEnd.exchange(-1);
    if (writeEnd >= 0)
        ::close(writeEnd);
    if (PipeReadEnd >= 0)
        ::close(PipeReadEnd);
    PipeReadEnd = -1;
}

// Closes the modal dialogs from the top, then, once every nested event loop
// has returned, ends the program through close; the windows' own closing
// code runs as when the user closes them.
void EndAfterDialogs(const std::function<void()> &close, int triesLeft)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (triesLeft > 0 && (modal || QThread::currentThread()->loopLevel() > 1)) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else if (modal)
            modal->close();
        QTimer::singleShot(DialogRetryMs, qApp, [close, triesLeft] { EndAfterDialogs(close, triesLeft - 1); });
        return;
    }
    close();
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject *parent, std::function<void()> close)
    : QObject(parent), close_(std::move(close))
{
    if (Owner) {
        SetHandlers(SIG_DFL);
        delete Owner->notifier_;
        Owner->notifier_ = nullptr;
        ClosePipe();
    }
    Owner = this;
    ClosingStarted = false;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    PipeReadEnd = ends[0];
    PipeWriteEnd = ends[1];
    notifier_ = new QSocketNotifier(PipeReadEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ShutdownSignals::SignalArrived);
    SetHandlers(OnShutdownSignal);
}

ShutdownSignals::~ShutdownSignals()
{
    if (Owner != this)
        return;
    SetHandlers(SIG_DFL);
    delete notifier_;
    ClosePipe();
    Owner = nullptr;
}

void ShutdownSignals::Closing()
{
    ClosingStarted = true;
}

void ShutdownSignals::SignalArrived()
{
    unsigned char numbers[16];
    while (::read(PipeReadEnd, numbers, sizeof numbers) > 0) {
    }
    EndAfterDialogs(close_, DialogTries);
}
