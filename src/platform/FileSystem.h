#pragma once

#include "platform/PageBuffer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Largest file the viewer reads; anything bigger is refused like a missing file.
inline constexpr qint64 MaxFileSize = 32 * 1024 * 1024;

// Every entry name of a directory (files and subdirectories alike, hidden ones, "." and ".."
// included) in the order the file system lists them. Empty when the directory does not exist,
// cannot be listed or lists nothing.
std::optional<QStringList> ListDirectory(const QString &windowsDir);

// What tells one version of a file from another without reading it: a file edited in place
// changes its time, one replaced by another keeps neither its inode nor, mostly, its time.
struct FileStamp {
    qint64 Size = 0;
    qint64 ModifiedNs = 0; // modification time, in nanoseconds since the epoch
    quint64 Inode = 0;
    quint64 Device = 0;
    bool operator==(const FileStamp &) const = default;
};

// The stamp of a regular file (links followed); empty for anything else or nothing.
std::optional<FileStamp> StampOfFile(const QString &nativePath);
// StampOfFile(ToNativePath(windowsPath)), with ToNativePath(windowsPath) in `nativePath`: one
// look at the file system when the path exists under its exact name.
std::optional<FileStamp> StampOfFile(const QString &windowsPath, QString &nativePath);

// The whole content of a regular file of at most MaxFileSize bytes, read at once. Empty for a
// missing file, a directory, a device or a pipe, an unreadable or a too large file. `stamp`,
// when given, receives the stamp of the file as it was opened.
std::optional<QByteArray> ReadWholeFile(const QString &windowsPath, FileStamp *stamp = nullptr);
// The same into `bytes`, for the file at `nativePath` (see ToNativePath); false when nothing is
// read. `found`: StampOfFile has just found it a regular file there, so the path is not looked
// at again before the open (what was opened is checked all the same).
bool ReadNativeFile(const QString &nativePath, bool found, PageBuffer<char> &bytes,
                    FileStamp *stamp = nullptr);

// Text of a file's bytes: UTF-16 when it starts with a UTF-16 byte-order mark; otherwise the
// bytes up to the first zero byte, as UTF-8 when they are valid UTF-8 (a byte-order mark is
// dropped), else as Windows-1252.
QString DecodeText(QByteArrayView bytes);
void DecodeText(QByteArrayView bytes, PageBuffer<char16_t> &text);

// Windows-1252 decoding, the code page help projects written on Windows use.
QString FromWindows1252(QByteArrayView bytes);
void FromWindows1252(QByteArrayView bytes, PageBuffer<char16_t> &text);

// UTF-8 decoding into `text`, malformed sequences replaced; false when there were any.
bool FromUtf8(QByteArrayView bytes, PageBuffer<char16_t> &text);

// `to` made a copy of `from`.
void CopyInto(QStringView from, PageBuffer<char16_t> &to);

} // namespace platform
