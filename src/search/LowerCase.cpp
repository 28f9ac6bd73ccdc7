#include "search/LowerCase.h"

namespace search {

void LowerCase(QString &text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    QChar *data = text.data();
    for (; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c >= 0x80)
            break;
        if (c >= u'A' && c <= u'Z')
            data[i] = QChar(char16_t(c + 32));
    }
    if (i == n)
        return;
    // Past the first other character a lowered character may change length (U+0130 becomes
    // two), so the rest is built anew.
    QString out;
    out.reserve(n + 16);
    out.append(QStringView(text).first(i));
    while (i < n) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80) {
            out.append(QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c));
            ++i;
            continue;
        }
        const qsizetype width =
            (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        out.append(QStringView(text).sliced(i, width).toString().toLower());
        i += width;
    }
    text = std::move(out);
}

} // namespace search
