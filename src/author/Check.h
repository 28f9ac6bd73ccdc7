#pragma once

#include "author/Findings.h"

#include <QByteArray>
#include <QString>

namespace author {

// Checks a help project as the viewer reads it. `path` is a project file or a help folder, in
// which the first entry ending in ".vlp" is taken, as the viewer takes it. Findings name the
// project file as the path given, or as folder/entry.
Findings CheckProject(const QString &path);

// Checks the bytes of a project file `fileName` whose pages lie in `folder` (a native path).
Findings CheckProjectBytes(const QByteArray &bytes, const QString &fileName, const QString &folder);

} // namespace author
