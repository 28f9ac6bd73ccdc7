#include "app/Unit1.h"
#include "platform/MessageBox.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Ten nodes in pre-order: Welcome (A (a2, a3)), Ref (r5, r6, B (b8, b9)); page pN.htm is node N.
const QStringList TenNodes{"[0,R,0]Welcome@p0.htm", "[1,F,0]A@p1.htm",   "[2,P,1]a2@p2.htm",
                           "[3,P,1]a3@p3.htm",      "[4,R,0]Ref@p4.htm", "[5,P,4]r5@p5.htm",
                           "[6,P,4]r6@p6.htm",      "[7,F,4]B@p7.htm",   "[8,P,7]b8@p8.htm",
                           "[9,P,7]b9@p9.htm"};

class Navigation : public ::testing::Test {
protected:
    void open(const QStringList &contents, const QStringList &index = {}) {
        for (int i = 0; i < 10; ++i)
            folder.Page(QStringLiteral("p%1.htm").arg(i),
                        QStringLiteral("<h1>Page %1</h1><p><a href=\"P5.HTM\">to five</a> "
                                       "<a href=\"outside.htm\">outside</a></p>")
                            .arg(i));
        folder.Page("outside.htm", "<p>Not in the Contents.</p>");
        folder.WriteText("help.vlp", MakeProject(contents, index));
        viewer = std::make_unique<Viewer>(folder, "help.vlp");
        messages.Messages.clear();
    }
    TForm1 *form() const { return viewer->form1(); }
    QString page() const { return navigation::PageName(viewer->Url()); }
    TTreeNode *node(int n) const { return NodeTable.at(static_cast<size_t>(n)); }
    void press(QToolButton *button) {
        button->click();
        Viewer::Settle();
    }
    // Real mouse input on a view: a press at the first point, moves through the others with the
    // button held, the release at the last.
    static void mouse(QAbstractItemView *view, const QList<QPoint> &path,
                      Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(view->viewport(), button, keys, path.first());
        for (const QPoint &point : path.mid(1))
            QTest::mouseMove(view->viewport(), point);
        QTest::mouseRelease(view->viewport(), button, keys, path.last());
        Viewer::Settle();
    }
    // Clicks the link whose text is `text` in the page shown.
    void followLink(const QString &text) {
        ASSERT_TRUE(ClickLink(form()->HTML1, text)) << text.toStdString();
    }

    HelpFolder folder;
    MessageRecorder messages;
    std::unique_ptr<Viewer> viewer;
};

} // namespace

TEST_F(Navigation, HistoryWorkedExample) {
    open(TenNodes);
    // 1: the home page's arrival moved the selection from Ref to Welcome and recorded it.
    EXPECT_EQ(viewer->History(), QStringList{"0"});
    EXPECT_EQ(viewer->HistoryPosition(), 0);
    EXPECT_EQ(page(), "p0.htm");

    struct Step {
        std::function<void()> action;
        QStringList history;
        int position;
        const char *page;
        const char *message;
    };
    const auto select = [&](int n) {
        return [&, n] {
            viewer->Select(node(n));
            Viewer::Settle();
        };
    };
    const Step steps[] = {
        {select(3), {"0", "3"}, 1, "p3.htm", nullptr},
        {select(5), {"0", "3", "5"}, 2, "p5.htm", nullptr},
        {[&] { press(form()->SpeedButton2); }, {"0", "3", "5"}, 1, "p3.htm", nullptr},
        {[&] { press(form()->SpeedButton2); }, {"0", "3", "5"}, 0, "p0.htm", nullptr},
        {[&] { press(form()->SpeedButton2); },
         {"0", "3", "5"},
         0,
         "p0.htm",
         "Bottom of History List."},
        {[&] { press(form()->SpeedButton3); }, {"0", "3", "5"}, 1, "p3.htm", nullptr},
        {[&] {
             viewer->Click(node(7));
             Viewer::Settle();
         },
         {"0", "3", "5"},
         1,
         "p7.htm",
         nullptr},
        {select(9), {"0", "3", "5", "9"}, 3, "p9.htm", nullptr},
        {[&] { press(form()->SpeedButton2); }, {"0", "3", "5", "9"}, 2, "p5.htm", nullptr},
        {[&] { press(form()->SpeedButton3); }, {"0", "3", "5", "9"}, 3, "p9.htm", nullptr},
        {[&] { press(form()->SpeedButton3); },
         {"0", "3", "5", "9"},
         3,
         "p9.htm",
         "End of History List."},
    };
    int number = 2;
    for (const Step &step : steps) {
        SCOPED_TRACE(number++);
        messages.Messages.clear();
        step.action();
        EXPECT_EQ(viewer->History(), step.history);
        EXPECT_EQ(viewer->HistoryPosition(), step.position);
        EXPECT_EQ(page(), step.page);
        if (step.message) {
            ASSERT_EQ(messages.Messages.size(), 1u);
            EXPECT_EQ(messages.Messages[0].first, step.message);
            EXPECT_EQ(messages.Messages[0].second, "History List!");
        } else {
            EXPECT_TRUE(messages.Messages.empty());
        }
    }
}

