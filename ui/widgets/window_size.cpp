#include "ui/widgets/window_size.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void FitWindowToScreen(QWidget *window, QSize designed, QSize minimum)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry()
                              : QRect(QPoint(0, 0), designed.expandedTo(window->sizeHint()));
    window->setMinimumSize(minimum.expandedTo(window->minimumSizeHint()).boundedTo(area.size()));
    window->resize(designed.expandedTo(window->sizeHint()).boundedTo(area.size()));
    window->move(area.center() - window->rect().center());
}
