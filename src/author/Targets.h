#pragma once

#include <QString>

// How the viewer treats a topic target, for the author's tool to reason with.
namespace author {

// The page a target names, as a key: lower-cased, backslashes made "/", "./" steps and any
// "#fragment" dropped ("Api\.\Index.html#x" -> "api/index.html").
QString PageKey(const QString &target);

// The text after the last "/" or "\"; the whole target when it has neither. This is what the
// viewer compares with a bare target when a page arrives.
QString LastComponent(const QString &target);

// A target with no folder part: the only kind the viewer matches an arriving page against.
bool IsBare(const QString &target);

// Whether the viewer finds the target's page in the help folder `folder` (a native path): the
// exact name first, then ignoring letter case; a "#" starts a fragment unless a file has it.
bool PageExists(const QString &folder, const QString &target);

// The viewer's topic-URL length rule measured from a drive's root folder, the shortest help
// folder there is: a target shorter than this is refused somewhere.
int ShortestTopicUrl(const QString &target);

} // namespace author
