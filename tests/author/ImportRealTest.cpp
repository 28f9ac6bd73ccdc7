// Imports what Debian's doxygen and sphinx-build write at test time, checks the result and
// opens it in the real viewer.
#include "app/Unit1.h"
#include "author/AuthorSupport.h"
#include "author/Check.h"
#include "author/Import.h"
#include "author/ProjectWriter.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString DataDir = QStringLiteral(VELLUMO_SOURCE_DIR "/tests/author/data/");

// Runs a producer; its output goes to `out`, Sphinx's doctrees to `doctrees`.
bool produce(const QString &producer, const QString &out, const QString &doctrees) {
    QProcess process;
    if (producer == u"doxygen") {
        QFile doxyfile(DataDir + QStringLiteral("doxygen/Doxyfile"));
        if (!doxyfile.open(QIODevice::ReadOnly))
            return false;
        process.setWorkingDirectory(DataDir + QStringLiteral("doxygen"));
        process.start(QStringLiteral("doxygen"), {QStringLiteral("-")});
        process.write(doxyfile.readAll() + "\nOUTPUT_DIRECTORY = " + out.toUtf8() +
                      "\nHTML_OUTPUT = .\n");
        process.closeWriteChannel();
    } else {
        process.start(QStringLiteral("sphinx-build"),
                      {QStringLiteral("-q"), QStringLiteral("-b"), producer, QStringLiteral("-d"),
                       doctrees, DataDir + QStringLiteral("sphinx"), out});
    }
    return process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

struct Expected {
    QStringList Tree;  // "depth title" in pre-order
    QStringList Pages; // each node's page
    int Keywords = 0;
    QHash<QString, QSet<QString>> KeywordTopics; // each keyword's topics, as TopicKey gives them
};

QString decoded(const QString &path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? platform::FromWindows1252(bytes) : text;
}

// Each OBJECT of an .hhc or .hhk as (depth, name, pages), by regular expressions rather
// than the importer's reader; the params may come in any order.
QList<std::tuple<int, QString, QStringList>> objects(const QString &path) {
    static const QRegularExpression token(
        QStringLiteral("<(/?)UL>|<(/?)OBJECT[^>]*>|<param name=\"(Name|Local|Keyword)\" "
                       "value=\"([^\"]*)\">"),
        QRegularExpression::CaseInsensitiveOption);
    QList<std::tuple<int, QString, QStringList>> list;
    int depth = -1;
    QString name;
    QStringList pages;
    for (auto it = token.globalMatch(decoded(path)); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedLength(3) > 0) {
            if (m.captured(3) == u"Local")
                pages << m.captured(4);
            else if (name.isEmpty() || m.captured(3) == u"Keyword")
                name = m.captured(4);
        } else if (m.captured(0).startsWith(u"<UL", Qt::CaseInsensitive)) {
            ++depth;
        } else if (m.captured(0).startsWith(u"</UL", Qt::CaseInsensitive)) {
            --depth;
        } else if (m.captured(2) == u"/") {
            if (!name.isEmpty())
                list.append({depth, name, pages});
            name.clear();
            pages.clear();
        }
    }
    return list;
}

Expected fromHtmlHelp(const QString &hhc, const QString &hhk) {
    Expected expected;
    for (const auto &[depth, name, pages] : objects(hhc)) {
        expected.Tree << QStringLiteral("%1 %2").arg(depth).arg(name);
        expected.Pages << pages.value(0);
    }
    QSet<QString> pairs;
    QStringList names; // the keyword at each depth
    for (const auto &[depth, name, pages] : objects(hhk)) {
        names = names.mid(0, depth);
        names << name;
        for (const QString &page : pages) {
            pairs.insert(names.join(QStringLiteral(", ")) + u'@' + page);
            expected.KeywordTopics[names.join(QStringLiteral(", "))].insert(TopicKey(page));
        }
    }
    expected.Keywords = static_cast<int>(pairs.size());
    return expected;
}

Expected fromQhp(const QString &qhp) {
    Expected expected;
    QFile file(qhp);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    int depth = 0;
    QSet<QString> pairs;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto attribute = [&](const char *name) {
            return xml.attributes().value(QLatin1String(name)).toString();
        };
        if (xml.isStartElement() && xml.name() == u"section") {
            expected.Tree << QStringLiteral("%1 %2").arg(depth++).arg(attribute("title"));
            expected.Pages << attribute("ref");
        } else if (xml.isEndElement() && xml.name() == u"section") {
            --depth;
        } else if (xml.isStartElement() && xml.name() == u"keyword") {
            pairs.insert(attribute("name") + u'@' + attribute("ref"));
            expected.KeywordTopics[attribute("name")].insert(TopicKey(attribute("ref")));
        }
    }
    expected.Keywords = static_cast<int>(pairs.size());
    return expected;
}

struct Case {
    const char *Producer;
    const char *Source; // the file to import, in the output folder
    const char *Hhc;    // for HTML Help: the contents and index files
    const char *Hhk;
    const char *AddedHome; // the title of the home entry the import adds, if any
    // What `vlp check` still says, and what no import can change: pages in subfolders, which
    // the Text Search never reads, and pages the producer leaves out of its own contents.
    QStringList Findings;
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.Producer << ' ' << c.Source;
}

