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

bool IsPlainAscii(const uint8_t *data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 || data[i] >= 0x80)
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
    // Bytes below 0x80 read the same in every encoding the viewer accepts.
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
