#include "pagetext/RandomMarkup.h"

#include <array>
#include <random>

QString RandomMarkup(std::uint32_t seed, int tokens) {
    static constexpr std::array<const char *, 41> elements{
        "p",      "div",    "b",     "i",     "span", "a",  "font", "table",   "tr",
        "td",     "th",     "tbody", "thead", "ul",   "ol", "li",   "dl",      "dt",
        "dd",     "pre",    "br",    "img",   "hr",   "h1", "h3",   "caption", "blockquote",
        "center", "nobr",   "code",  "tt",    "sub",  "x",  "o:p",  "section", "head",
        "title",  "script", "style", "body",  "meta"};
    static constexpr std::array<const char *, 14> texts{
        "word",   "two words",    " ",     "  ",     "\n",        "\t",           " lead", "trail ",
        "&nbsp;", "&nbsp;&nbsp;", "&amp;", "&#160;", "&lt;x&gt;", "\u00e9t\u00e9"};
    static constexpr std::array<const char *, 6> attributes{
        "", " colspan=2", " colspan=\"3\"", " class=x", " title=\"a > b\"", " rowspan=2"};
    std::mt19937 random(seed);
    const auto pick = [&random](auto &list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
    };
    QString html;
    for (int i = 0; i < tokens; ++i) {
        switch (std::uniform_int_distribution<int>(0, 9)(random)) {
        case 0:
        case 1:
        case 2:
            html += QStringLiteral("<%1%2>").arg(QLatin1String(pick(elements)),
                                                 QLatin1String(pick(attributes)));
            break;
        case 3:
        case 4:
            html += QStringLiteral("</%1>").arg(QLatin1String(pick(elements)));
            break;
        case 5:
            html += QStringLiteral("<!-- c -->");
            break;
        default:
            html += QString::fromUtf8(pick(texts));
            break;
        }
    }
    return html;
}
