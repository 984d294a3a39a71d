// The user switching to another application and back: the window loses its
// activation, so its focused field loses the focus to another window, and
// gets it back once work queued meanwhile has run.
#pragma once

#include <QTest>
#include <QWidget>

// False when the window manager did not hand the activation over.
inline bool SwitchToAnotherWindowAndBack(QWidget &window)
{
    QWidget other;
    other.setWindowTitle("Another application");
    other.show();
    other.activateWindow();
    if (!QTest::qWaitForWindowActive(&other))
        return false;
    QTest::qWait(20);
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}
