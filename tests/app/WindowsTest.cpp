#include "app/Unit1.h"
#include "app/Unit2.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QTabBar>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Placement {
    const char *name;
    QRect geometry;
};

class Windows : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Page("welcome.html", "<h1>Welcome</h1>");
        folder.WriteText("help.vlp", MakeProject({"[0,R,0]Welcome@welcome.html"}, {}));
        viewer = std::make_unique<Viewer>(folder, "help.vlp");
    }
    HelpFolder folder;
    MessageRecorder messages;
    std::unique_ptr<Viewer> viewer;
};

} // namespace

TEST_F(Windows, MainWindowLayoutAsDesigned) {
    TForm1 *form = viewer->form1();
    EXPECT_EQ(form->size(), QSize(604, 365));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "the border is fixed";
    EXPECT_EQ(QApplication::applicationName(), "Vellumo");

    const Placement placements[] = {
        {"Panel1", {8, 8, 201, 25}},         {"SpeedButton1", {0, 0, 41, 25}},
        {"SpeedButton4", {40, 0, 41, 25}},   {"SpeedButton2", {80, 0, 41, 25}},
        {"SpeedButton3", {120, 0, 41, 25}},  {"SpeedButton5", {160, 0, 41, 25}},
        {"PageControl1", {8, 40, 241, 313}}, {"TreeView1", {0, 0, 233, 289}},
        {"ListBox1", {0, 0, 233, 289}},      {"RadioGroup1", {0, 8, 233, 57}},
        {"Label1", {0, 72, 89, 17}},         {"BitBtn1", {104, 72, 129, 25}},
        {"Edit1", {0, 104, 233, 21}},        {"ListBox5", {0, 128, 233, 153}},
        {"HTML1", {256, 8, 337, 345}},       {"ListBox2", {464, 16, 9, 17}},
        {"ListBox3", {448, 16, 9, 17}},      {"ListBox4", {432, 16, 9, 17}},
        {"ListBox6", {416, 16, 9, 17}},
    };
    for (const Placement &p : placements) {
        const auto *widget = form->findChild<QWidget *>(QString::fromLatin1(p.name));
        ASSERT_NE(widget, nullptr) << p.name;
        EXPECT_EQ(widget->geometry(), p.geometry) << p.name;
    }
    for (QWidget *hidden :
         {static_cast<QWidget *>(form->ListBox2), static_cast<QWidget *>(form->ListBox3),
          static_cast<QWidget *>(form->ListBox4), static_cast<QWidget *>(form->ListBox6)})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
}

TEST_F(Windows, CaptionsHintsAndInitialChoices) {
    TForm1 *form = viewer->form1();
    const std::pair<QToolButton *, const char *> buttons[] = {{form->SpeedButton1, "Home"},
                                                              {form->SpeedButton4, "Refresh"},
                                                              {form->SpeedButton2, "Go Back"},
                                                              {form->SpeedButton3, "Go Forward"},
                                                              {form->SpeedButton5, "Exit Help"}};
    for (const auto &[button, hint] : buttons) {
        EXPECT_EQ(button->toolTip(), hint);
        EXPECT_EQ(button->accessibleName(), hint);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(button->icon().pixmap(16).isNull()) << hint;
    }
    EXPECT_EQ(form->PageControl1->tabText(0), "Contents");
    EXPECT_EQ(form->PageControl1->tabText(1), "Index");
    EXPECT_EQ(form->PageControl1->tabText(2), "Text Search");
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
    EXPECT_EQ(form->RadioGroup1->title(), "Case Sensitivity");
    EXPECT_EQ(form->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(form->Label1->text(), "Word or Phrase:");
    EXPECT_EQ(form->BitBtn1->text(), "Search");
    EXPECT_TRUE(form->BitBtn1->font().bold());
    EXPECT_EQ(form->TreeView1->indentation(), 19);
    for (const QIcon &image : form->ImageList1)
        EXPECT_EQ(image.availableSizes(), QList<QSize>{QSize(16, 16)});
    EXPECT_FALSE(form->windowIcon().pixmap(32).isNull());
    // The main window's caption is the project's title alone.
    EXPECT_EQ(form->windowTitle(), "Sample Help");
}

TEST_F(Windows, ExtractorWindowIsBorderlessMinimisedAndNeverOnScreen) {
    ASSERT_NE(Form2, nullptr);
    EXPECT_EQ(Form2->windowTitle(), "Searching...");
    EXPECT_TRUE(Form2->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(Form2->windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(Form2->HTML1->ControlMode(), platform::THTML::Mode::TextOnly);
    EXPECT_EQ(Form2->HTML1->Font(0).Name(), "Times New Roman");
    EXPECT_EQ(Form2->HTML1->Font(1).Name(), "Courier New");
    EXPECT_EQ(Form2->HTML1->Font(2).Size(), 24);
}

TEST_F(Windows, ExitHelpClosesTheMainWindow) {
    TForm1 *form = viewer->form1();
    ASSERT_TRUE(form->isVisible());
    form->SpeedButton5->click();
    EXPECT_FALSE(form->isVisible());
}
