#pragma once

#include "platform/FileSystem.h"

#include <QHash>
#include <QString>
#include <mutex>
#include <optional>

namespace search {

// The page texts of earlier searches, each with the stamp of the file it was read from. A text
// is handed out only while its file still has that stamp, so a page edited, replaced, removed or
// added on disk is seen by the next search exactly as a fresh read would see it. Safe to use
// from several threads at once.
class PageCache {
public:
    static constexpr qint64 DefaultCapacity = 256 * 1024 * 1024;

    // The cache of the process's searches.
    static PageCache &Shared();

    explicit PageCache(qint64 capacityBytes = DefaultCapacity) : capacity(capacityBytes) {}

    struct Page {
        QString Text;
        bool LowersCharByChar; // LowersCharByChar(Text), worked out once
    };

    // The page kept for `key` when it was read from a file with `stamp`.
    std::optional<Page> Find(const QString &key, const platform::FileStamp &stamp);
    // Keeps `page` for `key` when it fits in the capacity; otherwise forgets the key.
    void Store(const QString &key, const platform::FileStamp &stamp, const Page &page);
    // Whether Store would keep a text of `bytes` for `key` now.
    bool WouldKeep(const QString &key, qint64 bytes) const;
    void Forget(const QString &key);
    void Clear();

    void SetCapacity(qint64 bytes);
    // Bytes of text held.
    qint64 Size() const;

private:
    struct Entry {
        platform::FileStamp stamp;
        Page page;
    };
    static qint64 bytesOf(const QString &text) { return text.size() * qint64(sizeof(QChar)); }
    void forgetLocked(const QString &key);

    mutable std::mutex mutex;
    QHash<QString, Entry> entries;
    qint64 capacity;
    qint64 size = 0;
};

} // namespace search
