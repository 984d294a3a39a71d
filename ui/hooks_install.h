// Connects the engine's user hooks to Qt: message boxes, the hand-over to the
// user-interface thread, the file dialogs, the printer, the sky-point and
// star pickers and the observer location window.
#pragma once

#include "engine/runtime/ui_hooks.h"

#include <QPointer>
#include <QWidget>

// uiObject lives on the user-interface thread (the application object);
// queued calls are delivered through its event queue.
void InstallUiHooks(QObject *uiObject);

// While one lives, the user's messages are shown owned by owner (while it is
// there), so that the window system keeps each box in front of it. Without
// one a box belongs to the active window, which may be none at all just after
// a progress box has gone: a box then opens behind an always-on-top window.
class MessageOwner {
public:
    explicit MessageOwner(QWidget *owner);
    ~MessageOwner();
    MessageOwner(const MessageOwner &) = delete;
    MessageOwner &operator=(const MessageOwner &) = delete;

private:
    QPointer<QWidget> previous_;
};
