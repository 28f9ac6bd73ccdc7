#include "author/NewProject.h"

#include "pagetext/PageText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace author {

namespace {

struct PageInfo {
    QString Title;
    QStringList Keywords;
};

PageInfo readPage(const QString &path) {
    PageInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info;
    const QString html = pagetext::DecodeHtml(file.read(1024 * 1024));
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    if (const auto match = title.match(html); match.hasMatch())
        info.Title = pagetext::ExtractPlainText(match.captured(1)).simplified();
    static const QRegularExpression meta(QStringLiteral("<meta\\b[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression keywordsName(
        QStringLiteral("name\\s*=\\s*[\"']?keywords[\"'\\s>/]"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression content(
        QStringLiteral("content\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = meta.globalMatch(html); it.hasNext();) {
        const QString tag = it.next().captured(0);
        if (!keywordsName.match(tag).hasMatch())
            continue;
        const auto value = content.match(tag);
        const QString list =
            pagetext::ExtractPlainText(value.captured(1) + value.captured(2) + value.captured(3));
        for (const QString &keyword : list.split(u',', Qt::SkipEmptyParts))
            if (!keyword.simplified().isEmpty())
                info.Keywords << keyword.simplified();
    }
    return info;
}

} // namespace

BuildResult NewProject(const QString &folder) {
    BuildResult result;
    const QDir dir(folder);
    if (!dir.exists()) {
        result.Failure = QStringLiteral("%1 is no folder").arg(folder);
        return result;
    }
    QStringList pages;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (name.toLower().endsWith(u".htm") || name.toLower().endsWith(u".html"))
            pages << name;
    if (pages.isEmpty()) {
        result.Failure = QStringLiteral("no .htm or .html page in %1").arg(folder);
        return result;
    }
    for (const QString &home : {QStringLiteral("index.html"), QStringLiteral("index.htm"),
                                QStringLiteral("default.htm"), QStringLiteral("default.html")}) {
        const qsizetype at = pages.indexOf(QRegularExpression(
            QRegularExpression::anchoredPattern(QRegularExpression::escape(home)),
            QRegularExpression::CaseInsensitiveOption));
        if (at > 0) {
            pages.move(at, 0);
            break;
        }
        if (at == 0)
            break;
    }
    for (const QString &name : pages) {
        PageInfo info = readPage(dir.filePath(name));
        if (info.Title.isEmpty()) {
            info.Title = QFileInfo(name).completeBaseName();
            result.Notes
                << QStringLiteral("%1 has no <title>: titled \"%2\"").arg(name, info.Title);
        }
        if (result.Model.Title.isEmpty())
            result.Model.Title = info.Title;
        result.Model.Nodes.push_back({info.Title, name, -1});
        result.Model.Index.push_back({info.Title, name});
        for (const QString &keyword : info.Keywords)
            result.Model.Index.push_back({keyword, name});
    }
    return result;
}

} // namespace author
