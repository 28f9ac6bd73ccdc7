#pragma once

#include <QIcon>
#include <QString>

namespace platform {

// The resource file of Vellumo's icon rendered at `size` pixels (16, 24, 32, 48 or 64).
QString ProgramIconFile(int size);

// Vellumo's own icon, with a rendering for each size and device pixel ratio a screen asks for.
QIcon ProgramIcon();

} // namespace platform
