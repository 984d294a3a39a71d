// The progress box the download tasks show while they run: created once at
// start-up, shown and hidden by the tasks, its label rewritten by the engine.
#pragma once

#include <QWidget>

class QLabel;

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

    QLabel *lb_dwninfo = nullptr;
};

// The program's progress box while it exists, else null.
extern TfrInfoDownloadWnd *frInfoDownloadWnd;
