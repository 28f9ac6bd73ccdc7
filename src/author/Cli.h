#pragma once

#include <QStringList>
#include <QTextStream>

namespace author {

// Runs `vlp` with its arguments (the program name first): the commands check, import, new and
// help, and the options --help and --version. Writes to `out` and `err` and returns the exit
// status: 0 done, 1 the project has errors or nothing usable was found, 2 a usage error.
int RunVlp(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace author
