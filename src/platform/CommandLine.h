#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The whole command line as one string, program path included.
QString GetCommandLineA();
void SetCommandLine(const QString &line);

// Elsewhere than Windows: the program path and each argument made absolute against
// `workingDir`, mapped to drive Z: and joined by single spaces.
QString BuildCommandLine(const QStringList &arguments, const QString &workingDir);

} // namespace platform
