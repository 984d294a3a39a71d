// The size a tool window opens at: what its layout asks for, never less than
// the window was designed at, never more than the screen holds.
#pragma once

#include <QSize>

class QWidget;

// Sizes `window` (its controls built) to its layout's size hint, at least
// `designed`, at most the available area of its screen, and centres it
// there. Its minimum becomes `minimum` or its layout's minimum, whichever is
// larger, within the screen.
void FitWindowToScreen(QWidget *window, QSize designed, QSize minimum);
