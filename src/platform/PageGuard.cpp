#include "platform/PageGuard.h"

#include <algorithm>
#include <array>

namespace platform {

namespace {

// Elements that never hold content, or that the parser closes by itself when the next one
// opens: neither makes a page deeper however many of them there are.
bool doesNotNest(QStringView name) {
    static constexpr std::array<std::u16string_view, 27> names{
        u"area",   u"base",  u"br",    u"col",    u"colgroup", u"dd",      u"dt",
        u"embed",  u"hr",    u"img",   u"input",  u"li",       u"link",    u"meta",
        u"option", u"p",     u"param", u"source", u"tbody",    u"td",      u"tfoot",
        u"th",     u"thead", u"tr",    u"track",  u"wbr",      u"!doctype"};
    for (const std::u16string_view candidate : names)
        if (name.compare(QStringView(candidate.data(), qsizetype(candidate.size())),
                         Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'!' || c == u'-';
}

constexpr qsizetype BreakEvery = 500;

} // namespace

PageShape MeasurePage(QStringView html) {
    PageShape shape;
    shape.Length = html.size();
    int tables = 0;
    int depth = 0;
    qsizetype word = 0;
    const qsizetype n = html.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = html[i];
        if (c != u'<') {
            word = c.isSpace() ? 0 : word + 1;
            shape.LongestWord = std::max(shape.LongestWord, word);
            continue;
        }
        word = 0;
        const bool closing = i + 1 < n && html[i + 1] == u'/';
        qsizetype start = i + (closing ? 2 : 1);
        qsizetype end = start;
        while (end < n && isNameChar(html[end]))
            ++end;
        const QStringView name = html.sliced(start, end - start);
        qsizetype close = end;
        while (close < n && html[close] != u'>')
            ++close;
        const bool selfClosing = close > 0 && close < n && html[close - 1] == u'/';
        i = close;
        if (name.isEmpty())
            continue;
        const bool table = name.compare(u"table", Qt::CaseInsensitive) == 0;
        if (closing) {
            tables -= table && tables > 0;
            depth -= !doesNotNest(name) && depth > 0;
            continue;
        }
        if (table)
            shape.TableDepth = std::max(shape.TableDepth, ++tables);
        if (!selfClosing && !doesNotNest(name))
            shape.ElementDepth = std::max(shape.ElementDepth, ++depth);
    }
    return shape;
}

bool TooComplexToLayOut(const PageShape &shape) {
    return shape.TableDepth > MaxTableDepth || shape.ElementDepth > MaxElementDepth ||
           shape.LongestWord > MaxWordLength || shape.Length > MaxPageLength;
}

QString BreakableText(QStringView text) {
    const QStringView kept = text.first(std::min(text.size(), MaxShownText));
    QString out;
    out.reserve(kept.size() + kept.size() / BreakEvery + 1);
    qsizetype run = 0;
    for (const QChar c : kept) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > BreakEvery) {
            out += QChar(0x200B); // a break opportunity that shows nothing
            run = 1;
        }
        out += c;
    }
    return out;
}

QString DegradedPage(QStringView text) {
    return QStringLiteral("<html><body><p><b>This page is too large or too deeply nested to be "
                          "displayed in full. Its text follows.</b></p>"
                          "<pre style=\"white-space: pre-wrap\">%1</pre></body></html>")
        .arg(BreakableText(text).toHtmlEscaped());
}

} // namespace platform
