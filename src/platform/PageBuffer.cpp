#include "platform/PageBuffer.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace platform {

namespace {

#if defined(Q_OS_LINUX)
// Mapped apart from the heap, so that letting a buffer go gives its memory back at once.
// Mapped with a huge page to spare, then cut to huge-page boundaries at both ends.
void *allocateHuge(std::size_t size) {
    const std::size_t span = size + HugePageBytes;
    void *mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    auto *const first = static_cast<char *>(mapped);
    auto *const start =
        reinterpret_cast<char *>(RoundUpToHugePage(reinterpret_cast<std::uintptr_t>(first)));
    if (start > first)
        munmap(first, std::size_t(start - first));
    if (start + size < first + span)
        munmap(start + size, std::size_t(first + span - (start + size)));
    AdviseHugePages(start, size);
    return start;
}

void deallocateHuge(void *data, std::size_t size) {
    munmap(data, size);
}
#else
void *allocateHuge(std::size_t size) {
    return ::operator new(size, std::align_val_t(HugePageBytes));
}

void deallocateHuge(void *data, std::size_t) {
    ::operator delete(data, std::align_val_t(HugePageBytes));
}
#endif

} // namespace

void AdviseHugePages([[maybe_unused]] void *data, [[maybe_unused]] std::size_t bytes) {
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    madvise(data, bytes, MADV_HUGEPAGE);
#endif
}

void *RawBuffer::Room(std::size_t bytes) {
    if (bytes <= capacity && data)
        return data;
    const std::size_t grown = std::max({bytes, 2 * capacity, std::size_t(1)});
    Release();
    if (pages == Pages::Small) {
        heap = QString(qsizetype((grown + 1) / sizeof(char16_t)), Qt::Uninitialized);
        data = heap.data();
        capacity = std::size_t(heap.size()) * sizeof(char16_t);
        return data;
    }
    capacity = RoundUpToHugePage(grown);
    data = allocateHuge(capacity);
    return data;
}

void RawBuffer::Release() {
    if (data && heap.isNull())
        deallocateHuge(data, capacity);
    heap = QString();
    data = nullptr;
    capacity = 0;
}

QString RawBuffer::TakeUnits(qsizetype units) {
    if (heap.isNull()) {
        QString text(static_cast<const QChar *>(data), units);
        Release();
        return text;
    }
    QString text = std::exchange(heap, QString());
    data = nullptr;
    capacity = 0;
    text.truncate(units);
    return text;
}

} // namespace platform
