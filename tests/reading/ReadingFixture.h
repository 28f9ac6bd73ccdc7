#pragma once

#include "app/Unit1.h"
#include "navigation/TopicUrl.h"
#include "reading/FindBar.h"
#include "reading/Highlights.h"
#include "reading/ReadingTools.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

// The main window, shown and active, on four pages: Welcome (p0) holds "apple" in four letter
// cases and a link, Book (p1) one "apple", Two (p2) one "Banana" far down, Three (p3) "Banana"
// and "banana", More (p4) nothing of these. The Index is Alpha p1, Beta p2, Bravo p3, Charlie p0.
class ReadingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace testing_support;
        folder.Page("p0.htm", "<h1>Welcome</h1><p>Apple pie. An apple a day.</p>"
                              "<table><tr><td>APPLE cider</td><td>apple</td></tr></table>"
                              "<p><a href=\"p1.htm\">one</a></p>");
        folder.Page("p1.htm", "<h1>One</h1><p>Just one apple here.</p>");
        folder.Page("p2.htm", "<h1>Two</h1>" + QString("<p>Filler line.</p>").repeated(80) +
                                  "<p>Banana at the end.</p>");
        folder.Page("p3.htm", "<h1>Three</h1><p>Banana split, banana bread.</p>");
        folder.Page("p4.htm", "<h1>More</h1>");
        folder.WriteText(
            "help.vlp",
            MakeProject({"[0,R,0]Welcome@p0.htm", "[1,F,0]Book@p1.htm", "[2,P,1]Two@p2.htm",
                         "[3,P,1]Three@p3.htm", "[4,R,0]More@p4.htm"},
                        {"Alpha@p1.htm", "Beta@p2.htm", "Bravo@p3.htm", "Charlie@p0.htm"}));
        viewer = std::make_unique<Viewer>(folder, "help.vlp");
        form()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form()));
        messages.Messages.clear();
    }
    TForm1 *form() const { return viewer->form1(); }
    platform::THTML *html() const { return form()->HTML1; }
    reading::ReadingTools *tools() const { return form()->Reading; }
    reading::FindBar *bar() const { return tools()->Find(); }
    QString page() const { return navigation::PageName(viewer->Url()); }
    QString selected() const { return html()->textCursor().selectedText(); }
    int marks() const { return int(html()->extraSelections().size()); }
    // Keys typed where the focus is, as a reader types them.
    static void keys(const QKeySequence &sequence) {
        QWidget *target = QApplication::focusWidget();
        QTest::keySequence(target ? target : QApplication::activeWindow(), sequence);
        testing_support::Viewer::Settle();
    }
    void click(TTreeNode *node) const {
        viewer->Click(node);
        testing_support::Viewer::Settle();
    }

    testing_support::HelpFolder folder;
    testing_support::MessageRecorder messages;
    std::unique_ptr<testing_support::Viewer> viewer;
};
