#include "project/StrToInt.h"

#include "platform/Exception.h"

namespace project {

namespace {

int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<qint32> TryStrToInt(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i < n && text[i] == u'$') {
        ++i;
        if (i == n)
            return std::nullopt;
        // Hex values are bit patterns (colours with the system bit set), so they fill all 32
        // bits and are then taken as signed; leading zeros do not count towards the 8 digits.
        quint32 value = 0;
        for (; i < n; ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0 || value > 0x0FFFFFFFu)
                return std::nullopt;
            value = (value << 4) | quint32(digit);
        }
        if (negative)
            value = 0u - value;
        return static_cast<qint32>(value);
    }
    if (i == n)
        return std::nullopt;
    // Accumulate the magnitude in 64 bits and stop as soon as it leaves the 32-bit range, so
    // long runs of digits cannot overflow the accumulator.
    const qint64 limit = negative ? 2147483648LL : 2147483647LL;
    qint64 magnitude = 0;
    for (; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (u - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<qint32>(negative ? -magnitude : magnitude);
}

qint32 StrToInt(const QString &text, int line) {
    if (const auto value = TryStrToInt(text))
        return *value;
    // One-pass arg(): a "%1" inside the quoted text must not be substituted again.
    throw platform::EConvertError(QStringLiteral("'%1' is not a valid integer value (line %2)")
                                      .arg(text, QString::number(line)));
}

} // namespace project