TEST_F(Navigation, HomeRefreshAndTheHistoryAtItsEnds) {
    open(TenNodes);
    viewer->Select(node(3));
    Viewer::Settle();
    press(form()->SpeedButton1); // Home: shown, not recorded, position kept
    EXPECT_EQ(page(), "p0.htm");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "3"}));
    EXPECT_EQ(viewer->HistoryPosition(), 1);
    EXPECT_EQ(viewer->Selected(), "Welcome");
    EXPECT_EQ(SuppressHistory, 1);
    // A keyboard move after Home neither records nor shows.
    viewer->Select(node(6));
    Viewer::Settle();
    EXPECT_EQ(page(), "p0.htm");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "3"}));
    // Go Back goes back from the history position, not from the home page.
    press(form()->SpeedButton2);
    EXPECT_EQ(page(), "p0.htm");
    EXPECT_EQ(viewer->HistoryPosition(), 0);

    form()->TreeView1->expandAll();
    press(form()->SpeedButton4); // Refresh folds the tree, requests nothing
    QSignalSpy arrivals(form()->HTML1, &platform::THTML::OnEndRetrieval);
    Viewer::Settle();
    EXPECT_EQ(arrivals.count(), 0);
    for (int i = 0; i < form()->TreeView1->topLevelItemCount(); ++i)
        EXPECT_FALSE(form()->TreeView1->topLevelItem(i)->isExpanded());
}

TEST_F(Navigation, PageArrivalMakesTheTreeFollow) {
    open(TenNodes, {"fiver@p5.htm"});
    // A link followed inside a page: the tree follows (the link's case is not the target's),
    // the node is recorded once and its topic requested a second time, then the chain rests.
    QSignalSpy arrivals(form()->HTML1, &platform::THTML::OnEndRetrieval);
    followLink("to five");
    EXPECT_EQ(viewer->Selected(), "r5");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "5"}));
    EXPECT_EQ(arrivals.count(), 2);
    EXPECT_EQ(page(), "p5.htm");

    // An Index topic whose page is a Contents node's.
    viewer->Select(node(0));
    Viewer::Settle();
    arrivals.clear();
    form()->ListBox1->setCurrentRow(0);
    form()->ListBox1Click();
    Viewer::Settle();
    EXPECT_EQ(viewer->Selected(), "r5");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "5", "0", "5"}));
    EXPECT_EQ(arrivals.count(), 2);

    // After Go Back a followed link is shown and followed by the tree, but not recorded.
    press(form()->SpeedButton2);
    EXPECT_EQ(page(), "p0.htm");
    followLink("to five");
    EXPECT_EQ(viewer->Selected(), "r5");
    EXPECT_EQ(page(), "P5.HTM");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "5", "0", "5"}));
}

