#include "HeapCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in a header in front of it, aligned for any
// fundamental type.
constexpr size_t HeaderSize = alignof(std::max_align_t);

std::atomic<size_t> InUse{0};
std::atomic<size_t> Peak{0};
std::atomic<size_t> Base{0};

void* Allocate(size_t size) {
    void* block = std::malloc(size + HeaderSize);
    if (!block)
        throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    const size_t now = InUse.fetch_add(size) + size;
    size_t peak = Peak.load();
    while (now > peak && !Peak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + HeaderSize;
}

void Release(void* p) {
    if (!p)
        return;
    void* block = static_cast<char*>(p) - HeaderSize;
    InUse.fetch_sub(*static_cast<size_t*>(block));
    std::free(block);
}

} // namespace

void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}

namespace zorpbench {

size_t HeapInUse() {
    return InUse.load();
}

void ResetHeapPeak() {
    Base.store(InUse.load());
    Peak.store(InUse.load());
}

size_t HeapPeakSinceReset() {
    return Peak.load() - Base.load();
}

} // namespace zorpbench
