#include "app/Unit1.h"
#include "project/NodeNumber.h"
#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QStringList Worked{"[0,R,0]Welcome@welcome.html",     "[1,F,0]Getting Started@start.html",
                         "[2,P,1]Installing@install.html",  "[3,P,1]First Steps@first.html",
                         "[4,R,0]Reference@reference.html", "[5,P,4]Commands@commands.html"};

struct Outcome {
    size_t nodes;
    int index;
    QStringList messages;
};

// Starts the real viewer on a project file of `bytes`: it must come up, whatever they are.
Outcome open(const QByteArray &bytes) {
    HelpFolder folder;
    folder.Page("welcome.html", "<p>Welcome</p>");
    folder.Write("help.vlp", bytes);
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    return {NodeTable.size(), viewer.form1()->ListBox1->count(), messages.Texts()};
}

QByteArray worked() {
    return MakeProject(Worked, {"Commands@commands.html"}).toUtf8();
}

} // namespace

TEST(HostileProject, BrokenEncodingsAndSections) {
    QByteArray junk(64 * 1024, '\0');
    QRandomGenerator random(42);
    for (char &byte : junk)
        byte = char(random.bounded(1, 256)); // no zero byte: the whole junk is read
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QByteArray withoutCaret = worked();
    withoutCaret.replace('^', ""); // the whole text is read as contents
    QByteArray withoutPercent = worked();
    withoutPercent.chop(3);
    const struct {
        const char *name;
        QByteArray bytes;
        int nodes; // -1: any number
        int index;
        const char *message; // the first message, its start
    } cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF" + worked(), 6, 1, "Application Icon"},
        {"UTF-16", QByteArray(utf16(QString::fromUtf8(worked()))), 6, 1, "Application Icon"},
        {"zero byte inside", worked().left(60) + '\0' + worked().mid(60), 1, 0, "'' is not"},
        {"binary junk", junk, 0, 0, ""},
        {"no caret", withoutCaret, -1, 0, "'' is not a valid integer value"},
        {"no percent", withoutPercent, 6, 1, "Application Icon"},
        {"only a caret", "^", 0, 0, "'' is not a valid integer value"},
        {"caret at the end", "[0,R,0]A@welcome.html*^", 1, 0, "'' is not a valid integer value"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = open(c.bytes);
        if (c.nodes >= 0)
            EXPECT_EQ(outcome.nodes, size_t(c.nodes));
        EXPECT_EQ(outcome.index, c.index);
        ASSERT_FALSE(outcome.messages.isEmpty());
        EXPECT_TRUE(outcome.messages.first().startsWith(c.message))
            << outcome.messages.first().toStdString();
    }
}

TEST(HostileProject, HugeFilesAndDeepTrees) {
    const auto project = [](int records, bool deep, int titleLength) {
        QStringList contents{"[0,R,0]Root@welcome.html"};
        for (int i = 1; i < records; ++i)
            contents << QStringLiteral("[%1,%2,%3]%4@p%1.htm")
                            .arg(i)
                            .arg(deep ? "F" : "P")
                            .arg(deep ? i - 1 : 0)
                            .arg(QString(titleLength, 't'));
        return MakeProject(contents, {"k@welcome.html"}).toUtf8();
    };
    // 100,000 records; 100,000 levels deep; ten megabytes; a line of a megabyte.
    EXPECT_EQ(open(project(100000, false, 1)).nodes, 100000u);
    const QByteArray tenMegabytes = project(100000, false, 90);
    ASSERT_GT(tenMegabytes.size(), 10 * 1000 * 1000);
    EXPECT_EQ(open(tenMegabytes).nodes, 100000u);
    EXPECT_EQ(open(project(2, false, 1024 * 1024)).nodes, 2u);

    HelpFolder folder;
    folder.Write("help.vlp", project(100000, true, 1));
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    ASSERT_EQ(NodeTable.size(), 100000u);
    int deepest = 0;
    for (const TTreeNode *node : NodeTable)
        deepest = std::max(deepest, project::NodeDepth(node));
    EXPECT_EQ(deepest, project::MaxNodeDepth - 1);
    // Every node still shows its own topic.
    viewer.Select(NodeTable[99999]);
    Viewer::Settle();
    EXPECT_TRUE(viewer.Url().endsWith("/p99999.htm"));
}

