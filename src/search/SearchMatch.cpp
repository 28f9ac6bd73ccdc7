#include "search/SearchMatch.h"

#include "project/Record.h"

namespace search {

bool IsCandidatePage(const QString &lowerName) {
    return lowerName.contains(u".htm");
}

PageMatcher::PageMatcher(const QStringList &entries) {
    for (int i = 0; i < entries.size(); ++i) {
        QString target = project::TopicTarget(entries.at(i)).toLower();
        const qsizetype hash = target.indexOf(u'#');
        if (hash >= 0)
            target.truncate(hash);
        if (!firstByTarget.contains(target))
            firstByTarget.insert(target, i); // the first entry naming a page wins
    }
}

int PageMatcher::Find(const QString &lowerName) const {
    return firstByTarget.value(lowerName, -1);
}

} // namespace search
