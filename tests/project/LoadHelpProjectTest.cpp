#include "app/Unit1.h"
#include "platform/CommandLine.h"
#include "project/NodeNumber.h"
#include "support/TestSupport.h"

#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QStringList WorkedContents{
    "[0,R,0]Welcome@welcome.html",     "[1,F,0]Getting Started@start.html",
    "[2,P,1]Installing@install.html",  "[3,P,1]First Steps@first.html",
    "[4,R,0]Reference@reference.html", "[5,P,4]Commands@commands.html"};
const QStringList WorkedIndex{"Commands@commands.html", "Installing@install.html",
                              "Welcome@welcome.html"};

QStringList items(const QListWidget *list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The tree as text: each node's caption, its children in brackets.
QString shape(const QTreeWidgetItem *node) {
    QString text = node->text(0);
    if (node->childCount() == 0)
        return text;
    QStringList children;
    for (int i = 0; i < node->childCount(); ++i)
        children << shape(node->child(i));
    return text + " (" + children.join(", ") + ")";
}

QString shape(const QTreeWidget *tree) {
    QStringList roots;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        roots << shape(tree->topLevelItem(i));
    return roots.join(", ");
}

class LoadHelpProject : public ::testing::Test {
protected:
    // Loads `text` through the real start-up, the project file written as it is given.
    void load(const QString &text) {
        folder.Write("help.vlp", text.toUtf8());
        viewer = std::make_unique<Viewer>(folder, "help.vlp");
    }
    TForm1 *form() const { return viewer->form1(); }

    HelpFolder folder;
    MessageRecorder messages;
    std::unique_ptr<Viewer> viewer;
};

} // namespace

TEST_F(LoadHelpProject, WorkedExampleBuildsTreeListsFontsAndColours) {
    // No ViewerReady during the load: look at the state the loader leaves, before any page
    // arrives, by keeping the pages away.
    load(MakeProject(WorkedContents, WorkedIndex));
    EXPECT_EQ(shape(form()->TreeView1),
              "Welcome (Getting Started (Installing, First Steps)), Reference (Commands)");
    EXPECT_EQ(items(form()->ListBox2),
              QStringList({"Welcome@welcome.html", "Getting Started@start.html",
                           "Installing@install.html", "First Steps@first.html",
                           "Reference@reference.html", "Commands@commands.html"}));
    ASSERT_EQ(NodeTable.size(), 6u);
    EXPECT_EQ(NodeTable[2]->text(0), "Installing");
    EXPECT_EQ(LastNode, NodeTable[5]);
    EXPECT_EQ(project::NodeImage(NodeTable[1]), 0);
    EXPECT_EQ(project::NodeSelectedImage(NodeTable[1]), 1);
    EXPECT_EQ(project::NodeImage(NodeTable[5]), 2);
    EXPECT_EQ(project::NodeSelectedImage(NodeTable[5]), 3);
    EXPECT_EQ(items(form()->ListBox1), QStringList({"Commands", "Installing", "Welcome"}));
    EXPECT_EQ(items(form()->ListBox3), WorkedIndex);
    EXPECT_EQ(HelpTitle, "Sample Help");
    EXPECT_EQ(IconFileName, folder.WindowsPath() + "sample.ico");
    EXPECT_EQ(form()->windowTitle(), "Sample Help");

    platform::THTML *html = form()->HTML1;
    const platform::TFont &body = *html->GetTFontProp(platform::THTML::FontBody);
    EXPECT_EQ(body.Name(), "Arial");
    EXPECT_EQ(body.Size(), 10);
    EXPECT_EQ(body.Color(), 0);
    EXPECT_EQ(body.Style(), (platform::TFontStyles{}));
    EXPECT_EQ(html->GetTColorProp(platform::THTML::ColorText, -1), 0);
    EXPECT_EQ(html->GetTColorProp(platform::THTML::ColorBackground), 16777215);
    EXPECT_EQ(html->GetTColorProp(platform::THTML::ColorLink), 16711680);
    EXPECT_EQ(html->GetTColorProp(platform::THTML::ColorVisitedLink), 255);
    for (int index = 28; index <= 33; ++index) {
        EXPECT_EQ(html->GetTFontProp(index)->Size(), 10) << index;
        EXPECT_FALSE(html->GetTFontProp(index)->Style().Bold) << index;
    }
    EXPECT_EQ(html->document()->defaultFont().family(), "Arial");
    EXPECT_EQ(html->palette().color(QPalette::Base), QColor(255, 255, 255));
    for (QWidget *list :
         {static_cast<QWidget *>(form()->TreeView1), static_cast<QWidget *>(form()->ListBox1),
          static_cast<QWidget *>(form()->ListBox5)}) {
        EXPECT_EQ(list->font().family(), "Arial");
        EXPECT_EQ(list->font().pointSizeF(), 8);
        EXPECT_FALSE(list->font().bold());
        EXPECT_EQ(list->palette().color(QPalette::Text), QColor(0, 0, 0));
    }
}

