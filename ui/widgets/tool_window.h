// Tool windows that are created once and live until the program ends (the
// prediction and analysis windows): the command that opens one creates it on
// first use, restores it when minimised and otherwise brings it to the front.
#pragma once

#include <QWidget>

// Restores a minimised window, shows it and brings it to the front.
inline void RaiseToolWindow(QWidget *window)
{
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

template <class Window, class Create>
Window *ShowToolWindowOnce(Window *&window, Create create)
{
    if (!window)
        window = create();
    RaiseToolWindow(window);
    return window;
}
