#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace app {

// Where the help project is: its file and the directory its pages are relative to.
struct ProjectLocation {
    QString ProjectFileName;
    QString HelpDir; // ends with a backslash
};

using DirectoryLister = std::function<std::optional<QStringList>(const QString &dir)>;

// The command line with the characters that are no path trimmed off: everything before the
// first ASCII letter, and spaces, tabs and double quotes at the end.
QString TrimCommandLine(const QString &line);

// The text from the first character up to and including the last backslash; empty when the
// path holds none.
QString DirectoryPart(const QString &path);

// Chooses the help project from the command line: the last drive-qualified argument, a
// ".vlp" file or a directory to scan, else the program's own directory, scanned with `list`
// for the first entry ending in ".vlp". Nothing when there is no usable place or no such entry.
std::optional<ProjectLocation> DiscoverProject(const QString &commandLine,
                                               const DirectoryLister &list);

} // namespace app
