#include "reading/Matches.h"

#include "search/LowerCase.h"

#include <vector>

namespace reading {

QList<TextMatch> FindMatches(const QString &text, const QString &phrase, bool caseSensitive) {
    QList<TextMatch> matches;
    if (phrase.isEmpty())
        return matches;
    if (caseSensitive) {
        for (qsizetype at = text.indexOf(phrase); at >= 0;
             at = text.indexOf(phrase, at + phrase.size()))
            matches.append({at, phrase.size()});
        return matches;
    }
    // Lowering may lengthen a character (U+0130 becomes two), so each lowered unit remembers
    // the position of the character it came from.
    QString lowered;
    std::vector<qsizetype> origin;
    lowered.reserve(text.size());
    origin.reserve(size_t(text.size()) + 1);
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        const qsizetype width =
            c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        QString piece = text.mid(i, width);
        search::LowerCase(piece);
        for (const QChar unit : piece) {
            lowered.append(unit);
            origin.push_back(i);
        }
        i += width;
    }
    origin.push_back(text.size());
    QString needle = phrase;
    search::LowerCase(needle);
    for (qsizetype at = lowered.indexOf(needle); at >= 0;
         at = lowered.indexOf(needle, at + needle.size())) {
        const qsizetype start = origin[size_t(at)];
        const qsizetype end = qMax(origin[size_t(at + needle.size())], start + 1);
        matches.append({start, end - start});
    }
    return matches;
}

} // namespace reading
