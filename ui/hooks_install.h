// Connects the engine's user hooks to Qt: message boxes, the hand-over to the
// user-interface thread, the file dialogs, the printer, the sky-point and
// star pickers and the observer location window.
#pragma once

#include "engine/runtime/ui_hooks.h"

class QObject;

// uiObject lives on the user-interface thread (the application object);
// queued calls are delivered through its event queue.
void InstallUiHooks(QObject *uiObject);
