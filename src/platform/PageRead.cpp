#include "platform/PageRead.h"

#include "pagetext/PageText.h"
#include "platform/Paths.h"

#include <QFileInfo>
#include <QScopeGuard>

namespace platform {

namespace {

std::function<void(const QString &)> &readObserver() {
    static std::function<void(const QString &)> observer;
    return observer;
}

} // namespace

PageLocation LocatePage(const QString &url) {
    if (!url.startsWith(u"file:", Qt::CaseInsensitive))
        return {};
    QString rest = url.mid(5);
    while (rest.startsWith(u'/') || rest.startsWith(u'\\'))
        rest.remove(0, 1);
    if (rest.size() < 2 || !rest.at(0).isLetter() || (rest.at(1) != u'|' && rest.at(1) != u':'))
        return {};
    QString path = rest.left(1) + u':' + rest.mid(2);
    path.replace(u'/', u'\\');
    PageLocation location{path, {}};
    // A '#' may belong to the file name; only when no such file exists is it a fragment.
    const qsizetype hash = path.lastIndexOf(u'#');
    if (hash >= 0 && !QFileInfo(ToNativePath(path)).isFile()) {
        location.windowsPath = path.left(hash);
        location.fragment = path.mid(hash + 1);
    }
    return location;
}

PageKind KindOfPage(const QString &file, const QByteArray &bytes) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix.startsWith(u"htm") || suffix == u"xhtml" || suffix == u"shtml")
        return PageKind::Html;
    static const QStringList images{
        QStringLiteral("png"), QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
        QStringLiteral("bmp"), QStringLiteral("xpm"), QStringLiteral("ico")};
    if (images.contains(suffix))
        return PageKind::Image;
    const QByteArray head = bytes.left(4096);
    if (head.toLower().contains("<html"))
        return PageKind::Html;
    return head.contains('\0') ? PageKind::Binary : PageKind::Text;
}

QString ReadPageText(const QString &url, std::optional<FileStamp> *stamp) {
    if (stamp)
        stamp->reset();
    const QString windowsPath = LocatePage(url).windowsPath;
    const QString native = ToNativePath(windowsPath);
    if (native.isEmpty())
        return {};
    if (readObserver())
        readObserver()(native);
    // A reading thread keeps its buffers from page to page: fresh ones cost as much in page
    // faults as decoding the page does. What only a huge page needed is let go after it.
    thread_local QByteArray bytes;
    thread_local QString html;
    const auto release = qScopeGuard([] {
        constexpr qsizetype Kept = 8 * 1024 * 1024;
        if (bytes.capacity() > Kept)
            bytes = QByteArray();
        if (html.capacity() > Kept)
            html = QString();
    });
    FileStamp read;
    if (!ReadWholeFile(windowsPath, bytes, &read))
        return {};
    if (stamp)
        *stamp = read;
    switch (KindOfPage(native, bytes)) {
    case PageKind::Html:
        pagetext::DecodeHtml(bytes, html);
        return pagetext::ExtractPlainText(html);
    case PageKind::Text:
        return DecodeText(bytes);
    case PageKind::Image: // an image has no text to search
    case PageKind::Binary:
        break;
    }
    return {};
}

void SetPageReadObserver(std::function<void(const QString &nativePath)> observer) {
    readObserver() = std::move(observer);
}

} // namespace platform