TEST_F(Navigation, APageOutsideTheContentsStaysOnScreen) {
    open(TenNodes);
    viewer->Select(node(3));
    Viewer::Settle();
    followLink("outside");
    EXPECT_EQ(page(), "outside.htm");
    EXPECT_EQ(viewer->Selected(), "a3");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "3"}));
}

TEST_F(Navigation, ANodeOutOfFileOrderShowsItsOwnTopic) {
    // The second record hangs under the third: creation order is not tree order.
    open({"[0,R,0]Welcome@p0.htm", "[1,R,0]Late@p1.htm", "[2,P,0]Early@p2.htm"});
    viewer->Select(viewer->Node("Early"));
    Viewer::Settle();
    EXPECT_EQ(page(), "p2.htm");
    EXPECT_EQ(viewer->Selected(), "Early");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "2"}));
    viewer->Select(viewer->Node("Late"));
    Viewer::Settle();
    EXPECT_EQ(page(), "p1.htm");
    EXPECT_EQ(viewer->History(), (QStringList{"0", "2", "1"}));
    press(form()->SpeedButton2);
    EXPECT_EQ(page(), "p2.htm");
}

TEST_F(Navigation, AnIndexKeywordShowsItsOwnTopicWhateverTheFileOrder) {
    open(TenNodes, {"Zebra@p9.htm", "apple@p3.htm", "Mango@p6.htm"});
    ASSERT_EQ(form()->ListBox1->count(), 3);
    EXPECT_EQ(form()->ListBox1->item(0)->text(), "apple");
    EXPECT_EQ(form()->ListBox1->item(2)->text(), "Zebra");
    for (const auto &[row, expected] : {std::pair{0, "p3.htm"}, {1, "p6.htm"}, {2, "p9.htm"}}) {
        form()->ListBox1->setCurrentRow(row);
        form()->ListBox1Click();
        Viewer::Settle();
        EXPECT_EQ(page(), expected) << row;
    }
}

TEST_F(Navigation, ClickHandlersOnEmptyAndShortEntries) {
    // The help folder's own URL is long enough for the tree but a target of "@" from the
    // Index is requested too (rule "more than 14" passes for any real folder).
    open(TenNodes, {"blank@"});
    form()->ListBox1->clearSelection();
    form()->ListBox1->setCurrentItem(nullptr);
    form()->ListBox1Click(); // nothing chosen: the first keyword is chosen and shown
    Viewer::Settle();
    EXPECT_EQ(form()->ListBox1->currentRow(), 0);
    EXPECT_TRUE(viewer->Url().endsWith('/'));
    EXPECT_TRUE(messages.Messages.empty());

    // Clicking the selected node shows its topic again and records nothing.
    viewer->Click(node(0));
    Viewer::Settle();
    EXPECT_EQ(page(), "p0.htm");
    EXPECT_EQ(viewer->History(), QStringList{"0"});
}

