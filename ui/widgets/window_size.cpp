#include "ui/widgets/window_size.h"

#include <QApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <optional>

namespace {

// Before any window is framed its frame is not known: this leaves room for
// the title bars and borders of common desktop window managers.
constexpr QMargins TypicalFrame(4, 32, 4, 4);

QMargins FrameAround(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

bool Framed(const QWidget *window)
{
    return window->isVisible() && !FrameAround(window).isNull();
}

const QScreen *ScreenOf(const QWidget *window)
{
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

} // namespace

QMargins WindowFrame(const QWidget *window)
{
    if (Framed(window) && !window->isMaximized())
        return FrameAround(window);
    std::optional<QMargins> maximised;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (!Framed(other))
            continue;
        if (!other->isMaximized())
            return FrameAround(other);
        maximised = FrameAround(other);
    }
    // A maximised window keeps its title bar but loses its borders.
    if (maximised)
        return QMargins(TypicalFrame.left(), maximised->top() + TypicalFrame.bottom(), TypicalFrame.right(),
                        TypicalFrame.bottom());
    return TypicalFrame;
}

QSize ScreenRoom(const QWidget *window)
{
    const QScreen *screen = ScreenOf(window);
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return screen->availableGeometry().marginsRemoved(WindowFrame(window)).size();
}

void FitWindowToScreen(QWidget *window, QSize designed, QSize minimum)
{
    const QSize room = ScreenRoom(window);
    window->setMinimumSize(minimum.expandedTo(window->minimumSizeHint()).boundedTo(room));
    window->resize(designed.expandedTo(window->sizeHint()).boundedTo(room));
    const QScreen *screen = ScreenOf(window);
    if (!screen)
        return;
    // A window's position is that of its frame.
    const QRect area = screen->availableGeometry();
    const QSize outer = window->size().grownBy(WindowFrame(window));
    window->move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}
