#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace project {

// The integer in `text`: optional leading spaces, an optional sign, then decimal digits or "$"
// and hexadecimal digits (up to 32 bits, read as a signed 32-bit value). Anything else (empty
// text, trailing spaces, other characters, a value out of 32-bit range) gives nothing.
std::optional<qint32> TryStrToInt(QStringView text);

// As TryStrToInt, but a failure raises platform::EConvertError with the message
// "'<text>' is not a valid integer value (line <line>)".
qint32 StrToInt(const QString &text, int line);

} // namespace project
