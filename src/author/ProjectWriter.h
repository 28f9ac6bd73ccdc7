#pragma once

#include "author/HelpModel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace author {

// Makes a model fit the format and the viewer: replaces the characters that titles and
// keywords cannot hold, gives every node and keyword a target that opens its own page when the
// viewer follows arriving pages by file name, drops repeated keyword entries and sorts the index as
// the Index list shows it. Returns one note per change.
QStringList PrepareModel(HelpModel &model);

// The project text of a prepared model: UTF-8, CR LF, the 47 settings with the icon file,
// readable fonts and the desktop's colours.
QByteArray ProjectText(const HelpModel &model, const QString &iconFile);

struct WriteSummary {
    int Nodes = 0;
    int Keywords = 0;
    QString Home;
    QStringList Notes;
};

// Prepares the model and writes it to `file` (a native path), never over an existing file
// unless `force`. The icon is the first ".ico" of the folder, or the viewer's own, written
// beside the project. On failure `problem` says why and nothing is written.
WriteSummary WriteProjectFile(HelpModel model, const QString &file, bool force, QString *problem);

} // namespace author
