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

using TShowMessageHandler = std::function<void(const std::string& Msg)>;
using TMessageBeepHandler = std::function<void(uint32_t Type)>;

ZORP_API void ShowMessage(const std::string& Msg);
// Type: 0 for the default sound, otherwise a sound kind number.
ZORP_API void MessageBeep(uint32_t Type);

// Install a handler and return the one it replaces; an empty handler
// restores the default.
ZORP_API TShowMessageHandler SetShowMessageHandler(TShowMessageHandler Handler);
ZORP_API TMessageBeepHandler SetMessageBeepHandler(TMessageBeepHandler Handler);

} // namespace zorp::fw
