#pragma once

#include <QColor>
#include <QtGlobal>

namespace platform {

// The 32-bit colour of help projects: red in the low byte, then green, then blue. Values with
// the high bit set are system colours (the low byte names the role) and come from the palette.
using TColor = qint32;

QColor TColorToQColor(TColor color);

} // namespace platform
