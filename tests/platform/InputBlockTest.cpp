#include "platform/InputBlock.h"
#include "platform/MessageBox.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(InputBlock, TheBlockedWindowTakesNoInputOthersDo) {
    QWidget window;
    auto *edit = new QLineEdit(&window);
    new QVBoxLayout(&window);
    window.layout()->addWidget(edit);
    window.show();
    QLineEdit other; // a window of its own, as a message box would be
    other.show();
    {
        platform::InputBlock block(&window);
        platform::InputBlock nested(&window);
        EXPECT_TRUE(platform::InputBlock::Active());
        QTest::keyClicks(edit, "typed");
        QTest::mouseClick(edit, Qt::LeftButton);
        EXPECT_FALSE(window.close()) << "the close box is ignored";
        EXPECT_TRUE(window.isVisible());
        QTest::keyClicks(&other, "ok");
        // A message box shown meanwhile takes input: its OK button dismisses it.
        bool dismissed = false;
        testing_support::WhileBoxIsUp("While blocked", [&](QMessageBox *box) {
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            dismissed = !box->isVisible();
            box->done(0);
        });
        platform::MessageBoxA("While blocked", "Caption");
        EXPECT_TRUE(dismissed);
    }
    EXPECT_FALSE(platform::InputBlock::Active());
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(other.text(), "ok");
    QTest::keyClicks(edit, "now");
    EXPECT_EQ(edit->text(), "now");
    EXPECT_TRUE(window.close());
}
