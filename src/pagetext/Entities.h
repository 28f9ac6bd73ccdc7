#pragma once

#include <QStringView>

namespace pagetext {

// Qt's decoding of "&...;" bodies: a named entity, else a decimal or hexadecimal character
// reference as QStringView::toUInt reads it ("+" and a "0x" prefix included). Returns the number
// of UTF-16 units written to out (0 when the text is not an entity).
int decodeEntity(QStringView body, char16_t out[2]);

} // namespace pagetext
