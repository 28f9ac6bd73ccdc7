#pragma once

#include <QString>

// The viewer works on Windows-form paths everywhere. Elsewhere than Windows the whole file
// system is drive Z: ("/home/ann/help/" is "Z:\home\ann\help\"); these functions map between
// the two forms at each call that reaches the operating system.
namespace platform {

// "/home/ann/x" -> "Z:\home\ann\x" (elsewhere than Windows); on Windows only the separators.
QString ToWindowsPath(const QString &nativePath);

// "Z:\home\ann\x" -> "/home/ann/x". Forward slashes are accepted as separators too. When the
// path does not exist under its exact name, it is looked up again ignoring letter case, one
// component at a time. Gives an empty string for a path that names no place of this system
// (another drive letter, a relative path).
QString ToNativePath(const QString &windowsPath);
// The same path under its exact name, without a look at the file system: what ToNativePath()
// gives whenever that name exists.
QString ExactNativePath(const QString &windowsPath);

} // namespace platform
