#include "pagetext/PageText.h"

#include "platform/FileSystem.h"

#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace pagetext {

namespace {

// A <meta> charset is looked for only this far into the page, as browsers do.
constexpr qsizetype CharsetScanLimit = 2048;

enum class Charset { Unnamed, Other, Utf8, Windows1252 };

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool matchesNoCase(QByteArrayView text, qsizetype at, const char *word) {
    const qsizetype length = qsizetype(std::strlen(word));
    if (at < 0 || at + length > text.size())
        return false;
    for (qsizetype i = 0; i < length; ++i) {
        if (lowerAscii(text[at + i]) != word[i])
            return false;
    }
    return true;
}

Charset charsetOfLabel(QByteArrayView label) {
    QByteArray lower(label.size(), Qt::Uninitialized);
    std::transform(label.begin(), label.end(), lower.begin(), lowerAscii);
    static const char *const utf8[] = {"utf-8", "utf8", "unicode-1-1-utf-8"};
    // Browsers read ISO-8859-1 as Windows-1252: 0x80..0x9F are C1 controls nobody means.
    static const char *const windows1252[] = {
        "windows-1252",    "cp1252",     "x-cp1252", "iso-8859-1",  "iso8859-1",
        "iso_8859-1",      "iso88591",   "latin1",   "latin-1",     "l1",
        "iso_8859-1:1987", "iso-ir-100", "cp819",    "csisolatin1", "ibm819"};
    for (const char *name : utf8) {
        if (lower == name)
            return Charset::Utf8;
    }
    for (const char *name : windows1252) {
        if (lower == name)
            return Charset::Windows1252;
    }
    // Bytes in which '<meta' could be read are not in a 16- or 32-bit encoding, whatever the
    // page claims; browsers ignore that claim too.
    static const char *const wide[] = {"utf-16", "utf-32", "ucs-2", "ucs-4", "unicode"};
    for (const char *prefix : wide) {
        if (lower.startsWith(prefix))
            return Charset::Unnamed;
    }
    return label.isEmpty() ? Charset::Unnamed : Charset::Other;
}

// The charset named by the first <meta> that names one: <meta charset="..."> or
// <meta http-equiv="Content-Type" content="text/html; charset=...">. Comments are skipped.
QByteArrayView metaCharset(QByteArrayView head) {
    const qsizetype size = head.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (head[i] != '<')
            continue;
        if (head.sliced(i).startsWith("<!--")) {
            const qsizetype end = head.indexOf("-->", i + 4);
            if (end < 0)
                return {};
            i = end + 2;
            continue;
        }
        if (!matchesNoCase(head, i + 1, "meta") || i + 5 >= size ||
            !(isAsciiSpace(head[i + 5]) || head[i + 5] == '/'))
            continue;
        qsizetype end = i + 5;
        for (char quote = 0; end < size; ++end) {
            const char c = head[end];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        const QByteArrayView tag = head.sliced(i, end - i);
        for (qsizetype at = 0; at + 7 <= tag.size(); ++at) {
            if (!matchesNoCase(tag, at, "charset"))
                continue;
            qsizetype p = at + 7;
            while (p < tag.size() && isAsciiSpace(tag[p]))
                ++p;
            if (p >= tag.size() || tag[p] != '=')
                continue;
            ++p;
            while (p < tag.size() && (isAsciiSpace(tag[p]) || tag[p] == '"' || tag[p] == '\''))
                ++p;
            const qsizetype from = p;
            while (p < tag.size() &&
                   (std::isalnum(static_cast<unsigned char>(tag[p])) || tag[p] == '-' ||
                    tag[p] == '_' || tag[p] == '.' || tag[p] == ':'))
                ++p;
            if (p > from)
                return tag.sliced(from, p - from);
        }
        i = end;
    }
    return {};
}

// Whether a decoder reads printable ASCII and white space as themselves. A page whose <meta>
// could be read as ASCII is not in UTF-7, EBCDIC, HZ or UTF-16 by another name, whatever its
// label says; such a label is ignored as an unknown one is.
bool keepsAscii(const char *name) {
    static const QByteArray probe = [] {
        QByteArray bytes = "\t\n\f\r";
        for (char c = 0x20; c < 0x7F; ++c)
            bytes += c;
        return bytes;
    }();
    QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
    return decoder.isValid() && QString(decoder(probe)) == QLatin1StringView(probe);
}

} // namespace

void DecodeHtml(QByteArrayView bytes, platform::PageBuffer<char16_t> &text) {
    // A byte-order mark outranks whatever the page says about itself.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
        bytes.startsWith("\xEF\xBB\xBF")) {
        platform::DecodeText(bytes, text);
        return;
    }
    const qsizetype zero = bytes.indexOf('\0');
    const QByteArrayView view = zero >= 0 ? bytes.first(zero) : bytes;
    const QByteArrayView label = metaCharset(view.first(std::min(view.size(), CharsetScanLimit)));
    switch (charsetOfLabel(label)) {
    case Charset::Utf8:
        platform::FromUtf8(view, text);
        return;
    case Charset::Windows1252:
        platform::FromWindows1252(view, text);
        return;
    case Charset::Other: {
        // Any other charset Qt's converters know (through ICU: Windows-1251, KOI8-R,
        // Shift_JIS, GB18030, Big5, ...); a name they do not know is as good as none.
        const QByteArray name = label.toByteArray();
        if (keepsAscii(name.constData())) {
            QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
            platform::CopyInto(QString(decoder(view)), text);
            return;
        }
        break;
    }
    case Charset::Unnamed:
        break;
    }
    platform::DecodeText(bytes, text);
}

QString DecodeHtml(QByteArrayView bytes) {
    platform::PageBuffer<char16_t> text;
    DecodeHtml(bytes, text);
    return text.Take();
}

} // namespace pagetext