TEST(HostileProject, StrangeTopicTargetsAreRequestedHarmlessly) {
    HelpFolder folder;
    folder.Mkdir("inner");
    folder.Page("outer.htm", "<p>Outside the help folder</p>");
    folder.Page("inner/welcome.html", "<p>Welcome</p>");
    const QStringList targets{"..\\outer.htm",
                              "C:\\Windows\\system.ini",
                              "/etc/passwd",
                              "CON",
                              "NUL",
                              "AUX",
                              "COM1.htm",
                              QString(10000, 'x') + ".htm",
                              "\\\\server\\share\\p.htm",
                              "%2e%2e/outer.htm"};
    QStringList contents{"[0,R,0]Home@welcome.html"};
    for (int i = 0; i < targets.size(); ++i)
        contents << QStringLiteral("[%1,P,0]T%1@%2").arg(i + 1).arg(targets.at(i));
    folder.WriteText("inner/help.vlp", MakeProject(contents, {}));
    MessageRecorder messages;
    Viewer viewer(folder, "inner/help.vlp");
    for (int i = 0; i < targets.size(); ++i) {
        SCOPED_TRACE(targets.at(i).left(40).toStdString());
        viewer.Select(NodeTable[size_t(i + 1)]);
        Viewer::Settle();
        EXPECT_EQ(viewer.Selected(), QStringLiteral("T%1").arg(i + 1));
        EXPECT_EQ(viewer.History().last(), QString::number(i + 1));
    }
    // A relative target names a page beside the help folder, as its author wrote it.
    viewer.Select(NodeTable[1]);
    Viewer::Settle();
    EXPECT_EQ(viewer.form1()->HTML1->GetPlainText(0, 0).simplified(), "Outside the help folder");
}

TEST(HostileProject, SearchOverAHugeFolderOfBrokenPages) {
    HelpFolder folder;
    for (int i = 0; i < 20000; ++i)
        folder.Write(QStringLiteral("f%1.%2").arg(i).arg(i % 2 ? "txt" : "htm"),
                     i % 1000 == 0 ? "<p>needle</p>" : "<p>hay</p>");
    folder.Write("binary.htm", QByteArray("\0\1\2needle", 9));
    folder.WriteText("deep.htm", QString("<div>").repeated(50000) + "needle");
    folder.WriteText("word.htm", "<p>" + QString(1000000, 'n') + "needle</p>");
    folder.Page("welcome.html", "<p>Welcome</p>");
    QStringList contents{"[0,R,0]Home@welcome.html", "[1,P,0]Deep@deep.htm", "[2,P,0]Word@word.htm",
                         "[3,P,0]Binary@binary.htm"};
    for (int i = 0; i < 20000; i += 1000)
        contents << QStringLiteral("[%1,P,0]F%2@f%2.htm").arg(contents.size()).arg(i);
    folder.WriteText("help.vlp", MakeProject(contents, {}));
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    viewer.form1()->Edit1->setText("needle");
    viewer.form1()->BitBtn1Click();
    QStringList titles;
    for (int i = 0; i < viewer.form1()->ListBox5->count(); ++i)
        titles << viewer.form1()->ListBox5->item(i)->text();
    titles.sort();
    EXPECT_EQ(titles.size(), 22); // twenty pages, the deep page and the long word
    EXPECT_TRUE(titles.contains("Deep"));
    EXPECT_TRUE(titles.contains("Word"));
    EXPECT_FALSE(titles.contains("Binary"));
}
