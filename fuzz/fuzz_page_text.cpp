// Decodes arbitrary bytes as an HTML page and extracts its plain text, as the text search does
// for every page of a help folder. Besides crashes it checks what holds for any page.
#include "FuzzCheck.h"
#include "pagetext/PageText.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Printable ASCII and white space: control bytes are not ASCII in Shift_JIS, ISO-2022-JP or
// code page 437, all of which a page may declare.
bool IsPlainAscii(const uint8_t *data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const uint8_t c = data[i];
        if (!((c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\f' || c == '\r'))
            return false;
    }
    return true;
}

// Nothing that makes the text of a page markup, an entity or white space.
bool IsBareText(QStringView text) {
    for (const QChar c : text) {
        if (c == u'<' || c == u'&' || c.isSpace() || c == QChar(0xFDD0) || c == QChar(0xFDD1))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString page = pagetext::DecodeHtml(bytes);
    // Such bytes read the same in every encoding the viewer accepts.
    if (IsPlainAscii(data, size))
        FUZZ_CHECK(page == QString::fromLatin1(bytes));

    // A copy without QString's terminating zero, so that reading past the end is caught.
    const qsizetype n = page.size();
    const auto exact = std::make_unique<char16_t[]>(size_t(n) + (n == 0));
    std::copy(page.utf16(), page.utf16() + n, exact.get());
    const QString text = pagetext::ExtractPlainText(QStringView(exact.get(), n));

    // The view's plain text has no non-breaking spaces, Unicode line or paragraph separators or
    // frame markers: they read as spaces and line breaks.
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        FUZZ_CHECK(u != 0x00A0 && u != 0x2028 && u != 0x2029 && u != 0xFDD0 && u != 0xFDD1);
    }
    if (IsBareText(page))
        FUZZ_CHECK(text == page);
    return 0;
}
