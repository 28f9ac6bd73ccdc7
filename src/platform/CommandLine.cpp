#include "platform/CommandLine.h"

#include "platform/Paths.h"

#include <QDir>

namespace platform {

namespace {
QString &lineSlot() {
    static QString line;
    return line;
}
} // namespace

QString GetCommandLineA() {
    return lineSlot();
}

void SetCommandLine(const QString &line) {
    lineSlot() = line;
}

QString BuildCommandLine(const QStringList &arguments, const QString &workingDir) {
    QStringList parts;
    const QDir base(workingDir);
    for (const QString &argument : arguments) {
        QString absolute = QDir::cleanPath(base.absoluteFilePath(argument));
        // Keep a trailing separator: it tells a directory argument apart.
        if (argument.endsWith(u'/') && !absolute.endsWith(u'/'))
            absolute += u'/';
        parts << ToWindowsPath(absolute);
    }
    return parts.join(u' ');
}

} // namespace platform
