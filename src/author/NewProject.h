#pragma once

#include "author/HelpModel.h"

#include <QString>

namespace author {

// A starter project for a folder of HTML pages: one top-level entry per page of the folder,
// titled by its <title>, the home page (index.html or default.htm, else the first by name)
// first; an index made of the titles and of each page's <meta name="keywords">.
BuildResult NewProject(const QString &folder);

} // namespace author
