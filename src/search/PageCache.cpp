#include "search/PageCache.h"

namespace search {

PageCache &PageCache::Shared() {
    // Never destroyed: a reader left stalled on a page may still store into it at exit.
    static PageCache *const cache = new PageCache;
    return *cache;
}

std::optional<PageCache::Page> PageCache::Find(const QString &key,
                                               const platform::FileStamp &stamp) {
    const std::lock_guard lock(mutex);
    const auto it = entries.constFind(key);
    if (it == entries.constEnd())
        return std::nullopt;
    if (!(it->stamp == stamp)) {
        forgetLocked(key);
        return std::nullopt;
    }
    return it->page;
}

void PageCache::Store(const QString &key, const platform::FileStamp &stamp, const Page &page) {
    const std::lock_guard lock(mutex);
    forgetLocked(key);
    if (size + bytesOf(page.Text) > capacity)
        return; // full: this page is read afresh next time
    entries.insert(key, Entry{stamp, page});
    size += bytesOf(page.Text);
}

bool PageCache::WouldKeep(const QString &key, qint64 bytes) const {
    const std::lock_guard lock(mutex);
    const auto it = entries.constFind(key);
    return size - (it == entries.cend() ? 0 : bytesOf(it->page.Text)) + bytes <= capacity;
}

void PageCache::Forget(const QString &key) {
    const std::lock_guard lock(mutex);
    forgetLocked(key);
}

void PageCache::Clear() {
    const std::lock_guard lock(mutex);
    entries.clear();
    size = 0;
}

void PageCache::SetCapacity(qint64 bytes) {
    const std::lock_guard lock(mutex);
    capacity = bytes;
    if (size > capacity) {
        entries.clear();
        size = 0;
    }
}

qint64 PageCache::Size() const {
    const std::lock_guard lock(mutex);
    return size;
}

void PageCache::forgetLocked(const QString &key) {
    const auto it = entries.find(key);
    if (it == entries.end())
        return;
    size -= bytesOf(it->page.Text);
    entries.erase(it);
}

} // namespace search
