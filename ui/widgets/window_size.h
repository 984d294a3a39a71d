// The size a tool window opens at: what its layout asks for, never less than
// the window was designed at, never more than the screen holds with the
// window's frame (title bar and borders) around it.
#pragma once

#include <QMargins>
#include <QSize>

#include <vector>

class QWidget;

// A frame the window system gave one of the program's windows, and whether
// that window was maximised.
struct SeenFrame {
    QMargins frame;
    bool maximised = false;
};

// The frame to allow for a window not framed yet, from the frames seen
// around the program's other windows: on each side the widest seen, since a
// window manager frames windows alike but for the resize handle a fixed-size
// dialog lacks and the borders a maximised window does not show, and never
// less than a desktop's usual borders. With none seen, an allowance for a
// desktop title bar and borders.
QMargins FrameAllowance(const std::vector<SeenFrame> &seen);

// What the window system's frame adds around `window`: its own frame once it
// is shown and framed (not maximised), else the FrameAllowance of the
// program's framed windows.
QMargins WindowFrame(const QWidget *window);

// The largest size `window` can take with its frame inside the available
// area of its screen.
QSize ScreenRoom(const QWidget *window);

// Shows `window` maximised, with the screen room (at the top-left of the
// available area, inside the frame) as the size it is restored to, so that
// the restored window keeps its title bar on the screen.
void ShowMaximisedInScreenRoom(QWidget *window);

// Sizes `window` (its controls built) to its layout's size hint, at least
// `designed`, at most the screen room, and centres it with its frame in the
// available area. Its minimum becomes `minimum` or its layout's minimum,
// whichever is larger, within the screen room.
void FitWindowToScreen(QWidget *window, QSize designed, QSize minimum);
