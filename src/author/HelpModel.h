#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace author {

// A help project as the author's tool builds it before writing it out.
struct HelpNode {
    QString Title;
    QString Target;  // page relative to the help folder, "/" between folders
    int Parent = -1; // index of the parent in Nodes, which lists parents first; -1 top level
};

struct IndexEntry {
    QString Keyword;
    QString Target;
};

struct HelpModel {
    QString Title;
    std::vector<HelpNode> Nodes; // in pre-order; the first is the home topic
    std::vector<IndexEntry> Index;
};

// What an import or `vlp new` made, and what it had to change on the way.
struct BuildResult {
    HelpModel Model;
    QStringList Notes; // one line each: what was replaced, re-pointed or left out
    QString Failure;   // set when nothing usable was found
};

} // namespace author
