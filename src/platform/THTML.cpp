#include "platform/THTML.h"

#include "pagetext/PageText.h"
#include "platform/FileSystem.h"
#include "platform/PageGuard.h"
#include "platform/PageRead.h"
#include "platform/PageZoom.h"
#include "platform/Paths.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>

namespace platform {

namespace {

QString topicUrlOf(const QString &windowsPath, const QString &fragment) {
    QString url = QStringLiteral("file:///") + windowsPath.left(1) + u'|' + windowsPath.mid(2);
    url.replace(u'\\', u'/');
    if (!fragment.isEmpty())
        url += u'#' + fragment;
    return url;
}

QString cssColor(const QColor &color) {
    return color.name(QColor::HexRgb);
}

QString cssFont(const TFont &font) {
    QString css =
        QStringLiteral("font-family: '%1'; color: %2;")
            .arg(QString(font.Name()).remove(u'\''), cssColor(TColorToQColor(font.Color())));
    if (font.Size() > 0 && font.Size() < 1000)
        css += QStringLiteral(" font-size: %1pt;").arg(font.Size());
    css += font.Style().Bold ? QStringLiteral(" font-weight: bold;")
                             : QStringLiteral(" font-weight: normal;");
    css += font.Style().Italic ? QStringLiteral(" font-style: italic;")
                               : QStringLiteral(" font-style: normal;");
    return css;
}

} // namespace

THTML::FontSet THTML::ViewerFonts() {
    const TFontStyles bold{true, false};
    return {
        TFont(QStringLiteral("Arial"), 9.75),        TFont(QStringLiteral("Arial"), 12),
        TFont(QStringLiteral("Arial"), 24, bold),    TFont(QStringLiteral("Arial"), 18, bold),
        TFont(QStringLiteral("Arial"), 14.25, bold), TFont(QStringLiteral("Arial"), 12, bold),
        TFont(QStringLiteral("Arial"), 9.75, bold),  TFont(QStringLiteral("Arial"), 8.25, bold)};
}

THTML::FontSet THTML::ExtractorFonts() {
    const TFontStyles bold{true, false};
    const QString times = QStringLiteral("Times New Roman");
    return {TFont(times, 12),          TFont(QStringLiteral("Courier New"), 9.75),
            TFont(times, 24, bold),    TFont(times, 18, bold),
            TFont(times, 14.25, bold), TFont(times, 12, bold),
            TFont(times, 9.75, bold),  TFont(times, 8.25, bold)};
}

THTML::THTML(QWidget *parent, const FontSet &initialFonts, Mode controlMode)
    : QTextBrowser(parent), mode(controlMode), fonts(initialFonts) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    document()->setUndoRedoEnabled(false); // the page is never edited; zooming needs no undo
    for (TFont &font : fonts)
        font.SetOnChange([this] { restyle(); });
    connect(this, &QTextBrowser::anchorClicked, this, &THTML::followLink);
    restyle();
}

void THTML::RequestDoc(const QString &url) {
    const quint64 request = ++requests;
    if (mode == Mode::TextOnly && source) {
        // A text prepared ahead ends this retrieval when it is ready; one that comes after a
        // newer request is that of a retrieval given up, and changes nothing.
        const bool prepared = source->Fetch(url, [this, url, request](const QString &text) {
            if (request != requests)
                return;
            documentUrl = url;
            pageFile.clear();
            plainText = text;
            emit OnEndRetrieval(this);
        });
        if (prepared)
            return;
    }
    load(url);
    postEndRetrieval();
}

void THTML::SetPageSource(PageSource *pages) {
    source = pages;
}

void THTML::postEndRetrieval() {
    QMetaObject::invokeMethod(
        this, [this] { emit OnEndRetrieval(this); }, Qt::QueuedConnection);
}

