// What `vlp new` and the project writer put in a file is what the viewer shows.
#include "app/Unit1.h"
#include "author/AuthorSupport.h"
#include "author/Check.h"
#include "author/NewProject.h"
#include "author/ProjectWriter.h"

#include <QFile>
#include <QStringDecoder>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Expected {
    QString Title;
    QStringList Nodes;    // "depth title@target" in tree order
    QStringList Index;    // "keyword@target" as the Index lists them
    QStringList Findings; // what `vlp check` says about the file: "LINE:level:part"
};

// Writes the model beside the pages, checks the file's bytes and findings, opens the folder in
// the viewer and compares what it shows with what the input has to become. Then opens every
// node and keyword: each must show the page and anchor that the input named.
void expectRoundTrip(const HelpFolder &folder, const author::HelpModel &input,
                     const Expected &expected) {
    const QString file = folder.Path() + QStringLiteral("/help.vlp");
    QString problem;
    const author::WriteSummary summary = author::WriteProjectFile(input, file, false, &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    EXPECT_EQ(summary.Nodes, static_cast<int>(input.Nodes.size()));

    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    // A Windows-1252 file would show the same in the viewer: only the bytes tell.
    EXPECT_FALSE(utf8.hasError()) << text.toStdString();
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
    ExpectFindings(author::CheckProject(file), expected.Findings, "vlp check");

    Viewer viewer(folder);
    TForm1 *form = viewer.form1();
    QStringList shown;
    QList<TTreeNode *> nodes;
    for (QTreeWidgetItemIterator it(form->TreeView1); *it; ++it) {
        int depth = 0;
        for (auto *p = (*it)->parent(); p; p = p->parent())
            ++depth;
        shown << QStringLiteral("%1 %2@%3")
                     .arg(depth)
                     .arg((*it)->text(0), form->ListBox2->item(static_cast<int>(shown.size()))
                                              ->text()
                                              .section(u'@', 1));
        nodes << *it;
    }
    EXPECT_EQ(shown.join(u'\n').toStdString(), expected.Nodes.join(u'\n').toStdString());
    QStringList index;
    for (int i = 0; i < form->ListBox1->count(); ++i)
        index << form->ListBox1->item(i)->text() + u'@' +
                     form->ListBox3->item(i)->text().section(u'@', 1);
    EXPECT_EQ(index.join(u'\n').toStdString(), expected.Index.join(u'\n').toStdString());
    EXPECT_EQ(form->windowTitle(), expected.Title);

    ASSERT_EQ(nodes.size(), static_cast<qsizetype>(input.Nodes.size()));
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        viewer.Click(nodes[i]);
        Viewer::Settle();
        EXPECT_EQ(ShownTopic(viewer, folder).toStdString(),
                  TopicKey(input.Nodes[static_cast<size_t>(i)].Target).toStdString())
            << shown[i].toStdString();
    }
    for (int i = 0; i < form->ListBox1->count() && i < expected.Index.size(); ++i) {
        // From another node, so that a page the Contents takes for its own shows as a jump.
        viewer.Select(nodes.back());
        Viewer::Settle();
        form->ListBox1->setCurrentRow(i);
        form->ListBox1Click();
        Viewer::Settle();
        EXPECT_EQ(ShownTopic(viewer, folder).toStdString(),
                  TopicKey(expected.Index[i].section(u'@', 1)).toStdString())
            << expected.Index[i].toStdString();
    }
}

TEST(RoundTrip, NewProjectFromAFolderOfPages) {
    HelpFolder folder;
    folder.WriteText(QStringLiteral("b.html"),
                     QStringLiteral("<html><head><title>Mail @ 5* [x]</title><meta "
                                    "name=\"keywords\" content=\"beta, Alpha\"></head></html>"));
    folder.WriteText(QStringLiteral("a.htm"),
                     QStringLiteral("<meta name=keywords content=gamma><p>No title"));
    folder.WriteText(QStringLiteral("Index.html"),
                     QStringLiteral("<title>Start &amp; More</title>"));
    folder.WriteText(QStringLiteral("notes.txt"), QStringLiteral("not a page"));
    const author::BuildResult result = author::NewProject(folder.Path());
    ASSERT_TRUE(result.Failure.isEmpty());
    EXPECT_EQ(result.Notes, QStringList{"a.htm has no <title>: titled \"a\""});
    expectRoundTrip(
        folder, result.Model,
        {"Start & More",
         {"0 Start & More@Index.html", "0 a@a.htm", QString::fromUtf8("0 Mail ＠ 5∗ (x)@b.html")},
         {"a@a.htm", "Alpha@b.html", "beta@b.html", "gamma@a.htm",
          QString::fromUtf8("Mail ＠ 5∗ [x]@b.html"), "Start & More@Index.html"},
         {}});
}

TEST(RoundTrip, NestedBooksCollidingFileNamesAndReplacedCharacters) {
    HelpFolder folder;
    folder.Mkdir(QStringLiteral("api"));
    for (const char *page : {"index.html", "a.html", "api/index.html", "api/b.html"})
        folder.Page(QString::fromUtf8(page), QStringLiteral("page"));
    author::HelpModel model;
    model.Title = QStringLiteral("Title * with star");
    model.Nodes = {{"Home", "index.html", -1},
                   {"Overview", "index.html#ov", 0},
                   {"Book ^1", "a.html", -1},
                   {"API", "api/index.html", 2},
                   {"Overview", "api/index.html#ov", 3},
                   {"[b]", "api/b.html", 3},
                   {"Again", "a.html", 2},
                   {"Top page", "api/b.html", -1}};
    model.Index = {{"zeta", "a.html"},        {"Alpha % 2", "api/b.html"},
                   {"beta@x", "index.html"},  {"zeta", "a.html"},
                   {"API", "api/index.html"}, {"Overview", "api/index.html#ov"}};
    expectRoundTrip(
        folder, model,
        {QString::fromUtf8("Title ∗ with star"),
         {"0 Home@index.html", "1 Overview@./index.html#ov", QString::fromUtf8("0 Book ˆ1@a.html"),
          "1 API@api/index.html#", "2 Overview@api/index.html#ov", "2 (b)@api/b.html",
          "1 Again@./a.html", "0 Top page@./api/b.html"},
         {QString::fromUtf8("Alpha ％ 2@api/b.html"), "API@api/index.html#",
          QString::fromUtf8("beta＠x@index.html"), "Overview@api/index.html#ov", "zeta@a.html"},
         {"4:warning:page \"api/index.html\" is in a subfolder",
          "6:warning:page \"api/b.html\" is in a subfolder"}});
}

// The home page of `vlp new`: index.html, else default.htm, else the first page by name.
TEST(NewProject, HomeIsIndexOrDefaultElseTheFirstPageByName) {
    const std::vector<std::pair<QStringList, QStringList>> rows{
        {{"b.html", "Default.htm", "a.html"}, {"Default.htm", "a.html", "b.html"}},
        {{"default.htm", "zz.htm", "index.htm"}, {"index.htm", "default.htm", "zz.htm"}},
        {{"zeta.htm", "Beta.html", "alpha.HTML"}, {"alpha.HTML", "Beta.html", "zeta.htm"}},
    };
    for (const auto &[files, order] : rows) {
        HelpFolder folder;
        for (const QString &name : files)
            folder.Page(name, name);
        QStringList pages;
        for (const author::HelpNode &node : author::NewProject(folder.Path()).Model.Nodes)
            pages << node.Target;
        EXPECT_EQ(pages, order) << files.join(u' ').toStdString();
    }
}

} // namespace
