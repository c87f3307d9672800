#include "framework/controls/Dialogs.h"

#include <cstdio>
#include <utility>

namespace zorp::fw {

namespace {

TShowMessageHandler& ShowMessageSlot() {
    static TShowMessageHandler handler;
    return handler;
}

TMessageBeepHandler& MessageBeepSlot() {
    static TMessageBeepHandler handler;
    return handler;
}

} // namespace

void ShowMessage(const std::string& Msg) {
    if (const TShowMessageHandler handler = ShowMessageSlot()) {
        handler(Msg);
        return;
    }
    std::fwrite(Msg.data(), 1, Msg.size(), stderr);
    std::fputc('\n', stderr);
}

void MessageBeep(uint32_t Type) {
    if (const TMessageBeepHandler handler = MessageBeepSlot())
        handler(Type);
}

TShowMessageHandler SetShowMessageHandler(TShowMessageHandler Handler) {
    return std::exchange(ShowMessageSlot(), std::move(Handler));
}

TMessageBeepHandler SetMessageBeepHandler(TMessageBeepHandler Handler) {
    return std::exchange(MessageBeepSlot(), std::move(Handler));
}

} // namespace zorp::fw
