#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace author {

struct QhpSection {
    QString Title;
    QString Ref;
    std::vector<QhpSection> Children;
};

struct QhpKeyword {
    QString Name;
    QString Ref;
};

// What an import takes from a Qt help project (.qhp): the table of contents, the keywords
// (duplicates kept) and a title.
struct QhpProject {
    QString Title; // the only top section's title, else the first custom filter's name
    std::vector<QhpSection> Toc;
    std::vector<QhpKeyword> Keywords;
    QString Error; // the XML error, when the file could not be read to its end
};

QhpProject ReadQhp(const QByteArray &bytes);

} // namespace author
