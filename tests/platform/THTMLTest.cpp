#include "platform/THTML.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;
using platform::THTML;

namespace {

QString topicUrl(const HelpFolder &folder, const QString &name) {
    QString url =
        "file:///" + folder.WindowsPath().left(1) + "|" + folder.WindowsPath().mid(2) + name;
    return url.replace('\\', '/');
}

struct Control {
    explicit Control(THTML::Mode mode = THTML::Mode::View)
        : html(nullptr, THTML::ViewerFonts(), mode), arrivals(&html, &THTML::OnEndRetrieval) {
        html.resize(400, 300);
        html.show();
    }
    THTML html;
    QSignalSpy arrivals;
};

} // namespace

TEST(THTML, EveryRequestEndsOnceThroughTheEventLoop) {
    HelpFolder folder;
    folder.Page("a.htm", "<h1>Alpha</h1><p>First page.</p>");
    Control c;
    const QString url = topicUrl(folder, "a.htm");
    c.html.RequestDoc(url);
    EXPECT_EQ(c.arrivals.count(), 0) << "never from inside RequestDoc";
    Viewer::Settle();
    EXPECT_EQ(c.arrivals.count(), 1);
    EXPECT_EQ(c.html.GetWideStringProp(THTML::PropDocumentUrl), url);
    EXPECT_EQ(c.html.GetPlainText(0, 0).simplified(), "Alpha First page.");

    // A missing page: the built-in page, the URL asked for, still one arrival each.
    const QString missing = topicUrl(folder, "missing.htm");
    c.html.RequestDoc(missing);
    c.html.RequestDoc("file:///Q|/elsewhere.htm");
    c.html.RequestDoc("not a url");
    Viewer::Settle();
    EXPECT_EQ(c.arrivals.count(), 4);
    EXPECT_EQ(c.html.GetWideStringProp(THTML::PropDocumentUrl), "not a url");
    EXPECT_TRUE(c.html.GetPlainText(0, 0).contains("The page cannot be displayed"));
}

TEST(THTML, TopicUrlsAreFoundIgnoringCaseAndFragments) {
    HelpFolder folder;
    folder.Mkdir("Sub");
    folder.Page("Sub/Page.HTM", "<p>Deep</p><a name=\"end\"></a><p>End</p>");
    Control c;
    c.html.RequestDoc(topicUrl(folder, "sub/page.htm#end"));
    Viewer::Settle();
    EXPECT_EQ(c.html.GetPlainText(0, 0).simplified(), "Deep End");
    EXPECT_TRUE(c.html.GetWideStringProp(THTML::PropDocumentUrl).endsWith("sub/page.htm#end"));
}

TEST(THTML, TextOnlyControlKeepsTheTextOfThePage) {
    HelpFolder folder;
    folder.Page("a.htm", "<style>p{color:red}</style><p>Plain &amp; simple</p>");
    Control c(THTML::Mode::TextOnly);
    c.html.RequestDoc(topicUrl(folder, "a.htm"));
    Viewer::Settle();
    EXPECT_EQ(c.arrivals.count(), 1);
    EXPECT_EQ(c.html.GetPlainText(0, 0).simplified(), "Plain & simple");
    EXPECT_TRUE(c.html.document()->isEmpty()) << "nothing laid out";
    // A missing page and an image have no text.
    folder.Write("pic.htm.png", "\x89PNG\r\n\x1a\nhtml text inside");
    for (const char *page : {"none.htm", "pic.htm.png"}) {
        c.html.RequestDoc(topicUrl(folder, page));
        Viewer::Settle();
        EXPECT_EQ(c.html.GetPlainText(0, 0), "") << page;
    }
}

TEST(THTML, AClickedLinkIsFollowedAndEnds) {
    HelpFolder folder;
    folder.Page("a.htm", "<p><a href=\"b.htm\">Next page</a></p>");
    folder.Page("b.htm", "<p>Second</p>");
    Control c;
    c.html.RequestDoc(topicUrl(folder, "a.htm"));
    Viewer::Settle();
    ASSERT_TRUE(ClickLink(&c.html, "Next page"));
    EXPECT_EQ(c.arrivals.count(), 2);
    EXPECT_EQ(c.html.GetWideStringProp(THTML::PropDocumentUrl), topicUrl(folder, "b.htm"));
    EXPECT_EQ(c.html.GetPlainText(0, 0).simplified(), "Second");
}

TEST(THTML, NothingIsFetchedFromTheNetwork) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    HelpFolder folder;
    folder.Page("a.htm", QStringLiteral("<link rel=stylesheet href=\"%1s.css\">"
                                        "<style>@import url(%1i.css);</style>"
                                        "<p><img src=\"%1x.png\"> text</p>")
                             .arg(base));
    Control c;
    c.html.RequestDoc(topicUrl(folder, "a.htm"));
    Viewer::Settle();
    c.html.repaint();
    QTest::qWait(200);
    EXPECT_FALSE(server.hasPendingConnections());
    EXPECT_FALSE(server.waitForNewConnection(100));
}

TEST(THTML, FontsAndColoursReachTheView) {
    Control c;
    platform::TFont *body = c.html.GetTFontProp(THTML::FontBody);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->Name(), "Arial");
    EXPECT_EQ(body->Size(), 9.75);
    EXPECT_EQ(c.html.GetTFontProp(28)->Size(), 24);
    EXPECT_TRUE(c.html.GetTFontProp(33)->Style().Bold);
    EXPECT_EQ(c.html.GetTFontProp(5), nullptr);
    body->SetName("Courier New");
    body->SetSize(14);
    EXPECT_EQ(c.html.document()->defaultFont().family(), "Courier New");
    EXPECT_EQ(c.html.document()->defaultFont().pointSizeF(), 14);
    c.html.SetTColorProp(THTML::ColorBackground, 0x0000FF); // red in the low byte
    EXPECT_EQ(c.html.palette().color(QPalette::Base), QColor(255, 0, 0));
    c.html.SetTColorProp(THTML::ColorLink, 16711680);
    EXPECT_TRUE(c.html.document()->defaultStyleSheet().contains("#0000ff"));
}
