// The message box and the beep. ShowMessage is modal for the caller: it
// returns once the message has been "closed", which in this headless layer
// means once the handler returned. Both go through replaceable handlers so
// that programs and tests decide what a message or a beep does. By default
// ShowMessage writes the message and a line break to standard error and
// MessageBeep does nothing.
#pragma once

#include "../base/Export.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zorp::fw {

/// What ShowMessage does with a message, in place of the default.
using TShowMessageHandler = std::function<void(const std::string& Msg)>;
/// What MessageBeep does with a beep, in place of the default.
using TMessageBeepHandler = std::function<void(uint32_t Type)>;

/// Shows Msg and returns once it has been closed: passes it to the installed
/// handler, or writes it and a line break to standard error.
ZORP_API void ShowMessage(const std::string& Msg);
/// Sounds a beep through the installed handler; without one it does nothing.
/// Type: 0 for the default sound, otherwise a sound kind number.
ZORP_API void MessageBeep(uint32_t Type);

/// Install a handler and return the one it replaces; an empty handler
/// restores the default.
/// @{
ZORP_API TShowMessageHandler SetShowMessageHandler(TShowMessageHandler Handler);
ZORP_API TMessageBeepHandler SetMessageBeepHandler(TMessageBeepHandler Handler);
/// @}

} // namespace zorp::fw
