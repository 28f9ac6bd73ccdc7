#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Reading a page without a view: what the HTML control makes of a topic URL, as plain text.
// Nothing here touches a widget, so any thread may read pages.
namespace platform {

struct PageLocation {
    QString windowsPath; // "C:\dir\page.htm"; empty when the URL names no file on a drive
    QString fragment;    // after '#', empty when none
};

// "file:///C|/dir/page.htm#frag" -> "C:\dir\page.htm" and "frag".
PageLocation LocatePage(const QString &url);

enum class PageKind { Html, Image, Text, Binary };

// How a file is shown: by its name's suffix, else by a look at its first bytes.
PageKind KindOfPage(const QString &file, QByteArrayView bytes);

// The plain text of the page a topic URL names, as a text-only control gives it: an HTML page's
// text, a text file as it is, nothing for an image, a binary or a file that cannot be read.
// `stamp`, when given, receives the stamp of the file read, or nothing when none was.
QString ReadPageText(const QString &url, std::optional<FileStamp> *stamp = nullptr);

// ReadPageText for page after page, with the same buffers; a search's reader keeps them in huge
// pages. The text read is good until the next read. Not to be shared between threads.
class PageReader {
public:
    explicit PageReader(Pages pages = Pages::Small);
    QStringView Read(const QString &url, std::optional<FileStamp> *stamp = nullptr);
    // The same for a page whose file StampOfFile has just found regular at `nativePath`.
    QStringView ReadFound(const QString &nativePath, std::optional<FileStamp> *stamp = nullptr);

private:
    QStringView read(const QString &nativePath, bool found, std::optional<FileStamp> *stamp);

    PageBuffer<char> bytes;
    PageBuffer<char16_t> html;
    PageBuffer<char16_t> text;
};

// Called with the native path of each page just before ReadPageText opens it, on the reading
// thread. Tests stand in with it for storage that stalls or changes under the reader. Set it
// only while no page is being read.
void SetPageReadObserver(std::function<void(const QString &nativePath)> observer);

} // namespace platform
