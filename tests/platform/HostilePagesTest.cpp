#include "platform/PageGuard.h"
#include "platform/THTML.h"
#include "support/TestSupport.h"

#include <QDesktopServices>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace testing_support;
using platform::THTML;

namespace {

QString nested(const QString &open, const QString &close, int depth, const QString &inner) {
    return open.repeated(depth) + inner + close.repeated(depth);
}

QString topicUrl(const HelpFolder &folder, const QString &name) {
    QString url =
        "file:///" + folder.WindowsPath().left(1) + "|" + folder.WindowsPath().mid(2) + name;
    return url.replace('\\', '/');
}

// Records the links handed to the desktop instead of opening them.
class DesktopRecorder : public QObject {
    Q_OBJECT
public:
    DesktopRecorder() {
        for (const char *scheme : {"http", "https", "mailto", "file"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~DesktopRecorder() override {
        for (const char *scheme : {"http", "https", "mailto", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QStringList Opened;
public slots:
    void open(const QUrl &url) { Opened << url.toString(); }
};

} // namespace

TEST(PageGuard, MeasuresWhatWouldStallTheLayout) {
    const struct {
        const char *name;
        QString html;
        bool tooComplex;
    } cases[] = {
        {"12 nested tables", nested("<table><tr><td>", "</td></tr></table>", 12, "x"), false},
        {"13 nested tables", nested("<table><tr><td>", "</td></tr></table>", 13, "x"), true},
        {"1000 nested divs", nested("<div>", "</div>", 1000, "x"), false},
        {"1001 nested divs", nested("<DIV class=a>", "</DIV>", 1001, "x"), true},
        {"unclosed paragraphs", QString("<p>para").repeated(5000), false},
        {"unclosed list items", "<ul>" + QString("<li>item").repeated(5000) + "</ul>", false},
        {"void elements", QString("<br><img src=a.png><hr/>").repeated(3000), false},
        {"word of 10000", "<p>" + QString(10000, 'w') + "</p>", false},
        {"word of 10001", "<p>" + QString(10001, 'w') + "</p>", true},
        {"long words across tags", "<p>" + QString(6000, 'w') + "<b>" + QString(6000, 'w'), false},
        {"2 MiB page", "<p>" + QString("word ").repeated(450000), true},
        {"unbalanced closing tags", QString("</div></table>").repeated(2000) + "text", false},
    };
    for (const auto &c : cases) {
        const platform::PageShape shape = platform::MeasurePage(c.html);
        EXPECT_EQ(platform::TooComplexToLayOut(shape), c.tooComplex) << c.name;
    }
    const QString broken = platform::BreakableText(QString(2000, 'a'));
    EXPECT_EQ(broken.count(QChar(0x200B)), 3);
    EXPECT_EQ(QString(broken).remove(QChar(0x200B)), QString(2000, 'a'));
}

TEST(HostilePages, EachIsShownDegradedOrRefusedAndEndsOnce) {
    HelpFolder folder;
    folder.WriteText("tables.htm", nested("<table><tr><td>", "</td></tr></table>", 50, "deep"));
    folder.WriteText("divs.htm", nested("<div>", "</div>", 20000, "deep"));
    folder.WriteText("word.htm", "<p>" + QString(1000000, 'w') + "</p>");
    folder.Write("binary.dat", QByteArray("\x7f"
                                          "ELF\0\0\0\1\2\3",
                                          10));
    folder.Write("binary.htm", QByteArray("<p>before\0after</p>", 19));
    folder.Write("empty.htm", "");
    folder.Write("notes.txt", "plain notes\n" + QByteArray(200000, 'x'));
    folder.Mkdir("folder.htm");
    {
        QFile huge(folder.Path() + "/huge.htm");
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(33 * 1024 * 1024)); // sparse: nothing is written
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.Path() + "/pipe.htm").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", folder.Path() + "/zero.htm"));

    const struct {
        const char *page;
        const char *shows;
    } cases[] = {
        {"tables.htm", "too large or too deeply nested"},
        {"divs.htm", "too large or too deeply nested"},
        {"word.htm", "too large or too deeply nested"},
        {"binary.dat", "The page cannot be displayed"},
        {"binary.htm", "before"},
        {"empty.htm", ""},
        {"notes.txt", "plain notes"},
        {"folder.htm", "The page cannot be displayed"},
        {"huge.htm", "The page cannot be displayed"},
        {"pipe.htm", "The page cannot be displayed"},
        {"zero.htm", "The page cannot be displayed"},
    };
    for (const THTML::Mode mode : {THTML::Mode::View, THTML::Mode::TextOnly}) {
        THTML html(nullptr, THTML::ViewerFonts(), mode);
        html.resize(337, 345);
        html.show();
        QSignalSpy arrivals(&html, &THTML::OnEndRetrieval);
        for (const auto &c : cases) {
            SCOPED_TRACE(c.page);
            arrivals.clear();
            html.RequestDoc(topicUrl(folder, c.page));
            Viewer::Settle();
            EXPECT_EQ(arrivals.count(), 1);
            if (mode == THTML::Mode::View)
                EXPECT_TRUE(html.GetPlainText(0, 0).contains(c.shows));
        }
    }
}

TEST(HostilePages, LinksNeverLaunchOrReachTheNetwork) {
    HelpFolder folder;
    folder.Write("run.sh", "#!/bin/sh\ntouch \"$0.ran\"\n");
    QFile::setPermissions(folder.Path() + "/run.sh",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QStringList ignored{"javascript:alert(1)",    "data:text/html,<p>x</p>",
                              "ms-its:x.chm::/a.htm",   "hcp://system/x",
                              "smb://host/share/a.htm", "nfs://host/a.htm",
                              "vellumo-unknown:thing",  "file://server/share/a.htm"};
    const QStringList desktop{"http://example.com/a", "https://example.com/b", "mailto:a@b.c"};
    QString body;
    for (const QString &link : ignored + desktop)
        body += QStringLiteral("<p><a href=\"%1\">link %2</a></p>")
                    .arg(link.toHtmlEscaped(), link.left(6));
    body += "<p><a href=\"run.sh\">the program</a></p>";
    folder.Page("links.htm", body);

    DesktopRecorder recorder;
    THTML html(nullptr, THTML::ViewerFonts());
    html.resize(600, 1200);
    html.show();
    QSignalSpy arrivals(&html, &THTML::OnEndRetrieval);
    const QString start = topicUrl(folder, "links.htm");
    html.RequestDoc(start);
    Viewer::Settle();
    arrivals.clear();
    for (const QString &link : ignored + desktop) {
        SCOPED_TRACE(link.toStdString());
        ASSERT_TRUE(ClickLink(&html, "link " + link.left(6)));
        EXPECT_EQ(arrivals.count(), 0);
        EXPECT_EQ(html.GetWideStringProp(THTML::PropDocumentUrl), start);
    }
    EXPECT_EQ(recorder.Opened,
              QStringList({"http://example.com/a", "https://example.com/b", "mailto:a@b.c"}));

    // A file link is shown in the viewer, whatever the file; a program is never started.
    ASSERT_TRUE(ClickLink(&html, "the program"));
    EXPECT_EQ(arrivals.count(), 1);
    EXPECT_TRUE(html.GetPlainText(0, 0).contains("touch"));
    EXPECT_FALSE(QFile::exists(folder.Path() + "/run.sh.ran"));
}

#include "HostilePagesTest.moc"
