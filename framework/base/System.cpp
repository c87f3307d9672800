#include "framework/base/System.h"

#include <chrono>
#include <thread>

namespace zorp::fw {

uint32_t GetTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void Sleep(uint32_t Milliseconds) {
    if (Milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

} // namespace zorp::fw
