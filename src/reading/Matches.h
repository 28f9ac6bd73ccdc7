#pragma once

#include <QList>
#include <QString>

namespace reading {

struct TextMatch {
    qsizetype Start = 0;
    qsizetype Length = 0;
    friend bool operator==(const TextMatch &, const TextMatch &) = default;
};

// Every occurrence of `phrase` in `text`, left to right, none overlapping, as a plain substring.
// Without `caseSensitive` both are lowered the way the text search lowers them, so a page the
// search found holds the matches it found; positions are those of `text` as given.
QList<TextMatch> FindMatches(const QString &text, const QString &phrase, bool caseSensitive);

} // namespace reading
