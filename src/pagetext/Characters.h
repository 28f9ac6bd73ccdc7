#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The characters the pass treats specially, and quick tests for the common ones.
namespace pagetext {

constexpr char16_t Nbsp = 0x00A0;
constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;
constexpr char16_t ObjectReplacement = 0xFFFC;
// Qt's frame markers; its plain text shows them as line breaks.
constexpr char16_t BeginningOfFrame = 0xFDD0;
constexpr char16_t EndOfFrame = 0xFDD1;

enum AsciiClass : quint8 {
    Blank = 1,    // QChar::isSpace
    Ordinary = 2, // text that needs no thought: not markup, not blank
    WordEnd = 4,  // ends an unquoted word in a tag
    Slash = 8,    // ends an unquoted word when '>' follows
};

constexpr std::array<quint8, 128> AsciiClasses = [] {
    std::array<quint8, 128> classes{};
    for (int c = 0; c < 128; ++c) {
        const bool blank = c == ' ' || (c >= 0x09 && c <= 0x0D);
        classes[c] = blank ? Blank | WordEnd : (c == '<' || c == '&') ? 0 : Ordinary;
    }
    classes['<'] |= WordEnd;
    classes['>'] |= WordEnd;
    classes['='] |= WordEnd;
    classes['/'] |= Slash;
    return classes;
}();

// QChar::isSpace, without a call for the common characters: the Unicode separators (Zs, Zl, Zp)
// plus U+0085, none of which has changed in years.
Q_ALWAYS_INLINE bool isSpace(char16_t c) {
    if (c < 0x80)
        return AsciiClasses[c] & Blank;
    if (c < 0x1680)
        return c == 0x85 || c == Nbsp;
    return c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == LineSeparator ||
           c == ParagraphSeparator || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Characters that need no thought inside text: not markup, not white space, not a frame marker.
Q_ALWAYS_INLINE bool isOrdinary(char16_t c) {
    if (c < 0x80)
        return AsciiClasses[c] & Ordinary;
    return c != BeginningOfFrame && c != EndOfFrame && !isSpace(c);
}

// Copies the printable ASCII at s[i, n) up to the first '<' or '&' (the bulk of a word) to `to`
// and returns where it stopped; the caller has room for every character read. Eight characters
// at a time where SSE2 is there: each chunk is stored whole, and only its good part counted.
Q_ALWAYS_INLINE qsizetype copyPrintableRun(const char16_t *s, qsizetype i, qsizetype n, QChar *to) {
    const auto good = [](char16_t c) { return c > 0x20 && c < 0x7F && c != u'<' && c != u'&'; };
#if defined(__SSE2__)
    const __m128i below = _mm_set1_epi16(0x21);
    const __m128i above = _mm_set1_epi16(0x7E);
    const __m128i less = _mm_set1_epi16(u'<');
    const __m128i ampersand = _mm_set1_epi16(u'&');
    while (i + 8 <= n) {
        // Signed compares: units from 0x8000 up count as below 0x21, and so as bad.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i bad =
            _mm_or_si128(_mm_or_si128(_mm_cmplt_epi16(v, below), _mm_cmpgt_epi16(v, above)),
                         _mm_or_si128(_mm_cmpeq_epi16(v, less), _mm_cmpeq_epi16(v, ampersand)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to), v);
        const unsigned mask = unsigned(_mm_movemask_epi8(bad));
        if (mask != 0) {
            return i + std::countr_zero(mask) / 2;
        }
        i += 8;
        to += 8;
    }
#endif
    while (i < n && good(s[i]))
        *to++ = QChar(s[i++]);
    return i;
}

// Where the ASCII character `c` is first found in s[i, n), or n. Sixteen units at a time where
// SSE2 is there, narrowed to bytes: units past 0xFF saturate, and none of them turns into `c`.
Q_ALWAYS_INLINE qsizetype findUnit(const char16_t *s, qsizetype i, qsizetype n, char16_t c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(char(c));
    for (; i + 16 <= n; i += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + 8));
        const __m128i bytes = _mm_packus_epi16(low, high);
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        if (mask != 0)
            return i + std::countr_zero(mask);
    }
#endif
    while (i < n && s[i] != c)
        ++i;
    return i;
}

inline char16_t lowerChar(char16_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? char16_t(c + ('a' - 'A')) : c;
    return QChar::toLower(c);
}

// Qt lower-cases a tag's name as a whole string, which a unit at a time does not match past
// ASCII: 'İ' becomes "i̇" and letters beyond U+FFFF lower too. Null for an ASCII name.
inline QString lowerNonAsciiName(QStringView name) {
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return name.toString().toLower();
    }
    return {};
}

} // namespace pagetext