TEST_F(Navigation, TheTreeChangesOnlyWhenALeftPressPicksANode) {
    QTreeWidget *tree = nullptr;
    const auto row = [&](int n) { return tree->visualItemRect(node(n)).center(); };
    const auto indicator = [&](int n) {
        const QRect rect = tree->visualItemRect(node(n));
        return QPoint(rect.left() - tree->indentation() / 2, rect.center().y());
    };
    const auto key = [&](Qt::Key key) {
        QTest::keyClick(tree, key);
        Viewer::Settle();
    };
    const QPoint emptyArea(20, 285);
    // Each case starts on the home node with every book open but B (node 7).
    struct Case {
        const char *what;
        std::function<void()> act;
        QStringList history;
        const char *page;
        const char *selected;
        bool requested;
        QStringList open; // the books left open
    };
    const QStringList usual{"Welcome", "A", "Ref"};
    // clang-format off
    const Case cases[] = {
        {"drag", [&] { mouse(tree, {row(2), row(3), row(4), row(5)}); },
         {"0", "2"}, "p2.htm", "a2", true, usual},
        {"right click", [&] { mouse(tree, {row(3)}, Qt::RightButton); },
         {"0"}, "p0.htm", "Welcome", false, usual},
        {"middle click", [&] { mouse(tree, {row(3)}, Qt::MiddleButton); },
         {"0"}, "p0.htm", "Welcome", false, usual},
        {"empty area", [&] { mouse(tree, {emptyArea}); },
         {"0"}, "p0.htm", "Welcome", true, usual},
        {"indicator", [&] { mouse(tree, {indicator(7)}); },
         {"0"}, "p0.htm", "Welcome", true, {"Welcome", "A", "Ref", "B"}},
        // The click re-shows the hidden selected node's page; its arrival leaves A closed.
        {"indicator over the selected node", [&] { mouse(tree, {row(2)}); mouse(tree, {indicator(1)}); },
         {"0", "2"}, "p2.htm", "a2", true, {"Welcome", "Ref"}},
        {"ctrl click on the selected node", [&] { mouse(tree, {row(0)}, Qt::LeftButton, Qt::ControlModifier); },
         {"0"}, "p0.htm", "Welcome", true, usual},
        {"keys", [&] { key(Qt::Key_Down); key(Qt::Key_Down); },
         {"0", "1", "2"}, "p2.htm", "a2", true, usual},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        viewer.reset();
        open(TenNodes);
        tree = form()->TreeView1;
        tree->expandAll();
        node(7)->setExpanded(false);
        ASSERT_FALSE(tree->itemAt(emptyArea));
        tree->setFocus();
        QSignalSpy arrivals(form()->HTML1, &platform::THTML::OnEndRetrieval);
        c.act();
        EXPECT_EQ(viewer->History(), c.history);
        EXPECT_EQ(page(), c.page);
        EXPECT_EQ(viewer->Selected(), c.selected);
        EXPECT_TRUE(tree->currentItem()->isSelected());
        EXPECT_EQ(arrivals.count() > 0, c.requested);
        QStringList open;
        for (int n = 0; n < 10; ++n)
            if (node(n)->childCount() > 0 && node(n)->isExpanded())
                open << node(n)->text(0);
        EXPECT_EQ(open, c.open);
        EXPECT_TRUE(messages.Messages.empty());
    }
}