TEST_F(LoadHelpProject, SelectionAndCurrentNodeAfterLoading) {
    // The loader alone, before any page can arrive and move the selection.
    folder.WriteText("help.vlp", MakeProject(WorkedContents, WorkedIndex));
    platform::SetCommandLine("Z:\\opt\\vellumo " + folder.WindowsPath() + "help.vlp");
    TForm1 form;
    form.LoadHelpProject(ProjectText);
    ASSERT_NE(form.TreeView1->currentItem(), nullptr);
    EXPECT_EQ(form.TreeView1->currentItem()->text(0), "Reference");
    ASSERT_NE(form.CurrentNode, nullptr);
    EXPECT_EQ(form.CurrentNode->text(0), "Reference");
    EXPECT_EQ(LastNode->text(0), "Commands");
    EXPECT_TRUE(form.ListBox4->count() == 0) << "nothing is recorded while loading";

    // An "F" record last: its parent is selected and current.
    TForm1 other;
    other.LoadHelpProject(MakeProject({"[0,R,0]A@a.htm", "[1,R,0]B@b.htm", "[2,F,0]C@c.htm"}, {}));
    EXPECT_EQ(other.TreeView1->currentItem()->text(0), "A");
    EXPECT_EQ(other.CurrentNode->text(0), "A");
    EXPECT_EQ(LastNode->text(0), "C");
}

TEST_F(LoadHelpProject, NodesSelectedWhileLoadingAreShownWithTheirParentsOpen) {
    // C selects B, which opens A; E is selected last.
    folder.WriteText("help.vlp", MakeProject({"[0,R,0]A@a.htm", "[1,F,0]B@b.htm", "[2,F,1]C@c.htm",
                                              "[3,P,2]D@d.htm", "[4,R,0]E@e.htm"},
                                             {}));
    platform::SetCommandLine("Z:\\opt\\vellumo " + folder.WindowsPath() + "help.vlp");
    TForm1 form;
    form.LoadHelpProject(ProjectText);
    EXPECT_EQ(form.TreeView1->currentItem()->text(0), "E");
    QStringList open;
    for (QTreeWidgetItemIterator it(form.TreeView1); *it; ++it)
        if ((*it)->isExpanded())
            open << (*it)->text(0);
    EXPECT_EQ(open, QStringList{"A"});
}

TEST_F(LoadHelpProject, StyleCodesTreeBoldAndUnknownCodeKeepsStyle) {
    load(MakeProject(WorkedContents, WorkedIndex, {{8, "4"}, {19, "1"}, {27, "2"}}));
    EXPECT_TRUE(form()->TreeView1->font().bold());
    EXPECT_TRUE(form()->ListBox1->font().bold());
    EXPECT_TRUE(form()->ListBox5->font().bold());
    // Code 4 leaves the body font as it was before loading (regular).
    EXPECT_EQ(form()->HTML1->GetTFontProp(platform::THTML::FontBody)->Style(),
              (platform::TFontStyles{}));
    EXPECT_EQ(form()->HTML1->GetTFontProp(28)->Style(), (platform::TFontStyles{false, true}));
    // Heading 2 keeps its initial bold: it got code 0 from the file.
    EXPECT_FALSE(form()->HTML1->GetTFontProp(29)->Style().Bold);
}

