// Imports what Debian's doxygen and sphinx-build write at test time, checks the result and
// opens it in the real viewer.
#include "app/Unit1.h"
#include "author/Check.h"
#include "author/Import.h"
#include "author/ProjectWriter.h"
#include "author/Targets.h"
#include "platform/FileSystem.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString DataDir = QStringLiteral(VELLUMO_SOURCE_DIR "/tests/author/data/");

// Runs a producer; its output goes to `out`.
bool produce(const QString &producer, const QString &out) {
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
                       out + QStringLiteral("/../doctrees-") + producer,
                       DataDir + QStringLiteral("sphinx"), out});
    }
    return process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

struct Expected {
    QStringList Tree;  // "depth title" in pre-order
    QStringList Pages; // each node's page
    int Keywords = 0;
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
        for (const QString &page : pages)
            pairs.insert(names.join(QStringLiteral(", ")) + u'@' + page);
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
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.Producer << ' ' << c.Source;
}

const Case Cases[] = {
    {"htmlhelp", "frobnitz.hhp", "frobnitz.hhc", "frobnitz.hhk", nullptr},
    {"qthelp", "frobnitz.qhp", nullptr, nullptr, nullptr},
    {"doxygen", "index.hhp", "index.hhc", "index.hhk", "Frobnitz"},
    {"doxygen", "index.qhp", nullptr, nullptr, nullptr},
};

class ImportReal : public ::testing::TestWithParam<Case> {};

TEST_P(ImportReal, ChecksCleanLoadsWithTheProducersShapeAndOpensEveryTopic) {
    const Case c = GetParam();
    HelpFolder folder;
    ASSERT_TRUE(produce(QString::fromUtf8(c.Producer), folder.Path())) << c.Producer;
    const QString source = folder.Path() + u'/' + QString::fromUtf8(c.Source);
    ASSERT_TRUE(QFile::exists(source)) << c.Source;

    const author::BuildResult result = author::ImportProject(source);
    ASSERT_TRUE(result.Failure.isEmpty()) << result.Failure.toStdString();
    QString problem;
    author::WriteProjectFile(result.Model, folder.Path() + QStringLiteral("/help.vlp"), false,
                             &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();

    // What is left is what no import can change: pages in subfolders, and pages the producer
    // left out of its contents.
    for (const author::Finding &finding : author::CheckProject(folder.Path()))
        EXPECT_TRUE(finding.Level == author::Severity::Warning &&
                    finding.Message.contains(u"the Text Search never"))
            << author::CompilerForm(finding).toStdString();

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
        const QString shown = viewer.Url().mid(viewer.Url().indexOf(u'|') + 1);
        EXPECT_TRUE(
            shown.endsWith(u'/' + author::PageKey(expected.Pages[i]), Qt::CaseInsensitive) ||
            author::PageKey(shown).endsWith(u'/' + author::PageKey(expected.Pages[i])))
            << expected.Tree[i].toStdString() << " showed " << shown.toStdString();
        EXPECT_FALSE(form->HTML1->toPlainText().contains(u"The page cannot be displayed"))
            << expected.Pages[i].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Producers, ImportReal, ::testing::ValuesIn(Cases),
    [](const ::testing::TestParamInfo<Case> &info) {
        return std::string(info.param.Producer) + '_' +
               QString::fromUtf8(info.param.Source).section(u'.', -1).toStdString();
    });

} // namespace
