// Differential: the extractor's text of arbitrary markup against the plain text Qt's own
// QTextDocument gives the same markup. They must be equal, character for character, unless the
// extractor says the page's broken tables are beyond a forward pass.
#include "FuzzCheck.h"
#include "pagetext/PageText.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QString>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Qt builds a grid cell for every place a table spans; long pages only make it slower.
    if (size > 4096)
        return 0;
    // The viewer cuts a page at its first NUL (DecodeHtml), for the view and the search alike;
    // past one, Qt reads "&#8\0>" as an entity that swallows the rest.
    const auto *bytes = reinterpret_cast<const char *>(data);
    const QString html = QString::fromUtf8(bytes, qsizetype(strnlen(bytes, size)));
    // Style sheets are Qt's to apply (white-space, display); the extractor reads none. Huge
    // spans make grids of millions of cells, in Qt and in the text alike.
    static const QRegularExpression outOfScope(
        QStringLiteral("style|span\\s*=\\s*['\"]?\\s*[+]?0*[0-9]{3}"),
        QRegularExpression::CaseInsensitiveOption);
    if (html.contains(outOfScope))
        return 0;
    QTextDocument document;
    document.setHtml(html);
    bool exact = false;
    const QString text = pagetext::ExtractPlainText(html, &exact);
    if (exact)
        FUZZ_CHECK(text == document.toPlainText());
    return 0;
}
