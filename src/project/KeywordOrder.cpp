#include "project/KeywordOrder.h"

#include <QCollator>

namespace project {

int CompareKeywords(const QString &a, const QString &b) {
    static const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b);
}

} // namespace project
