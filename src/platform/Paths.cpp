#include "platform/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace platform {

#ifdef Q_OS_WIN

QString ToWindowsPath(const QString &nativePath) {
    return QDir::toNativeSeparators(nativePath);
}

QString ToNativePath(const QString &windowsPath) {
    if (windowsPath.size() < 2 || windowsPath.at(1) != u':')
        return {};
    return QDir::fromNativeSeparators(windowsPath);
}

QString ExactNativePath(const QString &windowsPath) {
    return ToNativePath(windowsPath);
}

#else

QString ToWindowsPath(const QString &nativePath) {
    QString path = nativePath;
    path.replace(u'/', u'\\');
    return QStringLiteral("Z:") + path;
}

namespace {

// Finds `name` in `dir` ignoring letter case; empty when there is no such entry.
QString findIgnoringCase(const QString &dir, const QString &name) {
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return it.fileName();
    }
    return {};
}

QString resolveIgnoringCase(const QString &exact) {
    const QStringList parts = exact.split(u'/');
    QString resolved;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const QString parent = resolved.isEmpty() ? QStringLiteral("/") : resolved;
        QString next = resolved + u'/' + part;
        if (part.isEmpty() || part == u"." || part == u".." || QFileInfo::exists(next)) {
            resolved = next;
            continue;
        }
        const QString found = findIgnoringCase(parent, part);
        if (found.isEmpty())
            return exact;
        resolved += u'/' + found;
    }
    return resolved;
}

} // namespace

QString ExactNativePath(const QString &windowsPath) {
    if (windowsPath.size() < 2 || windowsPath.at(1) != u':' || windowsPath.at(0).toUpper() != u'Z')
        return {};
    QString path = windowsPath.mid(2);
    path.replace(u'\\', u'/');
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    return path;
}

QString ToNativePath(const QString &windowsPath) {
    const QString path = ExactNativePath(windowsPath);
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    return resolveIgnoringCase(path);
}

#endif

} // namespace platform
