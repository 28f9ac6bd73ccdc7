#include "author/Check.h"

#include "author/Targets.h"
#include "platform/Exception.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/Appearance.h"
#include "project/KeywordOrder.h"
#include "project/ProjectReader.h"
#include "project/Record.h"
#include "project/StrToInt.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace author {

namespace {

struct ContentsEntry {
    QString Body;
    QString Type;
    int Parent = 0;
    int Line = 1;
};

struct IndexEntry {
    QString Body;
    int Line = 1;
};

// Collects what the viewer's own reader hands on, with the lines it stands on.
class Collector : public project::ProjectSink {
public:
    void RecordLine(int line) override { nextLine = line; }
    void ContentsRecord(const QString &body, const QString &type, int parent) override {
        Contents.push_back({body, type, parent, nextLine});
    }
    void ContentsEnd() override { InSettings = true; }
    void Setting(int k, const QString &value, int line) override {
        Values[static_cast<size_t>(k - 1)] = value;
        Lines[static_cast<size_t>(k - 1)] = line;
        Appearance.Store(k, value, line);
    }
    void IndexRecord(const QString &body) override { Index.push_back({body, nextLine}); }

    std::vector<ContentsEntry> Contents;
    std::vector<IndexEntry> Index;
    std::array<QString, 47> Values;
    std::array<int, 47> Lines{};
    project::AppearanceSettings Appearance;
    bool InSettings = false;

private:
    int nextLine = 1;
};

class Checker {
public:
    Checker(const QString &fileName, const QString &folder) : fileName(fileName), folder(folder) {}

    void Run(const QByteArray &bytes);
    Findings Result;

private:
    void add(Severity level, int line, const QString &message) {
        Result.push_back({fileName, line, level, message});
    }
    void warn(int line, const QString &message) { add(Severity::Warning, line, message); }
    void error(int line, const QString &message) { add(Severity::Error, line, message); }

    void checkEncoding(const QByteArray &bytes);
    bool checkLayout();
    void checkSplitCharacters(int lineNumber, const QString &line);
    void checkLateRecords();
    void checkContents();
    void checkUnlistedPages();
    void checkSettings();
    void checkIndex();
    static bool makesNode(const ContentsEntry &entry) {
        return entry.Type == u"R" || entry.Type == u"F" || entry.Type == u"P";
    }
    // The last line that holds anything.
    int lastLine() const {
        qsizetype line = lines.size();
        while (line > 1 && lines[line - 1].isEmpty())
            --line;
        return static_cast<int>(line);
    }
    int lineOf(qsizetype pos) const { return static_cast<int>(text.left(pos).count(u'\n')) + 1; }

