#include "app/Discovery.h"

namespace app {

namespace {

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool endsWithProjectExtension(const QString &name) {
    return name.size() >= 4 && name.right(4).toLower() == u".vlp";
}

// "C:\" or "C:\Help\": a drive, its root and any folders below it.
bool isRootedFolder(const QString &dir) {
    return dir.size() >= 3 && dir.at(1) == u':' && dir.at(2) == u'\\' && dir.endsWith(u'\\');
}

} // namespace

QString TrimCommandLine(const QString &line) {
    qsizetype first = 0;
    while (first < line.size() && !isAsciiLetter(line.at(first)))
        ++first;
    qsizetype last = line.size();
    // Only what cannot end a real path goes: a digit, dot or bracket may be the path's own.
    while (last > first &&
           (line.at(last - 1) == u' ' || line.at(last - 1) == u'\t' || line.at(last - 1) == u'"'))
        --last;
    return line.mid(first, last - first);
}

QString DirectoryPart(const QString &path) {
    const qsizetype slash = path.lastIndexOf(u'\\');
    return slash < 0 ? QString() : path.left(slash + 1);
}

std::optional<ProjectLocation> DiscoverProject(const QString &commandLine,
                                               const DirectoryLister &list) {
    const QString line = TrimCommandLine(commandLine);
    const qsizetype colon = line.lastIndexOf(u':');
    if (colon < 1)
        return std::nullopt; // no drive-qualified path anywhere on the line
    const bool argumentPresent = line.mid(2).contains(u':');
    QString path = line.mid(colon - 1);
    ProjectLocation location{path, DirectoryPart(path)};
    const bool projectFile = endsWithProjectExtension(path);
    if (!projectFile) {
        if (!path.endsWith(u'\\'))
            path += u'\\';
        if (argumentPresent)
            location.HelpDir = path;
    }
    // HelpDir must be an absolute folder: pages are found by appending their names to it, and a
    // drive-relative path ("C:help.vlp", a Linux name with a colon) would read the drive's root.
    if (!isRootedFolder(location.HelpDir))
        return std::nullopt;
    if (projectFile)
        return location;

    const std::optional<QStringList> names = list(location.HelpDir);
    if (!names)
        return std::nullopt;
    for (const QString &name : *names) {
        if (endsWithProjectExtension(name)) {
            location.ProjectFileName = location.HelpDir + name;
            return location;
        }
    }
    return std::nullopt;
}

} // namespace app