void THTML::load(const QString &url) {
    documentUrl = url;
    if (mode == Mode::TextOnly) {
        pageFile.clear(); // nothing is shown, so nothing links or loads from it
        plainText = ReadPageText(url);
        return;
    }
    const PageLocation location = LocatePage(url);
    const QString native = ToNativePath(location.windowsPath);
    const std::optional<QByteArray> bytes =
        native.isEmpty() ? std::nullopt : ReadWholeFile(location.windowsPath);
    if (!bytes) {
        showError(url);
        return;
    }
    pageFile = native;
    const PageKind kind = KindOfPage(native, *bytes);
    if (kind == PageKind::Binary) {
        showError(url); // a program or other binary file is neither shown nor started
        return;
    }
    const QString text = kind == PageKind::Html ? pagetext::DecodeHtml(*bytes) : DecodeText(*bytes);
    document()->setBaseUrl(QUrl::fromLocalFile(native));
    if (kind == PageKind::Image) {
        pageHtml = QStringLiteral("<html><body><img src=\"%1\"></body></html>")
                       .arg(QUrl::fromLocalFile(native).toString().toHtmlEscaped());
    } else if (kind == PageKind::Text) {
        pageHtml = QStringLiteral("<html><body><pre style=\"white-space: pre-wrap\">%1</pre>"
                                  "</body></html>")
                       .arg(BreakableText(text).toHtmlEscaped());
    } else if (TooComplexToLayOut(MeasurePage(text))) {
        pageHtml = DegradedPage(pagetext::ExtractPlainText(text));
    } else {
        pageHtml = text;
    }
    display(pageHtml);
    if (!location.fragment.isEmpty())
        scrollToAnchor(location.fragment);
}

void THTML::showError(const QString &url) {
    pageFile.clear();
    plainText.clear();
    if (mode == Mode::TextOnly)
        return;
    pageHtml = QStringLiteral("<html><body><h2>The page cannot be displayed</h2>"
                              "<p>The page <b>%1</b> could not be found or read.</p>"
                              "</body></html>")
                   .arg(url.toHtmlEscaped());
    document()->setBaseUrl(QUrl());
    display(pageHtml);
}

void THTML::display(const QString &html) {
    setHtml(html);
    ScaleDocument(document(), zoom / 100.0);
    emit PageLaidOut();
}

void THTML::SetZoom(int percent) {
    if (percent == zoom || percent <= 0)
        return;
    zoom = percent;
    if (mode == Mode::TextOnly || pageHtml.isEmpty())
        return;
    // The reader stays at the same place in the page.
    QScrollBar *bar = verticalScrollBar();
    const double at = bar->maximum() > 0 ? double(bar->value()) / bar->maximum() : 0.0;
    display(pageHtml);
    bar->setValue(qRound(at * bar->maximum()));
}

void THTML::wheelEvent(QWheelEvent *event) {
    // QTextEdit would zoom by changing the widget's font, which is the project's body font.
    if (event->modifiers() & Qt::ControlModifier) {
        const int delta = event->angleDelta().y();
        if (delta != 0)
            emit WheelZoom(delta > 0 ? 1 : -1);
        event->accept();
        return;
    }
    QTextBrowser::wheelEvent(event);
}

void THTML::keyPressEvent(QKeyEvent *event) {
    // Plain navigation keys scroll the page, as in a browser; with Shift they select. QTextEdit
    // does both only with keyboard selection on, which would make plain keys move a hidden
    // cursor, so it is on for the selecting keys alone.
    static const QKeySequence::StandardKey selecting[] = {
        QKeySequence::SelectNextChar,        QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord,        QKeySequence::SelectPreviousWord,
        QKeySequence::SelectNextLine,        QKeySequence::SelectPreviousLine,
        QKeySequence::SelectStartOfLine,     QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock,    QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectNextPage,        QKeySequence::SelectPreviousPage,
        QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument};
    const bool selects =
        mode == Mode::View &&
        std::any_of(std::begin(selecting), std::end(selecting),
                    [event](QKeySequence::StandardKey key) { return event->matches(key); });
    if (!selects) {
        QTextBrowser::keyPressEvent(event);
        return;
    }
    // A new selection starts where the reader is looking, not where the page was last clicked:
    // at the first line wholly in view, so that the view stays where it is.
    if (!textCursor().hasSelection() && !viewport()->rect().intersects(cursorRect())) {
        QTextCursor first = cursorForPosition(QPoint(0, 0));
        if (cursorRect(first).top() < 0)
            first.movePosition(QTextCursor::Down);
        first.movePosition(QTextCursor::StartOfLine);
        setTextCursor(first);
    }
    const Qt::TextInteractionFlags flags = textInteractionFlags();
    setTextInteractionFlags(flags | Qt::TextSelectableByKeyboard);
    QTextBrowser::keyPressEvent(event);
    setTextInteractionFlags(flags);
}

