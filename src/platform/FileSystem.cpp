#include "platform/FileSystem.h"

#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtGlobal>
#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

std::optional<QStringList> ListDirectory(const QString &windowsDir) {
    const QString native = ToNativePath(windowsDir.isEmpty() ? QStringLiteral(".") : windowsDir);
    const QString dir = windowsDir.isEmpty() ? QStringLiteral(".") : native;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return std::nullopt;
#if defined(Q_OS_UNIX)
    // readdir() as it is: QDirIterator made a file information object of every entry, which
    // cost a search of a large folder more than checking its pages.
    DIR *stream = ::opendir(QFile::encodeName(dir).constData());
    if (!stream)
        return std::nullopt;
    QStringList names;
    while (const dirent *entry = ::readdir(stream))
        names << QFile::decodeName(entry->d_name);
    ::closedir(stream);
#else
    const QStringList names =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
#endif
    if (names.isEmpty())
        return std::nullopt;
    return names;
}

namespace {

#if defined(Q_OS_UNIX)
FileStamp stampOf(const struct stat &info) {
#if defined(Q_OS_DARWIN)
    const timespec &modified = info.st_mtimespec;
#else
    const timespec &modified = info.st_mtim;
#endif
    FileStamp stamp;
    stamp.Size = qint64(info.st_size);
    stamp.ModifiedNs = qint64(modified.tv_sec) * 1000000000 + qint64(modified.tv_nsec);
    stamp.Inode = quint64(info.st_ino);
    stamp.Device = quint64(info.st_dev);
    return stamp;
}

// The stamp of the file a path names, links followed, if it is a regular file.
std::optional<FileStamp> stampOfPath(const QString &path, bool *exists = nullptr) {
    struct stat info {};
    const bool found = ::stat(QFile::encodeName(path).constData(), &info) == 0;
    if (exists)
        *exists = found;
    return found && S_ISREG(info.st_mode) ? std::optional(stampOf(info)) : std::nullopt;
}
#else
// Without stat(): Qt's view of the file, to the millisecond, and no file number.
std::optional<FileStamp> stampOfPath(const QString &path, bool *exists = nullptr) {
    const QFileInfo info(path);
    if (exists)
        *exists = info.exists();
    if (!info.isFile())
        return std::nullopt;
    FileStamp stamp;
    stamp.Size = info.size();
    stamp.ModifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return stamp;
}
#endif

} // namespace

std::optional<FileStamp> StampOfFile(const QString &nativePath) {
    if (nativePath.isEmpty())
        return std::nullopt;
    return stampOfPath(nativePath);
}

std::optional<FileStamp> StampOfFile(const QString &windowsPath, QString &nativePath) {
    const QString exact = ExactNativePath(windowsPath);
    if (!exact.isEmpty()) {
        bool exists = false;
        const std::optional<FileStamp> stamp = stampOfPath(exact, &exists);
        if (exists) {
            nativePath = exact;
            return stamp;
        }
    }
    nativePath = ToNativePath(windowsPath);
    return StampOfFile(nativePath);
}

namespace {

// Widens Windows-1252 bytes to `out`, one unit per byte.
void widen1252(QByteArrayView bytes, char16_t *out) {
    // 0x80..0x9F are the only bytes where Windows-1252 differs from Latin-1.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    const auto widen = [&](qsizetype i) {
        const unsigned char b = in[i];
        out[i] = b >= 0x80 && b < 0xA0 ? high[b - 0x80] : char16_t(b);
    };
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen bytes widened at a time; pages hold few bytes from 0x80 up, and those are redone.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(chunk, zero));
        if (_mm_movemask_epi8(chunk) != 0)
            for (qsizetype k = i; k < i + 16; ++k)
                widen(k);
    }
#endif
    for (; i < size; ++i)
        widen(i);
}

} // namespace

#if defined(Q_OS_UNIX)
// A search reads hundreds of pages: each costs a look at its path, an open, a stat, a read and a
// close here, and no more. `found`: the caller has just looked (StampOfFile).
bool ReadNativeFile(const QString &native, bool found, PageBuffer<char> &bytes, FileStamp *stamp) {
    if (native.isEmpty())
        return false;
    // Devices, pipes and directories never reach open(): reading them could block or never end.
    if (!found) {
        const std::optional<FileStamp> seen = stampOfPath(native);
        if (!seen || seen->Size > MaxFileSize)
            return false;
    }
    // Not blocking, should a pipe have taken the file's place since the look.
    const int fd = ::open(QFile::encodeName(native).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool regular =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && qint64(info.st_size) <= MaxFileSize;
    if (regular) {
        const auto size = qint64(info.st_size);
        char *const to = bytes.Resize(size);
        qint64 got = 0;
        while (got < size) {
            const ssize_t count = ::read(fd, to + got, size_t(size - got));
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            got += count;
        }
        bytes.Truncate(got);
        if (stamp)
            *stamp = stampOf(info);
    }
    ::close(fd);
    return regular;
}
#else
// Without the system's calls: Qt's look at the file before the open, and again after it.
bool ReadNativeFile(const QString &native, bool, PageBuffer<char> &bytes, FileStamp *stamp) {
    // Devices, pipes and directories never reach open(): reading them could block or never end.
    const std::optional<FileStamp> seen = stampOfPath(native);
    if (native.isEmpty() || !seen || seen->Size > MaxFileSize)
        return false;
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const std::optional<FileStamp> opened = stampOfPath(native);
    if (!opened || opened->Size > MaxFileSize)
        return false;
    if (stamp)
        *stamp = *opened;
    const qint64 got = file.read(bytes.Resize(opened->Size), opened->Size);
    bytes.Truncate(qMax<qint64>(got, 0));
    return true;
}
#endif

std::optional<QByteArray> ReadWholeFile(const QString &windowsPath, FileStamp *stamp) {
    PageBuffer<char> bytes;
    if (!ReadNativeFile(ToNativePath(windowsPath), false, bytes, stamp))
        return std::nullopt;
    return QByteArray(bytes.Data(), bytes.Size());
}

void FromWindows1252(QByteArrayView bytes, PageBuffer<char16_t> &text) {
    widen1252(bytes, text.Resize(bytes.size()));
}

QString FromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    widen1252(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

bool FromUtf8(QByteArrayView bytes, PageBuffer<char16_t> &text) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    auto *const start = reinterpret_cast<QChar *>(text.Resize(utf8.requiredSpace(bytes.size())));
    text.Truncate(utf8.appendToBuffer(start, bytes) - start);
    return !utf8.hasError();
}

void DecodeText(QByteArrayView bytes, PageBuffer<char16_t> &text) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                          : QStringConverter::Utf16BE);
        const QString decoded = utf16(bytes.sliced(2));
        const qsizetype zero = decoded.indexOf(QChar(0));
        CopyInto(QStringView(decoded).first(zero >= 0 ? zero : decoded.size()), text);
        return;
    }
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes = bytes.first(zero);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (!FromUtf8(bytes, text))
        FromWindows1252(bytes, text);
}

QString DecodeText(QByteArrayView bytes) {
    PageBuffer<char16_t> text;
    DecodeText(bytes, text);
    return text.Take();
}

void CopyInto(QStringView from, PageBuffer<char16_t> &to) {
    std::copy(from.utf16(), from.utf16() + from.size(), to.Resize(from.size()));
}

} // namespace platform
