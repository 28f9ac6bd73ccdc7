#pragma once

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

// The whole content of a regular file of at most MaxFileSize bytes, read at once. Empty for a
// missing file, a directory, a device or a pipe, an unreadable or a too large file.
std::optional<QByteArray> ReadWholeFile(const QString &windowsPath);

// Text of a file's bytes: UTF-16 when it starts with a UTF-16 byte-order mark; otherwise the
// bytes up to the first zero byte, as UTF-8 when they are valid UTF-8 (a byte-order mark is
// dropped), else as Windows-1252.
QString DecodeText(const QByteArray &bytes);

// Windows-1252 decoding, the code page help projects written on Windows use.
QString FromWindows1252(QByteArrayView bytes);

} // namespace platform