void THTML::followLink(const QUrl &link) {
    const QString scheme = link.scheme().toLower();
    if (scheme == u"http" || scheme == u"https" || scheme == u"mailto") {
        QDesktopServices::openUrl(link);
        return;
    }
    // A one-letter scheme is a Windows drive ("C:\page.htm" written as a link).
    const bool drive = scheme.size() == 1;
    if (!scheme.isEmpty() && scheme != u"file" && !drive)
        return; // javascript:, data:, ms-its:, smb: ... are never opened
    if (scheme.isEmpty() && link.path().isEmpty()) {
        if (link.hasFragment())
            scrollToAnchor(link.fragment());
        return;
    }
    QString windowsPath;
    if (drive) {
        windowsPath = link.toString(QUrl::FullyDecoded);
    } else {
        const QUrl base = QUrl::fromLocalFile(pageFile.isEmpty() ? QStringLiteral("/") : pageFile);
        const QUrl target = base.resolved(link);
        if (!target.isLocalFile() || !target.host().isEmpty())
            return; // a file link to another machine (file://server/share) is not followed
        windowsPath = ToWindowsPath(target.toLocalFile());
    }
    load(topicUrlOf(windowsPath, link.fragment(QUrl::FullyDecoded)));
    postEndRetrieval();
}

QVariant THTML::loadResource(int type, const QUrl &name) {
    // Only local files, relative to the page, are ever read: nothing goes to the network.
    QUrl url = name;
    if (url.isRelative())
        url = QUrl::fromLocalFile(pageFile).resolved(name);
    if (!url.isLocalFile() || !url.host().isEmpty())
        return {};
    const std::optional<QByteArray> bytes = ReadWholeFile(ToWindowsPath(url.toLocalFile()));
    if (!bytes)
        return {};
    if (type == QTextDocument::StyleSheetResource || type == QTextDocument::HtmlResource)
        return DecodeText(*bytes);
    return *bytes;
}

QString THTML::GetPlainText(quint16, quint16) const {
    return mode == Mode::TextOnly ? plainText : document()->toPlainText();
}

QString THTML::GetWideStringProp(int index) const {
    return index == PropDocumentUrl ? documentUrl : QString();
}

TFont *THTML::GetTFontProp(int index) {
    if (index == FontBody)
        return &fonts[0];
    if (index >= 28 && index <= 33)
        return &fonts[index - 28 + 2];
    return nullptr;
}

void THTML::SetTColorProp(int index, TColor color) {
    colors[index] = color;
    restyle();
}

TColor THTML::GetTColorProp(int index, TColor fallback) const {
    const auto it = colors.find(index);
    return it == colors.end() ? fallback : it->second;
}

QString THTML::styleSheet() const {
    QString css = QStringLiteral("body { %1 }\n").arg(cssFont(fonts[0]));
    if (colors.count(ColorText))
        css += QStringLiteral("body { color: %1; }\n")
                   .arg(cssColor(TColorToQColor(colors.at(ColorText))));
    css += QStringLiteral("pre, code, tt, kbd, samp { %1 }\n").arg(cssFont(fonts[1]));
    for (int level = 1; level <= 6; ++level)
        css += QStringLiteral("h%1 { %2 }\n").arg(level).arg(cssFont(fonts[level + 1]));
    if (colors.count(ColorLink))
        css += QStringLiteral("a { color: %1; }\n")
                   .arg(cssColor(TColorToQColor(colors.at(ColorLink))));
    return css;
}

void THTML::restyle() {
    if (mode == Mode::TextOnly)
        return; // nothing is laid out, so fonts and colours change nothing
    QPalette pal = palette();
    if (colors.count(ColorBackground))
        pal.setColor(QPalette::Base, TColorToQColor(colors.at(ColorBackground)));
    const TColor text = colors.count(ColorText) ? colors.at(ColorText) : fonts[0].Color();
    pal.setColor(QPalette::Text, TColorToQColor(text));
    if (colors.count(ColorLink))
        pal.setColor(QPalette::Link, TColorToQColor(colors.at(ColorLink)));
    if (colors.count(ColorVisitedLink))
        pal.setColor(QPalette::LinkVisited, TColorToQColor(colors.at(ColorVisitedLink)));
    setPalette(pal);
    document()->setDefaultFont(fonts[0].ToQFont());
    document()->setDefaultStyleSheet(styleSheet());
    if (!pageHtml.isEmpty()) {
        const int scroll = verticalScrollBar()->value();
        display(pageHtml);
        verticalScrollBar()->setValue(scroll);
    }
}

} // namespace platform