TEST_F(LoadHelpProject, ConversionErrorsStopWhereTheyArise) {
    const struct {
        const char *name;
        QString text;
        const char *message;
        int nodes;
        int indexEntries;
        bool bodyFontApplied;
    } cases[] = {
        {"sequence number", MakeProject({"[0,R,0]A@a.htm", "[1R,R,0]B@b.htm"}, {"k@a.htm"}),
         "'1R' is not a valid integer value (line 2)", 1, 0, false},
        {"value 6", MakeProject(WorkedContents, WorkedIndex, {{6, "black"}}),
         "'black' is not a valid integer value (line 13)", 6, 0, false},
        {"value 9", MakeProject(WorkedContents, WorkedIndex, {{9, ""}}),
         "'' is not a valid integer value (line 16)", 6, 3, true},
        {"spare group", MakeProject(WorkedContents, WorkedIndex, {{14, "ten"}}),
         "'ten' is not a valid integer value (line 21)", 6, 0, false},
        {"open header", MakeProject({"[0,R,0]A@a.htm", "[1,P,0 B@b.htm"}, {}), "(line 2)", 1, 0,
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        messages.Messages.clear();
        viewer.reset();
        load(c.text);
        ASSERT_EQ(messages.Messages.size(), 1u);
        EXPECT_TRUE(messages.Messages[0].first.endsWith(QString::fromUtf8(c.message)))
            << messages.Messages[0].first.toStdString();
        EXPECT_EQ(messages.Messages[0].second, "Vellumo");
        EXPECT_EQ(int(NodeTable.size()), c.nodes);
        EXPECT_EQ(form()->ListBox1->count(), c.indexEntries);
        EXPECT_EQ(form()->HTML1->GetTFontProp(platform::THTML::FontBody)->Size() == 10,
                  c.bodyFontApplied);
        // The rest of the start-up did not run: no caption, and the tree kept its font.
        EXPECT_EQ(form()->windowTitle(), "");
        EXPECT_EQ(ViewerReady, 0);
        EXPECT_NE(form()->TreeView1->font().pointSizeF(), 8);
    }
}

TEST_F(LoadHelpProject, EmptyTextIsUnreadable) {
    folder.Write("help.vlp", QByteArray("\0abc", 4));
    viewer = std::make_unique<Viewer>(folder, "help.vlp");
    ASSERT_FALSE(messages.Messages.empty());
    EXPECT_EQ(messages.Messages[0].first, "File is Unreadable");
    EXPECT_EQ(messages.Messages[0].second, "File Open Error!");
    EXPECT_EQ(form()->TreeView1->topLevelItemCount(), 0);
    // The start-up goes on: the icon message follows, and the viewer is ready.
    EXPECT_EQ(ViewerReady, 1);
}

TEST_F(LoadHelpProject, SoundReadingOfUnusualFiles) {
    // LF line breaks and an empty separator line read like the CR LF original.
    QString lf = MakeProject(WorkedContents, WorkedIndex);
    lf.replace("\r\n", "\n");
    lf.replace("\n^\nCommands", "\n\nCommands");
    load(lf);
    EXPECT_TRUE(messages.Messages.size() <= 1u); // only the icon message
    EXPECT_EQ(NodeTable.size(), 6u);
    EXPECT_EQ(items(form()->ListBox1), QStringList({"Commands", "Installing", "Welcome"}));
    EXPECT_EQ(form()->HTML1->GetTColorProp(platform::THTML::ColorVisitedLink), 255);

    // A parent that does not exist yet makes a top-level node; numbers stay in step.
    viewer.reset();
    messages.Messages.clear();
    load(MakeProject({"[0,P,5]Orphan@o.htm", "[1,F,-1]Lost@l.htm", "[2,P,0]Child@c.htm"}, {}));
    EXPECT_EQ(shape(form()->TreeView1), "Orphan (Child), Lost");
    EXPECT_EQ(project::NodeImage(viewer->Node("Orphan")), 2);
    EXPECT_EQ(project::NodeImage(viewer->Node("Lost")), 0);
}

TEST_F(LoadHelpProject, MoreThanAThousandNodes) {
    QStringList contents{"[0,R,0]Root@r.htm"};
    for (int i = 1; i <= 1500; ++i)
        contents << QStringLiteral("[%1,P,0]Page %1@p%1.htm").arg(i);
    contents << "[1501,P,1200]Deep@deep.htm";
    load(MakeProject(contents, {}));
    ASSERT_EQ(NodeTable.size(), 1502u);
    EXPECT_EQ(form()->ListBox2->count(), 1502);
    EXPECT_EQ(NodeTable[1501]->parent(), NodeTable[1200]);
    EXPECT_EQ(LastNode->text(0), "Deep");
}
