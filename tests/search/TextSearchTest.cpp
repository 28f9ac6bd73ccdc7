#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/FileSystem.h"
#include "platform/InputBlock.h"
#include "platform/PageRead.h"
#include "search/LowerCase.h"
#include "search/PagePipeline.h"
#include "search/SearchMatch.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <set>

using namespace testing_support;

namespace {

class TextSearch : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Page("welcome.htm", "<p>Welcome to the Help system.</p>");
        folder.Page("Intro.HTM", "<p>The INTRODUCTION page.</p>");
        folder.Page("guide.html", "<p>A guide to   help   and <b>care</b>.</p>");
        folder.Page("orphan.htm", "<p>help that no Contents entry names</p>");
        folder.Write("notes.txt", "help in a text file");
        folder.Write("page.shtml", "<p>help</p>");
        folder.Mkdir("old.htm"); // a folder named like a page
        folder.WriteText("help.vlp",
                         MakeProject({"[0,R,0]Welcome@welcome.htm", "[1,P,0]Intro@intro.htm",
                                      "[2,P,0]Guide@guide.html", "[3,P,0]Folder@old.htm"},
                                     {}));
        viewer = std::make_unique<Viewer>(folder, "help.vlp");
        messages.Messages.clear();
    }
    TForm1 *form() const { return viewer->form1(); }
    QStringList results() const {
        QStringList titles;
        for (int i = 0; i < form()->ListBox5->count(); ++i)
            titles << form()->ListBox5->item(i)->text() + "@" + form()->ListBox6->item(i)->text();
        return titles;
    }
    QStringList search(const QString &phrase, int caseChoice = 0) {
        form()->RadioGroup1->SetItemIndex(caseChoice);
        form()->RadioGroup1Click();
        form()->Edit1->setText(phrase);
        form()->BitBtn1Click();
        return results();
    }
    // The results in the order the folder lists the pages.
    QStringList inListingOrder(const QStringList &expected) const {
        QStringList ordered;
        // Held in a variable: a range-for over "*temporary" reads a destroyed list.
        const std::optional<QStringList> names = platform::ListDirectory(folder.WindowsPath());
        for (const QString &name : *names)
            for (const QString &result : expected)
                if (result.section('@', 1).compare(name, Qt::CaseInsensitive) == 0)
                    ordered << result;
        return ordered;
    }

    HelpFolder folder;
    MessageRecorder messages;
    std::unique_ptr<Viewer> viewer;
};

// Notes the result count at each paint of the result list.
class ResultPaints : public QObject {
public:
    explicit ResultPaints(platform::TListBox *list) : list(list) {
        list->viewport()->installEventFilter(this);
    }
    std::set<int> During, After; // counts painted while a search ran, and after it
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            (platform::InputBlock::Active() ? During : After).insert(list->count());
        return false;
    }

private:
    platform::TListBox *list;
};

} // namespace

TEST_F(TextSearch, CaseModesAndPlainSubstrings) {
    EXPECT_EQ(search("HELP"), inListingOrder({"Welcome@welcome.htm", "Guide@guide.html"}));
    EXPECT_EQ(search("HELP", 1), QStringList());
    EXPECT_EQ(search("Help", 1), QStringList{"Welcome@welcome.htm"});
    // Upper-case file name: listed as Intro.HTM, matched as intro.htm.
    EXPECT_EQ(search("introduction"), QStringList{"Intro@intro.htm"});
    EXPECT_EQ(search("he"),
              inListingOrder({"Welcome@welcome.htm", "Intro@intro.htm", "Guide@guide.html"}));
    // White space is folded as the view folds it: "to help and" is one phrase.
    EXPECT_EQ(search("to help and"), QStringList{"Guide@guide.html"});
    EXPECT_TRUE(messages.Messages.empty()) << "no message, also for no results";
    EXPECT_EQ(form()->Edit1->text(), "to help and");
}

