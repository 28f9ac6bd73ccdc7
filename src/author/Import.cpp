#include "author/Import.h"

#include "author/HtmlHelpReader.h"
#include "author/QhpReader.h"
#include "author/Targets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace author {

namespace {

std::optional<QByteArray> readFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// A page reference as the viewer wants it: "/" between folders, no "./" in front, no
// compiled-help prefix ("ms-its:x.chm::/page.htm").
QString pageOf(QString local) {
    const qsizetype inside = local.indexOf(QStringLiteral("::"));
    if (inside >= 0)
        local = local.mid(inside + 2);
    local.replace(u'\\', u'/');
    while (local.startsWith(u'/'))
        local.remove(0, 1);
    while (local.startsWith(u"./"))
        local.remove(0, 2);
    return local.trimmed();
}

// A contents tree read from either format, before it is flattened.
struct TocEntry {
    QString Title;
    QString Page;
    std::vector<TocEntry> Children;
};

TocEntry fromSitemap(const SitemapEntry &entry) {
    TocEntry toc{
        entry.Names.value(0), entry.Locals.isEmpty() ? QString() : pageOf(entry.Locals[0]), {}};
    for (const SitemapEntry &child : entry.Children)
        toc.Children.push_back(fromSitemap(child));
    return toc;
}

TocEntry fromQhp(const QhpSection &section) {
    TocEntry toc{section.Title, pageOf(section.Ref), {}};
    for (const QhpSection &child : section.Children)
        toc.Children.push_back(fromQhp(child));
    return toc;
}

QString firstPage(const TocEntry &entry) {
    if (!entry.Page.isEmpty())
        return entry.Page;
    for (const TocEntry &child : entry.Children) {
        const QString page = firstPage(child);
        if (!page.isEmpty())
            return page;
    }
    return QString();
}

void flatten(const TocEntry &entry, int parent, BuildResult &result) {
    QString page = entry.Page;
    if (page.isEmpty()) {
        page = firstPage(entry);
        if (page.isEmpty()) {
            result.Notes << QStringLiteral(
                                "left out \"%1\": neither it nor its entries have a page")
                                .arg(entry.Title);
            return;
        }
        result.Notes << QStringLiteral("\"%1\" has no page: it opens \"%2\", its first entry's")
                            .arg(entry.Title, page);
    }
    QString title = entry.Title;
    if (title.trimmed().isEmpty())
        title = LastComponent(PageKey(page));
    const int number = static_cast<int>(result.Model.Nodes.size());
    result.Model.Nodes.push_back({title, page, parent});
    for (const TocEntry &child : entry.Children)
        flatten(child, number, result);
}

void buildContents(const std::vector<TocEntry> &toc, const QString &home, BuildResult &result) {
    if (!home.isEmpty() && (toc.empty() || PageKey(firstPage(toc.front())) != PageKey(home))) {
        result.Model.Nodes.push_back({result.Model.Title, pageOf(home), -1});
        result.Notes << QStringLiteral("added the home topic \"%1\" as the first entry").arg(home);
    }
    for (const TocEntry &entry : toc)
        flatten(entry, -1, result);
}

// Index entries of an .hhk: one per keyword and page; a sub-entry's keyword is
// "keyword, sub-keyword"; "See Also" takes the pages of the keyword it names.
void collectKeywords(const std::vector<SitemapEntry> &entries, const QString &prefix,
                     std::vector<IndexEntry> &index,
                     std::vector<std::pair<QString, QString>> &seeAlso) {
    for (const SitemapEntry &entry : entries) {
        const QString own = entry.Keyword.isEmpty() ? entry.Names.value(0) : entry.Keyword;
        const QString keyword = prefix.isEmpty() ? own : prefix + QStringLiteral(", ") + own;
        for (const QString &local : entry.Locals)
            index.push_back({keyword, pageOf(local)});
        if (entry.Locals.isEmpty())
            for (const QString &other : entry.SeeAlso)
                if (other != own)
                    seeAlso.push_back({keyword, other});
        collectKeywords(entry.Children, keyword, index, seeAlso);
    }
}

void buildIndex(const std::vector<SitemapEntry> &entries, BuildResult &result) {
    std::vector<std::pair<QString, QString>> seeAlso;
    collectKeywords(entries, QString(), result.Model.Index, seeAlso);
    QHash<QString, QString> pageOfKeyword;
    for (const IndexEntry &entry : result.Model.Index)
        if (!pageOfKeyword.contains(entry.Keyword))
            pageOfKeyword.insert(entry.Keyword, entry.Target);
    for (const auto &[keyword, other] : seeAlso) {
        if (pageOfKeyword.contains(other)) {
            result.Model.Index.push_back({keyword, pageOfKeyword.value(other)});
            result.Notes << QStringLiteral("\"%1\" (see also \"%2\") opens \"%3\"")
                                .arg(keyword, other, pageOfKeyword.value(other));
        }
    }
}

// Finds `name` in `dir`, ignoring letter case, as HTML Help authors expect.
QString findBeside(const QDir &dir, const QString &name) {
    if (name.isEmpty())
        return QString();
    const QString relative = QString(name).replace(u'\\', u'/');
    if (QFileInfo(dir.filePath(relative)).isFile())
        return dir.filePath(relative);
    for (const QString &entry : dir.entryList(QDir::Files))
        if (entry.compare(relative, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return QString();
}

BuildResult importHtmlHelp(const QFileInfo &source) {
    BuildResult result;
    const QDir dir = source.absoluteDir();
    HhpOptions options;
    QString contentsFile;
    QString indexFile;
    if (source.suffix().compare(u"hhp", Qt::CaseInsensitive) == 0) {
        const auto bytes = readFile(source.absoluteFilePath());
        if (!bytes) {
            result.Failure = QStringLiteral("cannot read %1").arg(source.filePath());
            return result;
        }
        options = ReadHhp(DecodeLegacy(*bytes, 0));
        // The title is in the code page of the project's language, like the other files.
        options.Title = ReadHhp(DecodeLegacy(*bytes, options.Language)).Title;
        contentsFile = findBeside(dir, options.ContentsFile);
        indexFile = findBeside(dir, options.IndexFile);
    } else {
        contentsFile = source.absoluteFilePath();
        indexFile = findBeside(dir, source.completeBaseName() + QStringLiteral(".hhk"));
    }
    std::vector<TocEntry> toc;
    if (!contentsFile.isEmpty()) {
        if (const auto bytes = readFile(contentsFile))
            for (const SitemapEntry &entry : ReadSitemap(DecodeLegacy(*bytes, options.Language)))
                toc.push_back(fromSitemap(entry));
    }
    if (!indexFile.isEmpty()) {
        if (const auto bytes = readFile(indexFile))
            buildIndex(ReadSitemap(DecodeLegacy(*bytes, options.Language)), result);
    }
    result.Model.Title = options.Title;
    if (result.Model.Title.isEmpty())
        result.Model.Title = toc.empty() ? source.completeBaseName() : toc.front().Title;
    buildContents(toc, pageOf(options.DefaultTopic), result);
    return result;
}

BuildResult importQhp(const QFileInfo &source) {
    BuildResult result;
    const auto bytes = readFile(source.absoluteFilePath());
    if (!bytes) {
        result.Failure = QStringLiteral("cannot read %1").arg(source.filePath());
        return result;
    }
    const QhpProject qhp = ReadQhp(*bytes);
    if (!qhp.Error.isEmpty())
        result.Notes << QStringLiteral("%1 is not well-formed (%2); read what came before")
                            .arg(source.fileName(), qhp.Error);
    result.Model.Title = qhp.Title.isEmpty() ? source.completeBaseName() : qhp.Title;
    std::vector<TocEntry> toc;
    for (const QhpSection &section : qhp.Toc)
        toc.push_back(fromQhp(section));
    buildContents(toc, QString(), result);
    for (const QhpKeyword &keyword : qhp.Keywords)
        result.Model.Index.push_back({keyword.Name, pageOf(keyword.Ref)});
    return result;
}

} // namespace

BuildResult ImportProject(const QString &source) {
    const QFileInfo info(source);
    const QString suffix = info.suffix().toLower();
    BuildResult result;
    if (!info.isFile())
        result.Failure = QStringLiteral("%1 not found").arg(source);
    else if (suffix == u"hhp" || suffix == u"hhc")
        result = importHtmlHelp(info);
    else if (suffix == u"qhp")
        result = importQhp(info);
    else
        result.Failure = QStringLiteral("%1 is no .hhp, .hhc or .qhp file").arg(source);
    if (result.Failure.isEmpty() && result.Model.Nodes.empty())
        result.Failure = QStringLiteral("no contents entry with a page in %1").arg(source);
    return result;
}

} // namespace author
