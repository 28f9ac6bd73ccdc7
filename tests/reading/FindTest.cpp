#include "ReadingFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>
#include <functional>
#include <utility>

using testing_support::Viewer;

namespace {
// "3 of 12" -> 12
int total(const QString &count) {
    return count.section(QStringLiteral(" of "), 1).toInt();
}
} // namespace

TEST_F(ReadingFixture, FindInPageAsTheReaderTypes) {
    keys(QKeySequence(Qt::CTRL | Qt::Key_F));
    ASSERT_TRUE(bar()->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), bar()->Edit);
    // The bar lies inside the page view, which keeps its place in the window.
    EXPECT_EQ(html()->geometry(), QRect(256, 8, 337, 345));
    EXPECT_TRUE(html()->rect().contains(bar()->geometry()));
    EXPECT_GE(bar()->geometry().top(), html()->height() / 2);
    EXPECT_EQ(bar()->PreviousButton->text(), "Find Previous");
    EXPECT_EQ(bar()->NextButton->text(), "Find Next");
    EXPECT_EQ(bar()->CloseButton->text(), "Close Find");
    // What a screen reader announces for each control.
    const std::pair<QWidget *, const char *> named[] = {
        {bar()->Edit, "Find in page"},      {bar()->PreviousButton, "Find Previous"},
        {bar()->NextButton, "Find Next"},   {bar()->MatchCase, "Match case"},
        {bar()->CloseButton, "Close Find"},
    };
    for (const auto &[widget, name] : named)
        EXPECT_EQ(widget->accessibleName(), name) << name;

    QLineEdit *edit = bar()->Edit;
    const auto type = [edit](const char *text) {
        return [edit, text] { QTest::keyClicks(edit, text); };
    };
    const auto key = [edit](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        return [edit, key, modifiers] { QTest::keyClick(edit, key, modifiers); };
    };
    const auto press = [](QAbstractButton *button) {
        return [button] { QTest::mouseClick(button, Qt::LeftButton); };
    };
    struct Step {
        const char *what;
        std::function<void()> act;
        const char *count;
        const char *selection;
    };
    // Welcome reads "Apple pie. An apple a day." and a table of "APPLE cider" and "apple".
    const Step steps[] = {
        {"typing", type("app"), "1 of 4", "App"},
        {"typing on", type("le"), "1 of 4", "Apple"},
        {"Enter", key(Qt::Key_Return), "2 of 4", "apple"},
        {"Shift+Enter", key(Qt::Key_Return, Qt::ShiftModifier), "1 of 4", "Apple"},
        {"Shift+Enter wraps", key(Qt::Key_Return, Qt::ShiftModifier), "4 of 4", "apple"},
        {"F3 wraps", key(Qt::Key_F3), "1 of 4", "Apple"},
        {"Shift+F3", key(Qt::Key_F3, Qt::ShiftModifier), "4 of 4", "apple"},
        {"Find Next", press(bar()->NextButton), "1 of 4", "Apple"},
        {"Match case", press(bar()->MatchCase), "1 of 2", "apple"},
        {"Find Previous", press(bar()->PreviousButton), "2 of 2", "apple"},
        {"no match", type("x"), "0 of 0", ""},
        {"Backspace", key(Qt::Key_Backspace), "1 of 2", "apple"},
    };
    for (const Step &step : steps) {
        step.act();
        Viewer::Settle();
        EXPECT_EQ(bar()->Count->text(), step.count) << step.what;
        EXPECT_EQ(selected(), step.selection) << step.what;
        EXPECT_EQ(marks(), total(bar()->Count->text())) << step.what;
    }
    // The second "apple" with that letter case is the one in the table.
    QTest::mouseClick(bar()->PreviousButton, Qt::LeftButton);
    EXPECT_EQ(bar()->Count->text(), "2 of 2");
    EXPECT_EQ(html()->textCursor().block().text(), "apple");

    // Another page keeps the bar open and finds again.
    click(viewer->Node("Book"));
    ASSERT_EQ(page(), "p1.htm");
    EXPECT_TRUE(bar()->isVisible());
    EXPECT_EQ(bar()->Count->text(), "1 of 1");
    EXPECT_EQ(selected(), "apple");

    // Far down a long page, the match is scrolled into view above the bar.
    QScrollBar *scroll = html()->verticalScrollBar();
    click(viewer->Node("Two"));
    ASSERT_EQ(page(), "p2.htm");
    EXPECT_EQ(scroll->value(), 0);
    edit->selectAll();
    QTest::keyClicks(edit, "Banana");
    Viewer::Settle();
    EXPECT_EQ(bar()->Count->text(), "1 of 1");
    EXPECT_EQ(selected(), "Banana");
    EXPECT_GT(scroll->value(), 0);
    EXPECT_TRUE(html()->viewport()->rect().contains(html()->cursorRect()));

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(bar()->isVisible());
    EXPECT_EQ(marks(), 0);
    EXPECT_EQ(selected(), "");
    EXPECT_TRUE(messages.Messages.empty());
}
