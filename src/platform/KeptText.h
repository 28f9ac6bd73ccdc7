#pragma once

#include <QString>
#include <QStringView>

namespace platform {

// A copy of `text` made to be kept, as the search keeps every page's text between searches.
// Copies made on one thread are laid one after another in large blocks backed by huge pages:
// a first search keeps megabytes of fresh text, and a trap for every 4 KB of it cost as much as
// extracting the text. Each copy is an ordinary QString that shares its block, which goes when
// its last text goes.
QString KeepText(QStringView text);

} // namespace platform
