// Connects the engine's user hooks to Qt: message boxes, the hand-over to the
// user-interface thread, the file dialogs and the printer.
#pragma once

#include "engine/ui_hooks.h"

#include <string>

class QObject;

// uiObject lives on the user-interface thread (the application object);
// queued calls are delivered through its event queue.
void InstallUiHooks(QObject *uiObject);

// Shows a message through the installed hook at once and returns when the
// user has dismissed it. User-interface thread only; workers use
// ShowUserMessage, which hands the message over.
void ShowMessageNow(const std::string &text, const std::string &caption,
                    MessageKind kind = MessageKind::Information);