TEST_F(TextSearch, TheMainWindowTakesNoInputWhileTheResultsGrow) {
    std::vector<bool> blocked;
    std::vector<int> counts;
    QObject::connect(Form2->HTML1, &platform::THTML::OnEndRetrieval, form(), [&] {
        blocked.push_back(platform::InputBlock::Active());
        counts.push_back(form()->ListBox5->count());
    });
    form()->PageControl1->setCurrentWidget(form()->TabSheet3);
    ResultPaints paints(form()->ListBox5);
    // Pages read page by page, each slower than a display frame.
    search::PagePipeline::SetReaders(0);
    platform::SetPageReadObserver([](const QString &) { QThread::msleep(60); });
    search("help");
    platform::SetPageReadObserver(nullptr);
    search::PagePipeline::SetReaders(-1);
    ASSERT_EQ(counts.size(), 5u) << "one retrieval per candidate page";
    EXPECT_EQ(blocked, std::vector<bool>(5, true));
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_LT(counts.front(), form()->ListBox5->count()) << "results appear as pages are tested";
    EXPECT_FALSE(platform::InputBlock::Active());
    // The list is painted by the show after the one it grew in: the last show's count is seen
    // only after the search.
    for (size_t i = 0; i + 1 < counts.size(); ++i)
        EXPECT_TRUE(paints.During.contains(counts[i])) << counts[i] << " results never seen";

    // Pages read ahead come faster than frames; the list still ends painted whole.
    paints.After.clear();
    const int results = int(search("help").size());
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.After.contains(results); }));
    const auto *list = form()->ListBox5;
    EXPECT_FALSE(list->visualItemRect(list->item(results - 1)).isEmpty()) << "laid out";

    // Pages found ready are handed over without a nested loop; a key typed meanwhile is still
    // refused, not typed once the search is over.
    int shows = 0;
    const auto typeDuring = QObject::connect(Form2->HTML1, &platform::THTML::OnEndRetrieval, [&] {
        if (shows++ == 2)
            QCoreApplication::postEvent(
                form()->Edit1, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
    });
    EXPECT_EQ(search("help").size(), results);
    QObject::disconnect(typeDuring);
    QCoreApplication::processEvents();
    EXPECT_EQ(form()->Edit1->text(), "help");
}

TEST_F(TextSearch, PhrasesThatSearchNothing) {
    search("welcome");
    ASSERT_EQ(results(), QStringList{"Welcome@welcome.htm"});
    QSignalSpy retrievals(Form2->HTML1, &platform::THTML::OnEndRetrieval);

    EXPECT_EQ(search(""), QStringList{"Welcome@welcome.htm"}) << "the empty phrase keeps results";
    EXPECT_EQ(search("Vellumo Credits"), QStringList{"Welcome@welcome.htm"});
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].second, "CopyRights");
    EXPECT_EQ(form()->Edit1->text(), "");
    EXPECT_EQ(retrievals.count(), 0) << "no page was loaded";

    // The credits phrase in other letter case is an ordinary phrase; spaces are one too.
    EXPECT_EQ(search("vellumo credits"), QStringList());
    EXPECT_EQ(search(" "),
              inListingOrder({"Welcome@welcome.htm", "Intro@intro.htm", "Guide@guide.html"}));
    EXPECT_GT(retrievals.count(), 0);
}

TEST_F(TextSearch, EnterInTheEditBoxSearchesOtherKeysDoNot) {
    form()->PageControl1->setCurrentIndex(2);
    form()->Edit1->setFocus();
    QTest::keyClicks(form()->Edit1, "guide");
    EXPECT_EQ(results(), QStringList());
    QTest::keyClick(form()->Edit1, Qt::Key_Return);
    EXPECT_EQ(results(), QStringList{"Guide@guide.html"});
    EXPECT_EQ(form()->Edit1->text(), "guide");
}

