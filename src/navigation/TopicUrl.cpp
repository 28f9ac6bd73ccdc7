#include "navigation/TopicUrl.h"

namespace navigation {

QString MakeTopicURL(const QString &path) {
    QString url = QStringLiteral("file:///") + path.left(1) + u'|' + path.mid(2);
    url.replace(u'\\', u'/');
    return url;
}

QString PageName(const QString &url) {
    return url.mid(url.lastIndexOf(u'/') + 1);
}

bool PassesLengthRule(const QString &topicUrl, LengthRule rule) {
    return rule == LengthRule::AtLeast14 ? topicUrl.size() >= 14 : topicUrl.size() > 14;
}

} // namespace navigation
