#include "pagetext/Extractor.h"
#include "pagetext/PageText.h"

#include <string_view>

// The pass's way in: the part of the page Qt imports, and the pass over it.
namespace pagetext {

namespace {

// The first '!' at or after `i` in s[0, n), or n. Every page is scanned whole for it, so 32
// units are looked at a time where SSE2 is there.
qsizetype findBang(const char16_t *s, qsizetype i, qsizetype n) {
#if defined(__SSE2__)
    const __m128i bang = _mm_set1_epi8('!');
    const auto bytes = [&](qsizetype at) {
        return _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + at)),
                                _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + at + 8)));
    };
    for (; i + 32 <= n; i += 32) {
        const __m128i low = _mm_cmpeq_epi8(bytes(i), bang);
        const __m128i high = _mm_cmpeq_epi8(bytes(i + 16), bang);
        if (_mm_movemask_epi8(_mm_or_si128(low, high)) != 0)
            break;
    }
#endif
    return findUnit(s, i, n, u'!');
}

// Where a "<!--" marker first occurs in `text`, or -1. Pages hold few '!' outside comments
// and declarations, so those are looked for.
qsizetype findMarker(QStringView text, std::u16string_view marker) {
    const char16_t *const s = text.utf16();
    const qsizetype n = text.size();
    const auto m = qsizetype(marker.size());
    for (qsizetype at = findBang(s, 1, n); at + m - 1 <= n; at = findBang(s, at + 1, n)) {
        if (std::u16string_view(s + at - 1, m) == marker)
            return at - 1;
    }
    return -1;
}

} // namespace

void ExtractPlainText(QStringView html, platform::PageBuffer<char16_t> &text, bool *exact) {
    // Qt imports only the marked part of clipboard-style HTML.
    const qsizetype start = findMarker(html, u"<!--StartFragment-->");
    if (start >= 0) {
        const qsizetype end = findMarker(html, u"<!--EndFragment-->");
        html = start < end ? html.sliced(start, end - start) : html.sliced(start);
    }
    PlainTextExtractor extractor(html, text);
    extractor.run();
    if (exact)
        *exact = !extractor.beyondForwardPass;
}

QString ExtractPlainText(QStringView html, bool *exact) {
    platform::PageBuffer<char16_t> text;
    ExtractPlainText(html, text, exact);
    return text.Take();
}

} // namespace pagetext
