#pragma once

#include <QString>

namespace navigation {

// "C:\Help\intro.htm" -> "file:///C|/Help/intro.htm": the first character, "|", the path from
// its third character on, every backslash made a forward slash; nothing escaped.
QString MakeTopicURL(const QString &path);

// The page name of a URL: the text after its last "/", the whole URL when it has none.
QString PageName(const QString &url);

enum class LengthRule { AtLeast14, MoreThan14 };
bool PassesLengthRule(const QString &topicUrl, LengthRule rule);

} // namespace navigation
