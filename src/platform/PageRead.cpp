#include "platform/PageRead.h"

#include "pagetext/PageText.h"
#include "platform/Paths.h"

#include <QFileInfo>

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

PageKind KindOfPage(const QString &file, QByteArrayView bytes) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix.startsWith(u"htm") || suffix == u"xhtml" || suffix == u"shtml")
        return PageKind::Html;
    static const QStringList images{
        QStringLiteral("png"), QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
        QStringLiteral("bmp"), QStringLiteral("xpm"), QStringLiteral("ico")};
    if (images.contains(suffix))
        return PageKind::Image;
    const QByteArrayView head = bytes.first(qMin<qsizetype>(bytes.size(), 4096));
    if (head.toByteArray().toLower().contains("<html"))
        return PageKind::Html;
    return head.contains('\0') ? PageKind::Binary : PageKind::Text;
}

PageReader::PageReader(Pages pages) : bytes(pages), html(pages), text(pages) {}

QStringView PageReader::Read(const QString &url, std::optional<FileStamp> *stamp) {
    return read(ToNativePath(LocatePage(url).windowsPath), false, stamp);
}

QStringView PageReader::ReadFound(const QString &nativePath, std::optional<FileStamp> *stamp) {
    return read(nativePath, true, stamp);
}

QStringView PageReader::read(const QString &native, bool found, std::optional<FileStamp> *stamp) {
    if (stamp)
        stamp->reset();
    if (native.isEmpty())
        return {};
    if (readObserver())
        readObserver()(native);
    // What only a huge page needed is let go at the next page (the text read is in use until
    // then).
    constexpr std::size_t Kept = 8 * 1024 * 1024;
    for (PageBuffer<char16_t> *buffer : {&html, &text})
        if (buffer->CapacityBytes() > Kept)
            buffer->Release();
    if (bytes.CapacityBytes() > Kept)
        bytes.Release();
    FileStamp read;
    if (!ReadNativeFile(native, found, bytes, &read))
        return {};
    if (stamp)
        *stamp = read;
    const QByteArrayView content(bytes.Data(), bytes.Size());
    switch (KindOfPage(native, content)) {
    case PageKind::Html:
        pagetext::DecodeHtml(content, html);
        pagetext::ExtractPlainText(QStringView(html.Data(), html.Size()), text);
        return QStringView(text.Data(), text.Size());
    case PageKind::Text:
        DecodeText(content, text);
        return QStringView(text.Data(), text.Size());
    case PageKind::Image: // an image has no text to search
    case PageKind::Binary:
        break;
    }
    return {};
}

QString ReadPageText(const QString &url, std::optional<FileStamp> *stamp) {
    PageReader reader;
    return reader.Read(url, stamp).toString();
}

void SetPageReadObserver(std::function<void(const QString &nativePath)> observer) {
    readObserver() = std::move(observer);
}

} // namespace platform
