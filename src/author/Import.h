#pragma once

#include "author/HelpModel.h"

#include <QString>

namespace author {

// Builds a help project from an HTML Help project (.hhp), contents file (.hhc, with the .hhk
// of the same name when there is one) or Qt help project (.qhp). Targets stay relative to the
// source's folder, where the project file is meant to go.
BuildResult ImportProject(const QString &source);

} // namespace author