TEST_F(Navigation, TheListsReactOnlyToAPickedEntry) {
    open(TenNodes, {"apple@p3.htm", "Mango@p6.htm", "Zebra@p9.htm"});
    // Two search results.
    folder.Page("p3.htm", "<p>a marker</p>");
    folder.Page("p6.htm", "<p>the marker</p>");
    form()->Edit1->setText("marker");
    form()->BitBtn1->click();
    Viewer::Settle();
    ASSERT_EQ(form()->ListBox5->count(), 2);

    for (auto [list, tab] : {std::pair{form()->ListBox1, 1}, {form()->ListBox5, 2}}) {
        SCOPED_TRACE(list->objectName().toStdString());
        form()->PageControl1->setCurrentIndex(tab);
        const auto pageOf = [&](int row) {
            return list == form()->ListBox1 ? QStringLiteral("p%1.htm").arg(row == 0 ? 3 : 6)
                                            : form()->ListBox6->item(row)->text();
        };
        const auto row = [&](int r) { return list->visualItemRect(list->item(r)).center(); };
        const QPoint blank(20, list->viewport()->height() - 4);
        mouse(list, {row(0)});
        ASSERT_EQ(page(), pageOf(0));
        list->setFocus();

        struct Step {
            const char *what;
            std::function<void()> act;
            int selected;
            bool requested;
        };
        const Step steps[] = {
            {"blank area", [&] { mouse(list, {blank}); }, 0, false},
            {"ctrl click on the selected entry",
             [&] { mouse(list, {row(0)}, Qt::LeftButton, Qt::ControlModifier); }, 0, false},
            {"ctrl click", [&] { mouse(list, {row(1)}, Qt::LeftButton, Qt::ControlModifier); }, 0,
             false},
            {"shift click", [&] { mouse(list, {row(1)}, Qt::LeftButton, Qt::ShiftModifier); }, 0,
             false},
            {"right click", [&] { mouse(list, {row(1)}, Qt::RightButton); }, 0, false},
            {"middle click", [&] { mouse(list, {row(1)}, Qt::MiddleButton); }, 0, false},
            {"drag",
             [&] {
                 mouse(list, {row(0), row(1)});
             },
             0, true},
            {"click on the selected entry", [&] { mouse(list, {row(0)}); }, 0, true},
            {"click", [&] { mouse(list, {row(1)}); }, 1, true},
            {"key",
             [&] {
                 QTest::keyClick(list, Qt::Key_Up);
                 Viewer::Settle();
             },
             0, true},
        };
        for (const Step &step : steps) {
            SCOPED_TRACE(step.what);
            const QStringList history = viewer->History();
            QSignalSpy arrivals(form()->HTML1, &platform::THTML::OnEndRetrieval);
            step.act();
            EXPECT_EQ(list->currentRow(), step.selected);
            ASSERT_EQ(list->selectedItems().size(), 1);
            EXPECT_EQ(list->selectedItems().first(), list->item(step.selected));
            EXPECT_EQ(page(), pageOf(step.selected));
            EXPECT_EQ(arrivals.count() > 0, step.requested);
            // The tree follows a picked page and records it; nothing else records.
            const QString number = pageOf(step.selected).mid(1, 1);
            if (step.requested)
                EXPECT_EQ(viewer->History().last(), number);
            else
                EXPECT_EQ(viewer->History(), history);
        }
    }
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(Navigation, TheMainWindowTakesInputWhileAMessageBoxIsUp) {
    open(TenNodes);
    form()->TreeView1->expandAll();
    platform::SetMessageBoxHandler({}); // the real boxes
    // Through the window system, as a user's click comes, where a modal box would block it.
    const auto click = [&](int n) {
        QTreeWidget *tree = form()->TreeView1;
        const QPoint at = tree->viewport()->mapTo(form(), tree->visualItemRect(node(n)).center());
        QTest::mouseClick(form()->windowHandle(), Qt::LeftButton, {}, at);
        Viewer::Settle();
    };
    QStringList shown;
    WhileBoxIsUp("Bottom of History List.", [&](QMessageBox *bottom) {
        shown << bottom->text();
        EXPECT_EQ(bottom->windowTitle(), "History List!");
        EXPECT_EQ(bottom->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(bottom->buttons().size(), 1);
        EXPECT_EQ(bottom->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(bottom->parentWidget(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == bottom; }))
            << "the box takes the focus";
        click(3);
        EXPECT_EQ(page(), "p3.htm");
        EXPECT_EQ(viewer->History(), (QStringList{"0", "3"}));
        // A further box from a handler run while this one is up.
        WhileBoxIsUp("End of History List.", [&](QMessageBox *end) {
            shown << end->text();
            click(5); // after Go Forward: shown, not recorded
            EXPECT_EQ(page(), "p5.htm");
            QTest::mouseClick(end->button(QMessageBox::Ok), Qt::LeftButton);
        });
        press(form()->SpeedButton3);
        EXPECT_EQ(shown.size(), 2) << "Go Forward waited for its box";
        QTest::mouseClick(bottom->button(QMessageBox::Ok), Qt::LeftButton);
    });
    press(form()->SpeedButton2);
    EXPECT_EQ(shown, (QStringList{"Bottom of History List.", "End of History List."}));
    EXPECT_EQ(viewer->History(), (QStringList{"0", "3"}));
    EXPECT_EQ(viewer->HistoryPosition(), 1);
    EXPECT_EQ(page(), "p5.htm");
    EXPECT_EQ(viewer->Selected(), "r5");
    EXPECT_EQ(form()->CurrentNode, form()->TreeView1->currentItem());
}
