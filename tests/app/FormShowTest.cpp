#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/CommandLine.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString IconMessage = QStringLiteral("Application Icon File not found");

QByteArray iconBytes() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "ICO");
    return bytes;
}

} // namespace

TEST(FormShow, CaptionIconAndHomeTopicInBothControls) {
    HelpFolder folder;
    folder.Page("welcome.html", "<p>Hello</p>");
    folder.Write("APP.ICO", iconBytes());
    folder.WriteText("help.vlp", MakeProject({"[0,R,0]Welcome@welcome.html"}, {},
                                             {{2, "My Product Help"}, {3, "APP.ICO"}}));
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    EXPECT_TRUE(messages.Messages.empty()) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(viewer.form1()->windowTitle(), "My Product Help");
    EXPECT_EQ(QApplication::applicationName(), "Vellumo");
    EXPECT_FALSE(viewer.form1()->windowIcon().pixmap(32).isNull());
    EXPECT_EQ(IconFileName, folder.WindowsPath() + "APP.ICO");

    const QString home = TForm1::MakeTopicURL(folder.WindowsPath() + "welcome.html");
    EXPECT_EQ(viewer.Url(), home);
    EXPECT_EQ(viewer.form1()->PageURL, home);
    EXPECT_EQ(Form2->HTML1->GetWideStringProp(platform::THTML::PropDocumentUrl), home);
    EXPECT_EQ(viewer.form1()->PageText.simplified(), "Hello");
    EXPECT_EQ(ViewerReady, 1);
    // The loader had left the home node selected: its arrival changes nothing, records nothing.
    EXPECT_EQ(viewer.Selected(), "Welcome");
    EXPECT_EQ(viewer.History(), QStringList());
}

TEST(FormShow, IconMessageCases) {
    const struct {
        const char *iconValue;
        bool message;
    } cases[] = {
        {"", true},         // no icon named: the path is the help folder itself
        {"app.bmp", true},  // only ".ico" names are loaded
        {"junk.ico", true}, // named, but no icon inside
        {"none.ico", true}, // named, but missing
        {"APP.ICO", false}, // the extension ignores case
        {"app.ico", false}, // found ignoring case on a case-sensitive file system
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.iconValue);
        HelpFolder folder;
        folder.Page("a.htm", "<p>A</p>");
        folder.Write("APP.ICO", iconBytes());
        folder.Write("app.bmp", "BM");
        folder.Write("junk.ico", "not an icon at all");
        folder.WriteText("help.vlp", MakeProject({"[0,R,0]A@a.htm"}, {}, {{3, c.iconValue}}));
        MessageRecorder messages;
        Viewer viewer(folder, "help.vlp");
        const bool shown =
            messages.Messages.size() == 1 &&
            messages.Messages[0] == std::pair(IconMessage, QStringLiteral("Icon Error!"));
        EXPECT_EQ(shown, c.message) << messages.Texts().join('|').toStdString();
        EXPECT_EQ(navigation::PageName(viewer.Url()), "a.htm") << "the start-up went on";
    }
}

TEST(FormShow, HomeTargetWithoutAtAndProjectsWithoutContents) {
    HelpFolder folder;
    folder.Page("start.htm", "<p>Start</p>");
    folder.WriteText("help.vlp", MakeProject({"[0,R,0]start.htm"}, {}));
    MessageRecorder messages;
    {
        Viewer viewer(folder, "help.vlp");
        EXPECT_EQ(navigation::PageName(viewer.Url()), "start.htm");
        EXPECT_EQ(viewer.Selected(), "");
    }

    // No contents record: nothing requested, no message but the icon's, and still usable.
    folder.WriteText("help.vlp", MakeProject({}, {"Key@start.htm"}));
    messages.Messages.clear();
    Viewer viewer(folder, "help.vlp");
    EXPECT_EQ(messages.Texts(), QStringList{IconMessage});
    EXPECT_EQ(viewer.Url(), "");
    EXPECT_EQ(ViewerReady, 1);
    viewer.form1()->ListBox1Click();
    Viewer::Settle();
    EXPECT_EQ(navigation::PageName(viewer.Url()), "start.htm");
    viewer.form1()->SpeedButton1Click(); // Home with no Contents
    EXPECT_EQ(messages.Texts().last(), "Html File not Found.");
}

TEST(FormShow, TheExtractorRunsEvenWhenTheHomeUrlIsTooShort) {
    HelpFolder folder;
    folder.WriteText("help.vlp", MakeProject({"[0,R,0]Root@"}, {}));
    MessageRecorder messages;
    platform::SetCommandLine("Z:\\opt\\vellumo " + folder.WindowsPath() + "help.vlp");
    TForm1 form;
    Form1 = &form;
    TForm2 extractor;
    Form2 = &extractor;
    form.HelpDir = "C:\\"; // the root of a drive: "file:///C|/" has 11 characters
    QSignalSpy mainArrivals(form.HTML1, &platform::THTML::OnEndRetrieval);
    QSignalSpy extractorArrivals(extractor.HTML1, &platform::THTML::OnEndRetrieval);
    form.FormShow();
    Viewer::Settle();
    EXPECT_EQ(mainArrivals.count(), 0);
    EXPECT_EQ(form.HTML1->GetWideStringProp(platform::THTML::PropDocumentUrl), "");
    EXPECT_EQ(form.PageURL, "file:///C|/");
    EXPECT_EQ(extractorArrivals.count(), 1);
    EXPECT_EQ(extractor.HTML1->GetWideStringProp(platform::THTML::PropDocumentUrl), "file:///C|/");
    Form2 = nullptr;
    Form1 = nullptr;
}

TEST(FormShow, TheExtractorRetrievesAnewAndGivesUpOnSilence) {
    HelpFolder folder;
    folder.Page("a.htm", "<p>First</p>");
    folder.WriteText("help.vlp", MakeProject({"[0,R,0]A@a.htm"}, {}));
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    QSignalSpy arrivals(Form2->HTML1, &platform::THTML::OnEndRetrieval);
    Form1->PageURL = TForm1::MakeTopicURL(folder.WindowsPath() + "a.htm");
    EXPECT_EQ(Form2->ShowModal(), 1);
    folder.Page("a.htm", "<p>Second</p>");
    EXPECT_EQ(Form2->ShowModal(), 1);
    EXPECT_EQ(arrivals.count(), 2);
    EXPECT_EQ(Form1->PageText.simplified(), "Second");

    // A control that never reports the end: the show ends after its time-out, text empty.
    Form2->HTML1->blockSignals(true);
    EXPECT_EQ(Form2->ShowModal(), 2);
    Form2->HTML1->blockSignals(false);
    EXPECT_EQ(Form1->PageText, "");
}
