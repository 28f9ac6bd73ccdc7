#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace author {

// One OBJECT of type "text/sitemap" of an HTML Help contents (.hhc) or index (.hhk) file,
// with the entries of the list that follows it.
struct SitemapEntry {
    QStringList Names;  // every "Name" param, in order
    QStringList Locals; // every "Local" param, in order
    QString Keyword;    // the "Keyword" param of an index entry
    QStringList SeeAlso;
    std::vector<SitemapEntry> Children;
};

// Reads the entries of a contents or index file as the producers write it: tag soup rather
// than XML (unclosed LI, any letter case, attributes with or without quotes, params in any
// order, comments). The "text/site properties" object is skipped.
std::vector<SitemapEntry> ReadSitemap(const QString &text);

// The settings of an HTML Help project (.hhp) that an import uses.
struct HhpOptions {
    QString ContentsFile;
    QString IndexFile;
    QString DefaultTopic;
    QString Title;
    int Language = 0; // the locale identifier, 0 when none is given
};

HhpOptions ReadHhp(const QString &text);

// Text of a producer's file: UTF-8 when the bytes are valid UTF-8, otherwise the legacy code
// page that the locale identifier implies (Windows-1252 for none).
QString DecodeLegacy(const QByteArray &bytes, int language);

} // namespace author
