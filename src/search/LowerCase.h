#pragma once

#include <QString>

namespace search {

// The same text as QString::toLower(), in place, several times faster on the mostly-ASCII
// text of help pages: ASCII letters are lowered directly, anything else as Qt lowers it.
void LowerCase(QString &text);

} // namespace search
