#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace search {

// A directory entry is a candidate page when its lower-cased name contains ".htm" anywhere.
bool IsCandidatePage(const QString &lowerName);

// Finds, for a page's lower-cased file name, the first node target entry whose topic target,
// lower-cased and without any "#fragment", is that name.
class PageMatcher {
public:
    explicit PageMatcher(const QStringList &entries);
    // The entry's position, or -1 when no entry names the page.
    int Find(const QString &lowerName) const;

private:
    QHash<QString, int> firstByTarget;
};

} // namespace search
