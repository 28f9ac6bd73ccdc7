#include "search/PhraseFinder.h"

#include "search/LowerCase.h"

#include <algorithm>

namespace search {

namespace {

// The lower case of every character of the basic plane, one character each. Exact for all but
// U+0130 and the surrogates, which LowersCharByChar() keeps away from it.
const char16_t *lowerTable() {
    static const char16_t *const table = [] {
        auto *t = new char16_t[0x10000];
        for (char32_t c = 0; c < 0x10000; ++c)
            t[c] = QChar::toLower(c);
        return t;
    }();
    return table;
}

} // namespace

bool LowersCharByChar(QStringView text) {
    // Branch-free over blocks, so that the common answer (yes) costs little more than a read.
    const auto *p = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i + 32 <= n; i += 32) {
        unsigned odd = 0;
        for (int k = 0; k < 32; ++k) {
            const char16_t c = p[i + k];
            odd |= unsigned(char16_t(c - 0xD800) < 0x800) | unsigned(c == 0x130);
        }
        if (odd)
            return false;
    }
    for (; i < n; ++i)
        if (char16_t(p[i] - 0xD800) < 0x800 || p[i] == 0x130)
            return false;
    return true;
}

PhraseFinder::PhraseFinder(const QString &phrase, bool caseSensitive)
    : needle(phrase), caseSensitive(caseSensitive) {
    if (!caseSensitive)
        LowerCase(needle);
    matcher.setPattern(needle);
    const qsizetype m = needle.size();
    std::fill(std::begin(pairShift), std::end(pairShift), int(std::max<qsizetype>(m - 1, 1)));
    // Later pairs come nearer the end: each shift set is the smallest for its slot so far.
    for (qsizetype k = 1; k < m; ++k)
        pairShift[pairSlot(needle.at(k - 1).unicode(), needle.at(k).unicode())] = int(m - 1 - k);
}

bool PhraseFinder::FoundIn(QStringView text) const {
    return FoundIn(text, !caseSensitive && !needle.isEmpty() && LowersCharByChar(text));
}

bool PhraseFinder::FoundIn(QStringView text, bool lowersCharByChar) const {
    if (needle.isEmpty())
        return true;
    if (caseSensitive)
        return matcher.indexIn(text) >= 0;
    if (!lowersCharByChar) {
        QString lowered = text.toString();
        LowerCase(lowered);
        return matcher.indexIn(lowered) >= 0;
    }
    return foundFolded(text);
}

bool PhraseFinder::foundFolded(QStringView text) const {
    // Horspool over the text as lowered: a character of the text matches a character of the
    // needle when it lowers to it.
    const char16_t *lower = lowerTable();
    const auto *t = reinterpret_cast<const char16_t *>(text.utf16());
    const auto *needleData = reinterpret_cast<const char16_t *>(needle.utf16());
    const qsizetype m = needle.size();
    const qsizetype n = text.size();
    if (m == 1) {
        for (qsizetype i = 0; i < n; ++i)
            if (lower[t[i]] == needleData[0])
                return true;
        return false;
    }
    for (qsizetype i = m - 1; i < n;) {
        const qsizetype shift = pairShift[pairSlot(lower[t[i - 1]], lower[t[i]])];
        if (shift > 0) {
            i += shift;
            continue;
        }
        const char16_t *at = t + i - (m - 1);
        qsizetype k = m - 1;
        while (k >= 0 && lower[at[k]] == needleData[k])
            --k;
        if (k < 0)
            return true;
        ++i;
    }
    return false;
}

} // namespace search