const QStringList SphinxFindings{"2:warning:page \"guide/index.html\" is in a subfolder",
                                 "3:warning:page \"guide/install.html\" is in a subfolder",
                                 "7:warning:page \"guide/usage.html\" is in a subfolder",
                                 "8:warning:page \"api/index.html\" is in a subfolder",
                                 "9:warning:page \"api/functions.html\" is in a subfolder",
                                 "10:warning:page \"api/changes.html\" is in a subfolder",
                                 "12:warning:page \"api/internals/index.html\" is in a subfolder",
                                 "16:warning:no Contents entry targets the page \"genindex.html\""};
const QStringList DoxygenFindings{
    "37:warning:no Contents entry targets the page \"frob_8h_source.html\"",
    "37:warning:no Contents entry targets the page \"pages.html\""};

const Case Cases[] = {
    {"htmlhelp", "frobnitz.hhp", "frobnitz.hhc", "frobnitz.hhk", nullptr, SphinxFindings},
    {"qthelp", "frobnitz.qhp", nullptr, nullptr, nullptr, SphinxFindings},
    {"doxygen", "index.hhp", "index.hhc", "index.hhk", "Frobnitz", DoxygenFindings},
    {"doxygen", "index.qhp", nullptr, nullptr, nullptr, DoxygenFindings},
};

class ImportReal : public ::testing::TestWithParam<Case> {};

TEST_P(ImportReal, ChecksCleanLoadsWithTheProducersShapeAndOpensEveryTopic) {
    const Case c = GetParam();
    HelpFolder folder;
    const QTemporaryDir doctrees;
    ASSERT_TRUE(produce(QString::fromUtf8(c.Producer), folder.Path(), doctrees.path()))
        << c.Producer;
    const QString source = folder.Path() + u'/' + QString::fromUtf8(c.Source);
    ASSERT_TRUE(QFile::exists(source)) << c.Source;

    const author::BuildResult result = author::ImportProject(source);
    ASSERT_TRUE(result.Failure.isEmpty()) << result.Failure.toStdString();
    QString problem;
    author::WriteProjectFile(result.Model, folder.Path() + QStringLiteral("/help.vlp"), false,
                             &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();

    ExpectFindings(author::CheckProject(folder.Path()), c.Findings, c.Source);

    Expected expected = c.Hhc ? fromHtmlHelp(folder.Path() + u'/' + QString::fromUtf8(c.Hhc),
                                             folder.Path() + u'/' + QString::fromUtf8(c.Hhk))
                              : fromQhp(source);
    if (c.AddedHome) {
        expected.Tree.prepend(QStringLiteral("0 ") + QString::fromUtf8(c.AddedHome));
        expected.Pages.prepend(QStringLiteral("index.html"));
    }
    Viewer viewer(folder);
    TForm1 *form = viewer.form1();
    QStringList tree;
    QList<TTreeNode *> nodes;
    for (QTreeWidgetItemIterator it(form->TreeView1); *it; ++it) {
        int depth = 0;
        for (auto *p = (*it)->parent(); p; p = p->parent())
            ++depth;
        tree << QStringLiteral("%1 %2").arg(depth).arg((*it)->text(0));
        nodes << *it;
    }
    EXPECT_EQ(tree.join(u'\n').toStdString(), expected.Tree.join(u'\n').toStdString());
    EXPECT_EQ(form->ListBox1->count(), expected.Keywords);
    EXPECT_GT(expected.Keywords, 10);

    ASSERT_EQ(nodes.size(), expected.Pages.size());
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        viewer.Click(nodes[i]);
        Viewer::Settle();
        EXPECT_EQ(ShownTopic(viewer, folder).toStdString(),
                  TopicKey(expected.Pages[i]).toStdString())
            << expected.Tree[i].toStdString();
        EXPECT_FALSE(form->HTML1->toPlainText().contains(u"The page cannot be displayed"))
            << expected.Pages[i].toStdString();
    }
    for (int i = 0; i < form->ListBox1->count(); ++i) {
        // From another node, so that a page the Contents takes for its own shows as a jump.
        viewer.Select(nodes.back());
        Viewer::Settle();
        form->ListBox1->setCurrentRow(i);
        form->ListBox1Click();
        Viewer::Settle();
        // The producer's keyword, before its "*" (in C pointers) became a look-alike.
        const QString keyword = form->ListBox1->item(i)->text().replace(QChar(0x2217), u'*');
        EXPECT_TRUE(expected.KeywordTopics.value(keyword).contains(ShownTopic(viewer, folder)))
            << keyword.toStdString() << " showed " << ShownTopic(viewer, folder).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Producers, ImportReal, ::testing::ValuesIn(Cases),
    [](const ::testing::TestParamInfo<Case> &info) {
        return std::string(info.param.Producer) + '_' +
               QString::fromUtf8(info.param.Source).section(u'.', -1).toStdString();
    });

} // namespace
