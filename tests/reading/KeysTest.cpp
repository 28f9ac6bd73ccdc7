#include "ReadingFixture.h"

#include "platform/InputBlock.h"

#include <QClipboard>
#include <QScrollBar>
#include <functional>

using testing_support::Viewer;

namespace {
QKeySequence alt(Qt::Key key) {
    return QKeySequence(Qt::ALT | key);
}
} // namespace

TEST_F(ReadingFixture, KeysAndMouseButtonsRunTheToolbarOnce) {
    click(viewer->Node("Book"));
    click(viewer->Node("Two"));
    ASSERT_EQ(viewer->History(), (QStringList{"0", "1", "2"}));
    html()->setFocus();

    const auto type = [](QKeySequence sequence) { return [sequence] { keys(sequence); }; };
    const auto mouse = [](Qt::MouseButton button, QWidget *widget) {
        return [button, widget] { QTest::mouseClick(widget, button, {}, QPoint(20, 20)); };
    };
    struct Step {
        const char *what;
        std::function<void()> act;
        const char *page;
        int position;
        QStringList messages;
    };
    const Step steps[] = {
        {"Alt+Left", type(alt(Qt::Key_Left)), "p1.htm", 1, {}},
        {"back button", mouse(Qt::BackButton, form()->TreeView1->viewport()), "p0.htm", 0, {}},
        {"Alt+Left at the bottom",
         type(alt(Qt::Key_Left)),
         "p0.htm",
         0,
         {"Bottom of History List."}},
        {"Alt+Right", type(alt(Qt::Key_Right)), "p1.htm", 1, {}},
        {"forward button", mouse(Qt::ForwardButton, html()->viewport()), "p2.htm", 2, {}},
        {"Alt+Right at the end", type(alt(Qt::Key_Right)), "p2.htm", 2, {"End of History List."}},
        {"Alt+Left while a search blocks the window",
         [&] {
             platform::InputBlock block(form());
             keys(alt(Qt::Key_Left));
         },
         "p2.htm",
         2,
         {}},
        {"Alt+Home", type(alt(Qt::Key_Home)), "p0.htm", 2, {}},
    };
    for (const Step &step : steps) {
        messages.Messages.clear();
        step.act();
        Viewer::Settle();
        EXPECT_EQ(page(), step.page) << step.what;
        EXPECT_EQ(viewer->HistoryPosition(), step.position) << step.what;
        EXPECT_EQ(messages.Texts(), step.messages) << step.what;
    }
    EXPECT_EQ(viewer->History(), (QStringList{"0", "1", "2"}));

    form()->TreeView1->expandAll();
    keys(QKeySequence(Qt::Key_F5));
    EXPECT_FALSE(viewer->Node("Book")->isExpanded());
    EXPECT_EQ(page(), "p0.htm");
    keys(QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_FALSE(form()->isVisible());
}

TEST_F(ReadingFixture, TabKeysBringATabAndItsControlForward) {
    html()->setFocus();
    struct Step {
        QKeySequence keys;
        int tab;
        QWidget *focus;
    };
    const Step steps[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_2), 1, form()->ListBox1},
        {QKeySequence(Qt::CTRL | Qt::Key_3), 2, form()->Edit1},
        {QKeySequence(Qt::CTRL | Qt::Key_1), 0, form()->TreeView1},
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1, form()->ListBox1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), 0, form()->TreeView1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), 2, form()->Edit1},
        {QKeySequence(Qt::Key_F6), 2, html()},
        {QKeySequence(Qt::Key_F6), 2, form()->Edit1},
    };
    for (const Step &step : steps) {
        keys(step.keys);
        EXPECT_EQ(form()->PageControl1->currentIndex(), step.tab)
            << step.keys.toString().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), step.focus) << step.keys.toString().toStdString();
    }
    // In the page, Tab reaches the link and Enter follows it.
    keys(QKeySequence(Qt::Key_F6));
    ASSERT_EQ(QApplication::focusWidget(), html());
    keys(QKeySequence(Qt::Key_Tab));
    keys(QKeySequence(Qt::Key_Return));
    EXPECT_EQ(page(), "p1.htm");
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(ReadingFixture, TypingInTheIndexJumpsToTheKeywordAndShowsIt) {
    keys(QKeySequence(Qt::CTRL | Qt::Key_2));
    QTest::keyClicks(form()->ListBox1, "br");
    Viewer::Settle();
    ASSERT_TRUE(form()->ListBox1->currentItem());
    EXPECT_EQ(form()->ListBox1->currentItem()->text(), "Bravo");
    EXPECT_EQ(page(), "p3.htm");
}

