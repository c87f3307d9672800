#include "framework/base/TemporaryNames.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zorp::fw {

namespace {

// A slot is claimed (Busy), filled, then published (Ready); the signal
// handler touches only published slots and reads nothing but them.
struct TSlot {
    std::atomic<int> State{0}; // Free, Busy or Ready
    int Directory = -1;
    char Name[PATH_MAX] = {};
};

constexpr int Free = 0;
constexpr int Busy = 1;
constexpr int Ready = 2;
constexpr int SlotCount = 16;

TSlot Slots[SlotCount];

} // namespace

int NoteTemporaryName(int DirectoryHandle, const std::string& Name) {
    if (Name.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < SlotCount; ++i) {
        int expected = Free;
        if (!Slots[i].State.compare_exchange_strong(expected, Busy))
            continue;
        Slots[i].Directory = DirectoryHandle;
        std::memcpy(Slots[i].Name, Name.c_str(), Name.size() + 1);
        Slots[i].State.store(Ready);
        return i;
    }
    return -1;
}

void ForgetTemporaryName(int Slot) {
    if (Slot >= 0 && Slot < SlotCount)
        Slots[Slot].State.store(Free);
}

void RemoveTemporaryNames() noexcept {
    for (TSlot& slot : Slots)
        if (slot.State.load() == Ready)
            unlinkat(slot.Directory, slot.Name, 0);
}

} // namespace zorp::fw