    QString fileName;
    QString folder;
    QString text;
    QStringList lines;
    Collector records;
    bool complete = false; // the reader got through
    int contentsEndLine = 1;
    QHash<QString, int> bareByName;  // bare Contents targets, lower-cased: their first line
    QHash<QString, QString> bareKey; // and their pages
};

// A line that starts as a Contents record does: "[number,type,parent]".
bool looksLikeContentsRecord(const QString &text) {
    static const QRegularExpression header(QStringLiteral("^\\s*\\[\\d+,[RFP],\\d+\\]"));
    return header.match(text).hasMatch();
}

void Checker::checkEncoding(const QByteArray &bytes) {
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return;
    const qsizetype bad = decoded.indexOf(QChar::ReplacementCharacter);
    warn(static_cast<int>(decoded.left(std::max<qsizetype>(bad, 0)).count(u'\n')) + 1,
         QStringLiteral("bytes that are not valid UTF-8: the viewer reads the whole file as "
                        "Windows-1252"));
}

// Finds the section marks; returns false when the settings section is missing or short, so
// that the conversion error it leads to is not reported again.
bool Checker::checkLayout() {
    const qsizetype caret = text.indexOf(u'^');
    const QStringList contents = text.left(caret < 0 ? text.size() : caret).split(u'\n');
    for (qsizetype i = 0; i < contents.size(); ++i)
        checkSplitCharacters(static_cast<int>(i) + 1, contents[i]);
    if (caret < 0) {
        error(lastLine(),
              QStringLiteral("no \"^\" ends the contents section: the viewer reads no settings"));
        return false;
    }
    contentsEndLine = lineOf(caret);
    if (lines.value(contentsEndLine - 1).trimmed() != u"^")
        warn(contentsEndLine, QStringLiteral("\"^\" inside a record ends the contents section "
                                             "here: the records after it are not read"));
    // Settings values stand one per line, each ending in "*".
    int values = 0;
    int line = contentsEndLine + 1;
    while (line <= lines.size() && values < 47 &&
           QStringView(lines[line - 1]).trimmed().endsWith(u'*')) {
        ++values;
        ++line;
    }
    if (values < 47) {
        error(
            std::min<int>(line, static_cast<int>(lines.size())),
            QStringLiteral("the settings section has %1 values; the viewer reads 47").arg(values));
        return false;
    }
    // The index section starts after the separator line that follows value 47.
    qsizetype indexStart = 0;
    for (int i = 0; i < line && indexStart >= 0; ++i)
        indexStart = text.indexOf(u'\n', indexStart) + 1;
    const qsizetype percent = indexStart <= 0 ? -1 : text.indexOf(u'%', indexStart);
    if (percent < 0) {
        error(lastLine(), QStringLiteral("no \"%\" ends the index section"));
        return true;
    }
    if (!text.mid(percent + 1).trimmed().isEmpty())
        warn(lineOf(percent), QStringLiteral("text after the \"%\" is ignored"));
    const qsizetype from = std::max(indexStart, text.lastIndexOf(u'*', percent) + 1);
    if (!text.mid(from, percent - from).trimmed().isEmpty())
        warn(lineOf(percent), QStringLiteral("an index record without \"*\" is ignored"));
    return true;
}

// A record's title and target cannot hold the characters the reader splits a record on:
// "*" ends it, "[" starts a header, "]" is dropped and the title ends at the first "@".
void Checker::checkSplitCharacters(int lineNumber, const QString &line) {
    QSet<QChar> reported;
    const auto report = [&](QChar c, const QString &what) {
        if (!reported.contains(c))
            warn(lineNumber, QStringLiteral("a title or target with \"%1\", which the reader "
                                            "splits on: %2")
                                 .arg(c)
                                 .arg(what));
        reported.insert(c);
    };
    bool afterStar = false;
    for (qsizetype pos = 0; pos < line.size();) {
        qsizetype end = line.indexOf(u'*', pos);
        if (end < 0)
            end = line.size();
        const QString piece = line.mid(pos, end - pos).trimmed();
        QString body = piece;
        if (piece.startsWith(u'[')) {
            const qsizetype close = piece.indexOf(u']');
            body = close < 0 ? QString() : piece.mid(close + 1);
        } else if (afterStar && !piece.isEmpty()) {
            report(u'*', QStringLiteral("the record ends there and the rest of the line makes "
                                        "another node"));
        }
        if (body.contains(u'['))
            report(u'[', QStringLiteral("it starts a record header"));
        if (body.contains(u']'))
            report(u']', QStringLiteral("it is dropped"));
        if (body.count(u'@') > 1 && !PageExists(folder, project::TopicTarget(body)))
            report(u'@', QStringLiteral("the node is titled \"%1\" and opens \"%2\"")
                             .arg(project::Caption(body), project::TopicTarget(body)));
        afterStar = true;
        pos = end + 1;
    }
}

// A Contents record placed after the "^" is read as a settings value or an index record.
void Checker::checkLateRecords() {
    for (int k = 1; k <= 47; ++k)
        if (records.Lines[static_cast<size_t>(k - 1)] > 0 &&
            looksLikeContentsRecord(records.Values[static_cast<size_t>(k - 1)]))
            warn(records.Lines[static_cast<size_t>(k - 1)],
                 QStringLiteral("a Contents record after the \"^\" is read as settings value "
                                "%1: it makes no node")
                     .arg(k));
    for (const IndexEntry &entry : records.Index)
        if (looksLikeContentsRecord(entry.Body))
            warn(entry.Line, QStringLiteral("a Contents record after the \"^\" is read as an "
                                            "index record: it makes no node"));
}

void Checker::checkContents() {
    QHash<QString, int> firstByTarget; // whole target, lower-cased
    QSet<QString> subfolderPages;      // reported once each
    int nodes = 0;
    for (const ContentsEntry &entry : records.Contents)
        nodes += makesNode(entry) ? 1 : 0;
    int number = 0;
    for (const ContentsEntry &entry : records.Contents) {
        if (!makesNode(entry)) {
            warn(entry.Line, QStringLiteral("record type \"%1\" makes no node").arg(entry.Type));
            continue;
        }
        const QString target = project::TopicTarget(entry.Body);
        if (!entry.Body.contains(u'@'))
            warn(entry.Line, QStringLiteral("record without \"@\": the node has no title"));
        if (entry.Type != u"R") {
            if (entry.Parent < 0 || entry.Parent >= nodes)
                warn(entry.Line, QStringLiteral("parent %1 names no node: the node is put at the "
                                                "top level")
                                     .arg(entry.Parent));
            else if (entry.Parent >= number)
                warn(entry.Line, QStringLiteral("parent %1 is a later node: list parents before "
                                                "their children")
                                     .arg(entry.Parent));
        }
        ++number;
        if (!PageExists(folder, target))
            warn(entry.Line, QStringLiteral("page \"%1\" not found").arg(target));
        if (ShortestTopicUrl(target) < 14)
            warn(entry.Line, QStringLiteral("target \"%1\" is too short: from a drive's root "
                                            "folder its address is under 14 characters and the "
                                            "viewer refuses it")
                                 .arg(target));
        if (PageKey(target).contains(u'/') && !subfolderPages.contains(PageKey(target))) {
            subfolderPages.insert(PageKey(target));
            warn(entry.Line, QStringLiteral("page \"%1\" is in a subfolder: the Text Search "
                                            "never reads it")
                                 .arg(PageKey(target)));
        }
        const QString lower = target.toLower();
        if (firstByTarget.contains(lower))
            warn(entry.Line, QStringLiteral("same target as line %1: search results show that "
                                            "line's title")
                                 .arg(firstByTarget.value(lower)));
        else
            firstByTarget.insert(lower, entry.Line);
        if (IsBare(target) && !bareByName.contains(lower)) {
            bareByName.insert(lower, entry.Line);
            bareKey.insert(lower, PageKey(target));
        }
    }
    // An arriving page selects the first bare target equal to its file name, whichever
    // folder the page came from.
    for (const ContentsEntry &entry : records.Contents) {
        const QString target = project::TopicTarget(entry.Body);
        if (IsBare(target) || !makesNode(entry))
            continue;
        const QString name = LastComponent(target).toLower();
        if (bareByName.contains(name) && bareKey.value(name) != PageKey(target))
            warn(entry.Line, QStringLiteral("\"%1\" ends in the same file name as line %2 in "
                                            "another folder: the Contents jumps to that line "
                                            "and shows its page")
                                 .arg(target)
                                 .arg(bareByName.value(name)));
    }
}

void Checker::checkUnlistedPages() {
    const std::optional<QStringList> names =
        platform::ListDirectory(platform::ToWindowsPath(folder) + u'\\');
    if (!names)
        return;
    QSet<QString> searched; // what the Text Search matches a page's name against
    for (const ContentsEntry &entry : records.Contents) {
        QString target = project::TopicTarget(entry.Body).toLower();
        const qsizetype hash = target.indexOf(u'#');
        searched.insert(hash < 0 ? target : target.left(hash));
    }
    QStringList unlisted;
    for (const QString &name : *names)
        if (name.toLower().contains(u".htm") && QFileInfo(QDir(folder), name).isFile() &&
            !searched.contains(name.toLower()))
            unlisted << name;
    unlisted.sort();
    for (const QString &name : unlisted)
        warn(contentsEndLine, QStringLiteral("no Contents entry targets the page \"%1\": the Text "
                                             "Search never lists it")
                                  .arg(name));
}

void Checker::checkSettings() {
    for (int k = 9; k <= 11; ++k) {
        try {
            project::StrToInt(records.Values[k - 1], records.Lines[k - 1]);
        } catch (const platform::EConvertError &e) {
            error(records.Lines[k - 1], e.Message);
        }
    }
    const QString icon = records.Values[2];
    const int iconLine = records.Lines[2];
    if (!icon.endsWith(u".ico", Qt::CaseInsensitive))
        warn(iconLine, QStringLiteral("icon \"%1\" does not end in \".ico\": the viewer shows "
                                      "\"Application Icon File not found\" at every start")
                           .arg(icon));
    else if (!PageExists(folder, icon))
        warn(iconLine, QStringLiteral("icon file \"%1\" not found").arg(icon));
}

void Checker::checkIndex() {
    QSet<QString> contentsPages;
    for (const ContentsEntry &entry : records.Contents)
        contentsPages.insert(PageKey(project::TopicTarget(entry.Body)));
    const IndexEntry *previous = nullptr;
    for (const IndexEntry &entry : records.Index) {
        const QString keyword = project::Caption(entry.Body);
        const QString target = project::TopicTarget(entry.Body);
        if (previous && project::CompareKeywords(project::Caption(previous->Body), keyword) > 0)
            warn(entry.Line, QStringLiteral("\"%1\" is out of order: the Index shows it before "
                                            "\"%2\" (line %3)")
                                 .arg(keyword, project::Caption(previous->Body))
                                 .arg(previous->Line));
        previous = &entry;
        if (!PageExists(folder, target))
            warn(entry.Line, QStringLiteral("page \"%1\" not found").arg(target));
        else if (!contentsPages.contains(PageKey(target)))
            warn(entry.Line,
                 QStringLiteral("keyword \"%1\" opens \"%2\", which is not in the Contents")
                     .arg(keyword, target));
        if (ShortestTopicUrl(target) <= 14)
            warn(entry.Line, QStringLiteral("target \"%1\" is too short: from a drive's root "
                                            "folder its address is under 15 characters and the "
                                            "Index refuses it")
                                 .arg(target));
        // The page arrives with its file name alone, and the Contents takes it as its own.
        const QString name = LastComponent(target).toLower();
        if (!IsBare(target) && bareByName.contains(name) && bareKey.value(name) != PageKey(target))
            warn(entry.Line, QStringLiteral("keyword \"%1\" opens \"%2\", which ends in the "
                                            "same file name as line %3 in another folder: the "
                                            "Contents jumps to that line and shows its page")
                                 .arg(keyword, target)
                                 .arg(bareByName.value(name)));
    }
}

void Checker::Run(const QByteArray &bytes) {
    if (bytes.isEmpty()) {
        error(1, QStringLiteral("the project file is missing or empty"));
        return;
    }
    checkEncoding(bytes);
    text = platform::DecodeText(bytes);
    lines = text.split(u'\n');
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    const bool settingsWhole = checkLayout();
    try {
        project::ReadHelpProject(text, records);
        complete = true;
    } catch (const platform::EConvertError &e) {
        static const QRegularExpression lineNote(QStringLiteral("\\(line (\\d+)\\)$"));
        const QRegularExpressionMatch match = lineNote.match(e.Message);
        // A short settings section or a missing "^" is reported already; the conversion error
        // it leads to says nothing more.
        if (settingsWhole || !records.InSettings)
            error(match.hasMatch() ? match.captured(1).toInt() : 1, e.Message);
    }
    // What the reader built before an error is no project to judge.
    if (records.InSettings) {
        checkContents();
        checkUnlistedPages();
        checkLateRecords();
    }
    if (complete) {
        checkSettings();
        checkIndex();
    }
    std::stable_sort(Result.begin(), Result.end(),
                     [](const Finding &a, const Finding &b) { return a.Line < b.Line; });
}

} // namespace

Findings CheckProjectBytes(const QByteArray &bytes, const QString &fileName,
                           const QString &folder) {
    Checker checker(fileName, folder);
    checker.Run(bytes);
    return checker.Result;
}

Findings CheckProject(const QString &path) {
    QString file = path;
    QFileInfo info(path);
    if (info.isDir()) {
        const std::optional<QStringList> names =
            platform::ListDirectory(platform::ToWindowsPath(info.absoluteFilePath()) + u'\\');
        file = QDir(path).filePath(QStringLiteral("(no .vlp file)"));
        for (const QString &name : names.value_or(QStringList()))
            if (name.endsWith(u".vlp", Qt::CaseInsensitive) &&
                QFileInfo(QDir(path), name).isFile()) {
                file = QDir(path).filePath(name);
                break;
            }
        info = QFileInfo(file);
    }
    QByteArray bytes;
    QFile project(file);
    if (info.isFile() && project.open(QIODevice::ReadOnly))
        bytes = project.read(platform::MaxFileSize + 1);
    return CheckProjectBytes(bytes, file, info.absolutePath());
}

} // namespace author
