// The size a tool window opens at: what its layout asks for, never less than
// the window was designed at, never more than the screen holds with the
// window's frame (title bar and borders) around it.
#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

// What the window system's frame adds around `window`: its own frame once it
// is shown and framed, else that of a framed window of the program (a window
// manager frames them all alike; a maximised one shows no borders, which are
// then allowed for), else an allowance for a desktop title bar and borders.
QMargins WindowFrame(const QWidget *window);

// The largest size `window` can take with its frame inside the available
// area of its screen.
QSize ScreenRoom(const QWidget *window);

// Sizes `window` (its controls built) to its layout's size hint, at least
// `designed`, at most the screen room, and centres it with its frame in the
// available area. Its minimum becomes `minimum` or its layout's minimum,
// whichever is larger, within the screen room.
void FitWindowToScreen(QWidget *window, QSize designed, QSize minimum);
