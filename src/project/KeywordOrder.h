#pragma once

#include <QString>

namespace project {

// The order of the Index list: alphabetical without regard to letter case, by the locale's
// rules. Negative, zero or positive, as a comparison.
int CompareKeywords(const QString &a, const QString &b);

} // namespace project
