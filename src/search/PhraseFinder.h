#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>

namespace search {

// Whether a phrase occurs in a page's text, as a plain substring. Without regard to case, the
// answer is that of LowerCase(text).contains(LowerCase(phrase)), found without lowering the
// text: each character is lowered as it is compared. Safe to use from several threads at once.
class PhraseFinder {
public:
    PhraseFinder(const QString &phrase, bool caseSensitive);

    bool FoundIn(QStringView text) const;
    // The same, told LowersCharByChar(text), which a text kept for later searches keeps too.
    bool FoundIn(QStringView text, bool lowersCharByChar) const;
    // The phrase as it is looked for: lowered when the case is ignored.
    const QString &Needle() const { return needle; }

private:
    bool foundFolded(QStringView text) const;

    QString needle;
    bool caseSensitive;
    QStringMatcher matcher;
    // Horspool shifts by the pair of lowered characters that ends the window, in slots of their
    // low six bits each (pairs sharing a slot take the smaller shift, which is safe). Single
    // letters of a phrase of ordinary words are common enough to barely move the window.
    static constexpr int PairSlots = 64 * 64;
    static int pairSlot(char16_t first, char16_t second) {
        return (first & 63) << 6 | (second & 63);
    }
    int pairShift[PairSlots];
};

// Whether lowering `text` character by character gives QString::toLower(): false when it holds
// a character whose lower case is longer (U+0130) or a surrogate.
bool LowersCharByChar(QStringView text);

} // namespace search
