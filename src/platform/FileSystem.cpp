#include "platform/FileSystem.h"

#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace platform {

std::optional<QStringList> ListDirectory(const QString &windowsDir) {
    const QString native = ToNativePath(windowsDir.isEmpty() ? QStringLiteral(".") : windowsDir);
    const QString dir = windowsDir.isEmpty() ? QStringLiteral(".") : native;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return std::nullopt;
    // readdir() as it is: QDirIterator made a file information object of every entry, which
    // cost a search of a large folder more than checking its pages.
    DIR *stream = ::opendir(QFile::encodeName(dir).constData());
    if (!stream)
        return std::nullopt;
    QStringList names;
    while (const dirent *entry = ::readdir(stream))
        names << QFile::decodeName(entry->d_name);
    ::closedir(stream);
    if (names.isEmpty())
        return std::nullopt;
    return names;
}

namespace {

FileStamp stampOf(const struct stat &info) {
    FileStamp stamp;
    stamp.Size = qint64(info.st_size);
    stamp.ModifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + qint64(info.st_mtim.tv_nsec);
    stamp.Inode = quint64(info.st_ino);
    stamp.Device = quint64(info.st_dev);
    return stamp;
}

} // namespace

std::optional<FileStamp> StampOfFile(const QString &nativePath) {
    struct stat info {};
    if (nativePath.isEmpty() || ::stat(QFile::encodeName(nativePath).constData(), &info) != 0 ||
        !S_ISREG(info.st_mode))
        return std::nullopt;
    return stampOf(info);
}

std::optional<FileStamp> StampOfFile(const QString &windowsPath, QString &nativePath) {
    const QString exact = ExactNativePath(windowsPath);
    struct stat info {};
    if (!exact.isEmpty() && ::stat(QFile::encodeName(exact).constData(), &info) == 0) {
        nativePath = exact;
        return S_ISREG(info.st_mode) ? std::optional(stampOf(info)) : std::nullopt;
    }
    nativePath = ToNativePath(windowsPath);
    return StampOfFile(nativePath);
}

std::optional<QByteArray> ReadWholeFile(const QString &windowsPath, FileStamp *stamp) {
    const QString native = ToNativePath(windowsPath);
    if (native.isEmpty())
        return std::nullopt;
    const QFileInfo info(native);
    // Devices, pipes and directories never reach open(): reading them could block or never end.
    if (!info.isFile() || info.size() > MaxFileSize)
        return std::nullopt;
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    // The open file's own stamp: a file swapped in between the checks above and the open is
    // still described truly.
    struct stat opened {};
    if (::fstat(file.handle(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return std::nullopt;
    const qint64 size = qint64(opened.st_size);
    if (size > MaxFileSize)
        return std::nullopt;
    if (stamp)
        *stamp = stampOf(opened);
    QByteArray buffer(size, '\0');
    const qint64 got = file.read(buffer.data(), size);
    buffer.truncate(qMax<qint64>(got, 0));
    return buffer;
}

QString FromWindows1252(QByteArrayView bytes) {
    // 0x80..0x9F are the only bytes where Windows-1252 differs from Latin-1.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    // Qt widens Latin-1 fast; pages hold few of the other bytes, looked for eight at a time.
    QString text = QString::fromLatin1(bytes);
    const char *const data = bytes.data();
    const qsizetype size = bytes.size();
    QChar *out = nullptr;
    const auto fix = [&](qsizetype i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b < 0xA0) {
            if (!out)
                out = text.data();
            out[i] = QChar(high[b - 0x80]);
        }
    };
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, sizeof word);
        if (word & 0x8080808080808080ULL) {
            for (qsizetype k = i; k < i + 8; ++k)
                fix(k);
        }
    }
    for (; i < size; ++i)
        fix(i);
    return text;
}

QString DecodeText(const QByteArray &bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                          : QStringConverter::Utf16BE);
        QString text = utf16(QByteArrayView(bytes).sliced(2));
        const qsizetype zero = text.indexOf(QChar(0));
        return zero < 0 ? text : text.left(zero);
    }
    QByteArrayView view(bytes);
    const qsizetype zero = view.indexOf('\0');
    if (zero >= 0)
        view = view.first(zero);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(view);
    if (!utf8.hasError())
        return text;
    return FromWindows1252(view);
}

} // namespace platform
