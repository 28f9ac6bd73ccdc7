#pragma once

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace platform {

// Raw memory for one page at a time, which a reader keeps from page to page. Its units are left
// uninitialised, and it grows by doubling, so a run of ever larger pages reallocates a few
// times only.
//
// A reader's buffers come in whole huge pages where the system offers them: a first search
// writes megabytes of fresh memory, and a trap for every 4 KB of it cost as much as decoding
// the pages, dearly so on a virtual machine; a 2 MB page costs one. A buffer for a single page
// keeps to the heap.
enum class Pages { Small, Huge };

inline constexpr std::size_t HugePageBytes = 2 * 1024 * 1024;

constexpr std::uintptr_t RoundUpToHugePage(std::uintptr_t n) {
    return (n + HugePageBytes - 1) & ~std::uintptr_t(HugePageBytes - 1);
}

// Asks for huge pages over [data, data + bytes), which should start on a huge-page boundary.
// Advice only: nothing changes where the system does not offer them.
void AdviseHugePages(void *data, std::size_t bytes);

class RawBuffer {
public:
    explicit RawBuffer(Pages pages = Pages::Small) : pages(pages) {}
    RawBuffer(const RawBuffer &) = delete;
    RawBuffer &operator=(const RawBuffer &) = delete;
    ~RawBuffer() { Release(); }

    // Room for `bytes`; what was written before is not kept when the buffer has to grow.
    void *Room(std::size_t bytes);
    std::size_t Capacity() const { return capacity; }
    Pages Kind() const { return pages; }
    void Release();
    // The first `units` UTF-16 units written, as a string: without a copy when the buffer keeps
    // to the heap. The buffer is left empty.
    QString TakeUnits(qsizetype units);
    void Swap(RawBuffer &other) noexcept {
        std::swap(data, other.data);
        std::swap(capacity, other.capacity);
        std::swap(pages, other.pages);
        heap.swap(other.heap);
    }

private:
    void *data = nullptr;
    std::size_t capacity = 0;
    Pages pages;
    QString heap; // the memory when it is on the heap, ready to be handed on; null when mapped
};

template <typename T> class PageBuffer {
public:
    explicit PageBuffer(Pages pages = Pages::Small) : raw(pages) {}

    // Makes the buffer `size` units long, their values undefined; returns them.
    T *Resize(qsizetype size) {
        units = static_cast<T *>(raw.Room(std::size_t(size) * sizeof(T)));
        length = size;
        return units;
    }
    // The same, keeping the first `kept` units.
    T *Grow(qsizetype size, qsizetype kept) {
        if (std::size_t(size) * sizeof(T) > raw.Capacity()) {
            RawBuffer larger(raw.Kind());
            T *const to = static_cast<T *>(larger.Room(std::size_t(size) * sizeof(T)));
            std::copy_n(units, qMin(kept, length), to);
            raw.Swap(larger);
            units = to;
        }
        length = size;
        return units;
    }
    void Truncate(qsizetype size) { length = qMin(length, size); }
    const T *Data() const { return units; }
    qsizetype Size() const { return length; }
    std::size_t CapacityBytes() const { return raw.Capacity(); }
    void Release() {
        raw.Release();
        units = nullptr;
        length = 0;
    }
    QString Take() requires std::is_same_v<T, char16_t> {
        units = nullptr;
        return raw.TakeUnits(std::exchange(length, 0));
    }

private:
    RawBuffer raw;
    T *units = nullptr;
    qsizetype length = 0;
};

} // namespace platform