TEST_F(ReadingFixture, PlainKeysScrollThePageAndShiftKeysSelect) {
    QScrollBar *scroll = html()->verticalScrollBar();
    click(viewer->Node("Two"));
    ASSERT_EQ(page(), "p2.htm");
    ASSERT_GT(scroll->maximum(), 0);
    html()->setFocus();
    struct Move {
        QKeySequence keys;
        std::function<bool(int before, int after)> scrolled;
    };
    const auto grows = [](int before, int after) { return after > before; };
    const auto shrinks = [](int before, int after) { return after < before; };
    const Move moves[] = {
        {QKeySequence(Qt::Key_Down), grows},
        {QKeySequence(Qt::Key_PageDown), grows},
        {QKeySequence(Qt::Key_End),
         [scroll](int, int after) { return after == scroll->maximum(); }},
        {QKeySequence(Qt::Key_Up), shrinks},
        {QKeySequence(Qt::Key_PageUp), shrinks},
        {QKeySequence(Qt::Key_Home), [](int, int after) { return after == 0; }},
    };
    for (const Move &move : moves) {
        const int before = scroll->value();
        keys(move.keys);
        EXPECT_TRUE(move.scrolled(before, scroll->value()))
            << move.keys.toString().toStdString() << ": " << before << " -> " << scroll->value();
        EXPECT_EQ(selected(), "") << move.keys.toString().toStdString();
    }

    // Scrolled to the bottom, a selection starts in the lines shown, and the view stays there.
    keys(QKeySequence(Qt::Key_End));
    keys(QKeySequence(Qt::SHIFT | Qt::Key_End));
    EXPECT_EQ(selected(), "Filler line.");
    EXPECT_EQ(scroll->value(), scroll->maximum());
    keys(QKeySequence(Qt::SHIFT | Qt::Key_PageUp));
    EXPECT_GT(selected().count("Filler line."), 5);
    EXPECT_LT(scroll->value(), scroll->maximum());

    // From the top of Welcome: "Welcome", "Apple pie. An apple a day.", the table, "one".
    click(viewer->Node("Welcome"));
    ASSERT_EQ(page(), "p0.htm");
    html()->setFocus();
    const QChar paragraph(QChar::ParagraphSeparator);
    struct Step {
        QKeySequence keys;
        int times;
        std::function<bool(const QString &)> selection;
    };
    const auto is = [](const QString &text) {
        return [text](const QString &selection) { return selection == text; };
    };
    const Step steps[] = {
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), 3, is("Wel")},
        {QKeySequence(Qt::SHIFT | Qt::Key_End), 1, is("Welcome")},
        {QKeySequence(Qt::SHIFT | Qt::Key_Down), 1,
         [&](const QString &s) { return s.startsWith(QString("Welcome") + paragraph + "Apple"); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_Up), 1, is("Welcome")},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), 1, is("Welcom")},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_End), 1,
         [](const QString &s) { return s.startsWith("Welcom") && s.endsWith("one"); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Home), 1, is("")},
    };
    for (const Step &step : steps) {
        for (int i = 0; i < step.times; ++i)
            keys(step.keys);
        EXPECT_TRUE(step.selection(selected()))
            << step.keys.toString().toStdString() << ": '" << selected().toStdString() << "'";
    }

    // Shift+End, then Ctrl+C: the first line is what gets copied.
    QApplication::clipboard()->clear();
    keys(QKeySequence(Qt::SHIFT | Qt::Key_End));
    keys(QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(QApplication::clipboard()->text(), "Welcome");
    EXPECT_TRUE(messages.Messages.empty());
}
