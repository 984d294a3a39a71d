#include "engine/runtime/ui_hooks.h"

UiHooks &Hooks()
{
    static UiHooks hooks;
    return hooks;
}

void ShowUserMessage(const std::string &text, const std::string &caption, MessageKind kind)
{
    UiHooks &hooks = Hooks();
    if (!hooks.showMessage)
        return;
    if (!hooks.runOnUiThread || hooks.uiThread == std::this_thread::get_id()) {
        hooks.showMessage(text, caption, kind);
        return;
    }
    auto show = hooks.showMessage;
    hooks.runOnUiThread([show, text, caption, kind] { show(text, caption, kind); });
}

void ShowUserMessage(const UserMessage &message)
{
    ShowUserMessage(message.text, message.caption, message.kind);
}
