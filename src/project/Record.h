#pragma once

#include <QString>

// A Contents or Index record's body is "caption@target": a node's title or a keyword, then the
// page it shows.
namespace project {

// The text after an entry's first "@"; the whole entry when it has none.
QString TopicTarget(const QString &entry);

// The text before an entry's first "@" (its title or keyword); empty when it has none.
QString Caption(const QString &entry);

} // namespace project