TEST_F(TextSearch, ResultsOpenTheirTopic) {
    search("help");
    ASSERT_EQ(form()->ListBox5->count(), 2);
    form()->ListBox5->clearSelection();
    form()->ListBox5->setCurrentItem(nullptr);
    form()->ListBox5Click(); // nothing chosen: the first result is chosen and shown
    Viewer::Settle();
    EXPECT_EQ(form()->ListBox5->currentRow(), 0);
    EXPECT_TRUE(viewer->Url().endsWith("/" + form()->ListBox6->item(0)->text()));
    EXPECT_EQ(viewer->Selected(), form()->ListBox5->item(0)->text());

    form()->ListBox5->setCurrentRow(1);
    QTest::mouseClick(form()->ListBox5->viewport(), Qt::LeftButton, {},
                      form()->ListBox5->visualItemRect(form()->ListBox5->item(1)).center());
    Viewer::Settle();
    EXPECT_TRUE(viewer->Url().endsWith("/" + form()->ListBox6->item(1)->text()));

    // The next search clears the list; an empty list does nothing when clicked.
    search("nowhere to be found");
    EXPECT_EQ(form()->ListBox5->count(), 0);
    EXPECT_EQ(form()->ListBox6->count(), 0);
    const QString before = viewer->Url();
    form()->ListBox5Click();
    Viewer::Settle();
    EXPECT_EQ(viewer->Url(), before);
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(TextSearch, ResultTopicsAtTheFourteenCharacterBoundary) {
    // The rule is "more than 14": a URL of exactly 14 characters is refused.
    form()->HelpDir = "C:\\";
    form()->ListBox5->addItem("Short");
    form()->ListBox6->addItem("abc"); // file:///C|/abc: 14 characters
    form()->ListBox5->addItem("Long");
    form()->ListBox6->addItem("abcd");
    form()->ListBox5->setCurrentRow(0);
    form()->ListBox5Click();
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].first, "Html File not Found.");
    EXPECT_EQ(messages.Messages[0].second, "Html Help Error!");
    form()->ListBox5->setCurrentRow(1);
    form()->ListBox5Click();
    EXPECT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(viewer->Url(), "file:///C|/abcd");
}

TEST(SearchMatch, APageMatchesTheEntryThatIsIt) {
    const search::PageMatcher matcher(QStringList{"Data@data.htm", "Longer@a.html",
                                                  "Section@A.htm#part", "Again@a.htm", "bare.htm",
                                                  "Sub@sub\\x.htm"});
    EXPECT_EQ(matcher.Find("a.htm"), 2);
    EXPECT_EQ(matcher.Find("a.html"), 1);
    EXPECT_EQ(matcher.Find("data.htm"), 0);
    EXPECT_EQ(matcher.Find("bare.htm"), 4);
    EXPECT_EQ(matcher.Find("ta.htm"), -1);
    EXPECT_EQ(matcher.Find("x.htm"), -1);
    for (const char *name : {"page.htm", "PAGE.HTML", "x.htm.bak", "a.htmlfoo", "old.htm"})
        EXPECT_TRUE(search::IsCandidatePage(QString::fromLatin1(name).toLower())) << name;
    for (const char *name : {"page.shtml", "page.txt", ".", "..", "htm"})
        EXPECT_FALSE(search::IsCandidatePage(QString::fromLatin1(name))) << name;
}

TEST(SearchMatchWindow, AHitInAShortNameNeverShowsALongerOne) {
    HelpFolder folder;
    folder.Page("a.htm", "<p>needle</p>");
    folder.Page("data.htm", "<p>hay</p>");
    folder.Page("a.html", "<p>hay</p>");
    folder.WriteText(
        "help.vlp",
        MakeProject({"[0,R,0]Data@data.htm", "[1,R,0]Long@a.html", "[2,R,0]Short@a.htm"}, {}));
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    viewer.form1()->Edit1->setText("needle");
    viewer.form1()->BitBtn1Click();
    ASSERT_EQ(viewer.form1()->ListBox5->count(), 1);
    EXPECT_EQ(viewer.form1()->ListBox5->item(0)->text(), "Short");
    EXPECT_EQ(viewer.form1()->ListBox6->item(0)->text(), "a.htm");
}

TEST(SearchLowerCase, AgreesWithQtOnEveryKindOfText) {
    const QString cases[] = {
        "",
        "PLAIN ASCII Text 123 [@Z]",
        QString::fromUtf8("Caf\u00c9 \u00c0 la CR\u00c8ME"),
        QString::fromUtf8("\u0130stanbul \u0130I"), // dotted capital I lowers to two characters
        QString::fromUtf8("STRA\u1e9eE \u00df"),    // capital sharp s
        QString::fromUtf8("\u03a3\u039f\u03a6\u0399\u0391 \u0391\u03a3"),
        QString::fromUtf8("\U00010400\U00010401 Deseret"), // outside the basic plane
        QString(QChar(0xD801)) + "A",                      // a lone surrogate
        QString::fromUtf8("\u00c9") + QString(3000, 'X'),
    };
    for (const QString &text : cases) {
        QString lowered = text;
        search::LowerCase(lowered);
        EXPECT_EQ(lowered, text.toLower()) << text.toStdString();
    }
}
