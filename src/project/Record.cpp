#include "project/Record.h"

namespace project {

QString TopicTarget(const QString &entry) {
    const qsizetype at = entry.indexOf(u'@');
    return at < 0 ? entry : entry.mid(at + 1);
}

QString Caption(const QString &entry) {
    const qsizetype at = entry.indexOf(u'@');
    return at < 0 ? QString() : entry.left(at);
}

} // namespace project
