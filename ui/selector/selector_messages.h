// Messages and questions of the satellite selector's handlers.
#pragma once

#include "engine/runtime/ui_hooks.h"

#include <QString>

#include <string>

namespace selector_ui {

inline void Tell(const std::string &text, const std::string &caption = "Satellite Selector")
{
    ShowUserMessage(text, caption, MessageKind::Information);
}

// A Yes/No question; No when no one can answer it.
inline bool Ask(const std::string &text, const std::string &caption)
{
    const auto &show = Hooks().showMessage;
    return show && show(text, caption, MessageKind::Confirmation);
}

inline QString Text(const std::string &text) { return QString::fromStdString(text); }

} // namespace selector_ui
