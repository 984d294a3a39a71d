#include "ui/widgets/window_size.h"

#include <QApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// Before any window is framed its frame is not known: this leaves room for
// the title bars and borders of common desktop window managers, with the
// resize handle some draw along the bottom (openbox: 5 pixels).
constexpr QMargins TypicalFrame(4, 32, 4, 5);

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

QMargins FrameAllowance(const std::vector<SeenFrame> &seen)
{
    if (seen.empty())
        return TypicalFrame;
    QMargins widest;
    for (const SeenFrame &one : seen) {
        QMargins frame = one.frame;
        // A maximised window keeps its title bar but loses its borders: a
        // window not maximised has one above its title bar too.
        if (one.maximised)
            frame.setTop(frame.top() + TypicalFrame.left());
        widest = QMargins(std::max(widest.left(), frame.left()), std::max(widest.top(), frame.top()),
                          std::max(widest.right(), frame.right()), std::max(widest.bottom(), frame.bottom()));
    }
    return QMargins(std::max(widest.left(), TypicalFrame.left()), widest.top(),
                    std::max(widest.right(), TypicalFrame.right()), std::max(widest.bottom(), TypicalFrame.bottom()));
}

QMargins WindowFrame(const QWidget *window)
{
    if (Framed(window) && !window->isMaximized())
        return FrameAround(window);
    std::vector<SeenFrame> seen;
    for (const QWidget *other : QApplication::topLevelWidgets())
        if (Framed(other))
            seen.push_back({FrameAround(other), other->isMaximized()});
    return FrameAllowance(seen);
}

QSize ScreenRoom(const QWidget *window)
{
    const QScreen *screen = ScreenOf(window);
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return screen->availableGeometry().marginsRemoved(WindowFrame(window)).size();
}

void ShowMaximisedInScreenRoom(QWidget *window)
{
    if (const QScreen *screen = ScreenOf(window)) {
        const QMargins frame = WindowFrame(window);
        const QPoint inside = screen->availableGeometry().topLeft() + QPoint(frame.left(), frame.top());
        window->setGeometry(QRect(inside, ScreenRoom(window)));
    }
    window->showMaximized();
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
