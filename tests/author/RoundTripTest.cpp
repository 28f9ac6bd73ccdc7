// What `vlp new` and the project writer put in a file is what the viewer shows.
#include "app/Unit1.h"
#include "author/NewProject.h"
#include "author/ProjectWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Writes the model beside the pages, opens the folder in the viewer and compares what it
// shows with the model as the writer prepared it.
void expectRoundTrip(const HelpFolder &folder, const author::HelpModel &model) {
    QString problem;
    const author::WriteSummary summary = author::WriteProjectFile(
        model, folder.Path() + QStringLiteral("/help.vlp"), false, &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    author::HelpModel prepared = model;
    author::PrepareModel(prepared);
    ASSERT_EQ(summary.Nodes, static_cast<int>(prepared.Nodes.size()));

    Viewer viewer(folder);
    TForm1 *form = viewer.form1();
    QStringList shown;
    for (QTreeWidgetItemIterator it(form->TreeView1); *it; ++it) {
        int depth = 0;
        for (auto *p = (*it)->parent(); p; p = p->parent())
            ++depth;
        shown << QStringLiteral("%1 %2@%3")
                     .arg(depth)
                     .arg((*it)->text(0), form->ListBox2->item(static_cast<int>(shown.size()))
                                              ->text()
                                              .section(u'@', 1));
    }
    QStringList expected;
    for (const author::HelpNode &node : prepared.Nodes) {
        int depth = 0;
        for (int p = node.Parent; p >= 0; p = prepared.Nodes[static_cast<size_t>(p)].Parent)
            ++depth;
        expected << QStringLiteral("%1 %2@%3").arg(depth).arg(node.Title, node.Target);
    }
    EXPECT_EQ(shown.join(u'\n').toStdString(), expected.join(u'\n').toStdString());

    QStringList index;
    for (int i = 0; i < form->ListBox1->count(); ++i)
        index << form->ListBox1->item(i)->text() + u'@' +
                     form->ListBox3->item(i)->text().section(u'@', 1);
    expected.clear();
    for (const author::IndexEntry &entry : prepared.Index)
        expected << entry.Keyword + u'@' + entry.Target;
    EXPECT_EQ(index.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    EXPECT_EQ(form->windowTitle(), prepared.Title);
}

TEST(RoundTrip, NewProjectFromAFolderOfPages) {
    HelpFolder folder;
    folder.WriteText(QStringLiteral("b.html"),
                     QStringLiteral("<html><head><title>Mail @ 5* [x]</title><meta "
                                    "name=\"keywords\" content=\"beta, Alpha\"></head></html>"));
    folder.WriteText(QStringLiteral("a.htm"), QStringLiteral("<p>No title"));
    folder.WriteText(QStringLiteral("Index.html"),
                     QStringLiteral("<title>Start &amp; More</title>"));
    folder.WriteText(QStringLiteral("notes.txt"), QStringLiteral("not a page"));
    const author::BuildResult result = author::NewProject(folder.Path());
    ASSERT_TRUE(result.Failure.isEmpty());
    QStringList titles;
    for (const author::HelpNode &node : result.Model.Nodes)
        titles << node.Title + u'@' + node.Target;
    EXPECT_EQ(titles, (QStringList{"Start & More@Index.html", "a@a.htm", "Mail @ 5* [x]@b.html"}));
    EXPECT_EQ(result.Model.Title, QStringLiteral("Start & More"));
    expectRoundTrip(folder, result.Model);
}

TEST(RoundTrip, NestedBooksAndReplacedCharacters) {
    HelpFolder folder;
    folder.Mkdir(QStringLiteral("api"));
    for (const char *page : {"index.html", "a.html", "api/index.html", "api/b.html"})
        folder.Page(QString::fromUtf8(page), QStringLiteral("page"));
    author::HelpModel model;
    model.Title = QStringLiteral("Title * with star");
    model.Nodes = {{"Home", "index.html", -1},   {"Book ^1", "a.html", -1},
                   {"API", "api/index.html", 1}, {"[b]", "api/b.html", 2},
                   {"Again", "a.html", 1},       {"Top page", "api/b.html", -1}};
    model.Index = {{"zeta", "a.html"},
                   {"Alpha % 2", "api/b.html"},
                   {"beta@x", "index.html"},
                   {"zeta", "a.html"}};
    expectRoundTrip(folder, model);
}

} // namespace
