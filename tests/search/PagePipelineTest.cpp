#include "search/PagePipeline.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/FileSystem.h"
#include "platform/PageRead.h"
#include "search/PageCache.h"
#include "search/SearchMatch.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>

using namespace testing_support;
using search::PageCache;
using search::PagePipeline;

namespace {

// A help folder with a Contents entry "Title name@name" for each page, searched through the
// real windows.
class ThreadedSearch : public ::testing::Test {
protected:
    void TearDown() override {
        // Readers left on stalled pages end once their reads do; nothing may outlive the test.
        EXPECT_TRUE(QTest::qWaitFor([] { return PagePipeline::RunningReaders() == 0; }, 10000));
        platform::SetPageReadObserver(nullptr);
        PagePipeline::SetReaders(-1);
        PageCache::Shared().SetCapacity(PageCache::DefaultCapacity);
        PageCache::Shared().Clear();
    }
    void Open(const QStringList &pages) {
        QStringList records;
        for (const QString &page : pages)
            records << QStringLiteral("[%1,R,0]Title %2@%2").arg(records.size()).arg(page);
        folder.WriteText("help.vlp", MakeProject(records, {}));
        viewer = std::make_unique<Viewer>(folder, "help.vlp");
    }
    // The targets of the results of a search with `readers` reader threads (0: page by page).
    QStringList Search(const QString &phrase, int readers = -1, int caseChoice = 0) {
        PagePipeline::SetReaders(readers);
        TForm1 *form = viewer->form1();
        form->RadioGroup1->SetItemIndex(caseChoice);
        form->RadioGroup1Click();
        form->Edit1->setText(phrase);
        form->BitBtn1Click();
        QStringList found;
        for (int i = 0; i < form->ListBox5->count(); ++i) {
            EXPECT_EQ(form->ListBox5->item(i)->text(), "Title " + form->ListBox6->item(i)->text());
            found << form->ListBox6->item(i)->text();
        }
        return found;
    }
    // The candidate pages in the order the folder lists them.
    QStringList Listing() const {
        QStringList pages;
        const std::optional<QStringList> names = platform::ListDirectory(folder.WindowsPath());
        for (const QString &name : *names)
            if (search::IsCandidatePage(name.toLower()))
                pages << name;
        return pages;
    }
    QStringList InListingOrder(const QStringList &pages) const {
        QStringList ordered;
        for (const QString &name : Listing())
            if (pages.contains(name))
                ordered << name;
        return ordered;
    }

    HelpFolder folder;
    MessageRecorder messages;
    std::unique_ptr<Viewer> viewer;
};

// Blocks the reading of some pages until released, as a hung network file system would.
class Stall {
public:
    explicit Stall(QStringList pages) : stalled(std::move(pages)) {}
    void operator()(const QString &native) {
        const QString name = native.section(u'/', -1);
        std::unique_lock lock(mutex);
        readWhileHeld.append({name, held});
        if (!stalled.contains(name))
            return;
        ++held;
        wake.wait(lock, [this] { return released; });
        --held;
    }
    void Release() {
        const std::lock_guard lock(mutex);
        released = true;
        wake.notify_all();
    }
    // Each page read, with how many stalled reads were held at that moment.
    QList<std::pair<QString, int>> Reads() {
        const std::lock_guard lock(mutex);
        return readWhileHeld;
    }

private:
    const QStringList stalled;
    std::mutex mutex;
    std::condition_variable wake;
    bool released = false;
    int held = 0;
    QList<std::pair<QString, int>> readWhileHeld;
};

void setModified(const QString &path, const timespec &time) {
    const timespec times[2] = {time, time};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

timespec modifiedOf(const QString &path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

} // namespace

TEST_F(ThreadedSearch, ThreadsFindWhatPageByPageFinds) {
    QStringList pages;
    QStringList expected;
    QStringList upper;
    const char *const forms[] = {"needle", "NEEDLE", "Need<b>le</b>", "caf\u00e9 N\u00c9EDLE",
                                 "ne&#101;dle"};
    for (int i = 0; i < 150; ++i) {
        const QString name = QStringLiteral("p%1.htm").arg(i);
        const bool hit = i % 3 == 0;
        folder.Page(name, QStringLiteral("<p>page %1 %2 hay</p>")
                              .arg(i)
                              .arg(hit ? QString::fromUtf8(forms[i / 3 % 5]) : "nee dle"));
        pages << name;
        if (hit && i / 3 % 5 != 3)
            expected << name;
        if (hit && i / 3 % 5 == 1)
            upper << name;
    }
    // What may lie among pages: a NUL that ends the text, a text larger than a reader's
    // buffers keep, a program, a page too big to read, a pipe, a device, a folder, a page
    // that vanishes just before it is read, and one that becomes a pipe after its look (a
    // reader blocked in its open would outlive the test).
    folder.Write("cut.htm", QByteArray("<p>needle\0 hay</p>", 18));
    folder.Write("long.htm", "<p>" + QByteArray(1536 * 1024, 'h') + " needle</p>");
    folder.Write("program.htm.bak", QByteArray("\x7f"
                                               "ELF\0needle",
                                               11));
    folder.Write("huge.htm", "<p>needle</p>");
    ASSERT_TRUE(QFile::resize(folder.Path() + "/huge.htm", platform::MaxFileSize + 1));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.Path() + "/pipe.htm").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", folder.Path() + "/zero.htm"));
    folder.Mkdir("folder.htm");
    pages << "cut.htm"
          << "long.htm"
          << "program.htm.bak"
          << "huge.htm"
          << "pipe.htm"
          << "zero.htm"
          << "folder.htm"
          << "vanish.htm"
          << "swapped.htm";
    expected << "cut.htm"
             << "long.htm";
    Open(pages);
    platform::SetPageReadObserver([](const QString &native) {
        if (native.endsWith(u"/vanish.htm") || native.endsWith(u"/swapped.htm"))
            QFile::remove(native);
        if (native.endsWith(u"/swapped.htm"))
            ::mkfifo(QFile::encodeName(native).constData(), 0600);
    });
    const auto restore = [&] {
        for (const char *name : {"vanish.htm", "swapped.htm"}) {
            QFile::remove(folder.Path() + "/" + name);
            folder.Page(name, "<p>needle</p>");
        }
    };

    for (const int readers : {0, 1, 2, 5}) {
        SCOPED_TRACE(readers);
        PageCache::Shared().Clear();
        restore();
        EXPECT_EQ(Search("needle", readers), InListingOrder(expected));
        restore();
        EXPECT_EQ(Search("NEEDLE", readers, 1), InListingOrder(upper));
    }
}

TEST_F(ThreadedSearch, AStalledPageCostsItsTimeOutAndHoldsUpNoOtherPage) {
    QStringList pages;
    for (int i = 0; i < 30; ++i) {
        pages << QStringLiteral("p%1.htm").arg(i);
        folder.Page(pages.last(), "<p>needle</p>");
    }
    Open(pages);
    // The second and third pages listed stall: with two readers, both are held up by them,
    // the first page read and ready but its batch never complete.
    const QStringList listing = Listing();
    const QStringList stalled = listing.mid(1, 2);
    Stall stall(stalled);
    platform::SetPageReadObserver([&stall](const QString &native) { stall(native); });
    QSignalSpy retrievals(Form2->HTML1, &platform::THTML::OnEndRetrieval);

    const QStringList found = Search("needle", 2);
    EXPECT_EQ(found, listing.mid(0, 1) + listing.mid(3))
        << "a page that never ends reading gives no text";
    EXPECT_EQ(retrievals.count(), listing.size() - 2);
    // The pages after them were read while both stalled reads were still held.
    int readMeanwhile = 0;
    for (const auto &[name, held] : stall.Reads())
        readMeanwhile += !stalled.contains(name) && held == 2;
    EXPECT_EQ(readMeanwhile, listing.size() - 3);
    stall.Release();
    EXPECT_TRUE(QTest::qWaitFor([] { return PagePipeline::RunningReaders() == 0; }, 10000));
}

TEST_F(ThreadedSearch, TheCacheIsNeverWrong) {
    folder.Write("a.htm", "<p>alpha</p>");
    folder.Write("b.htm", "<p>bravo</p>");
    folder.Write("c.htm", "<p>charlie</p>");
    Open({"a.htm", "b.htm", "c.htm", "d.htm"});
    std::atomic<int> reads{0};
    platform::SetPageReadObserver([&reads](const QString &) { ++reads; });
    const QString a = folder.Path() + "/a.htm";

    EXPECT_EQ(Search("alpha"), QStringList{"a.htm"});
    EXPECT_EQ(reads.exchange(0), 3);
    EXPECT_EQ(Search("bravo"), QStringList{"b.htm"});
    EXPECT_EQ(Search("CHARLIE", -1, 1), QStringList());
    EXPECT_EQ(reads.exchange(0), 0) << "unchanged pages are not read again";

    // Edited in place: the same size, a time one nanosecond later.
    timespec time = modifiedOf(a);
    folder.Write("a.htm", "<p>delta</p>");
    time.tv_nsec = (time.tv_nsec + 1) % 1000000000;
    setModified(a, time);
    EXPECT_EQ(Search("alpha"), QStringList());
    EXPECT_EQ(Search("delta"), QStringList{"a.htm"});

    // Replaced by another file renamed over it: the same size and time, another inode.
    folder.Write("new.tmp", "<p>echoo</p>");
    setModified(folder.Path() + "/new.tmp", modifiedOf(a));
    ASSERT_EQ(::rename(QFile::encodeName(folder.Path() + "/new.tmp").constData(),
                       QFile::encodeName(a).constData()),
              0);
    EXPECT_EQ(Search("echoo"), QStringList{"a.htm"});

    // Deleted, and new.
    ASSERT_TRUE(QFile::remove(folder.Path() + "/b.htm"));
    EXPECT_EQ(Search("bravo"), QStringList());
    folder.Write("d.htm", "<p>bravo</p>");
    EXPECT_EQ(Search("bravo"), QStringList{"d.htm"});
    EXPECT_EQ(Search("ECHOO", -1, 1), QStringList());

    // With no room, every page is read afresh each time, and found as well.
    PageCache::Shared().SetCapacity(0);
    reads = 0;
    EXPECT_EQ(Search("charlie"), QStringList{"c.htm"});
    EXPECT_EQ(Search("charlie"), QStringList{"c.htm"});
    EXPECT_EQ(reads.load(), 6);
    EXPECT_EQ(PageCache::Shared().Size(), 0);
}

TEST_F(ThreadedSearch, OnlyAFewPagesReadAfreshWaitAhead) {
    // Shows slower than reads: readers unbounded would soon be far ahead. Two readers may hold
    // 128 pages, or as many bytes of text as allowed, ready beside the two they read.
    const struct {
        const char *name;
        int pages;
        qsizetype textLength;
        qint64 aheadBytes;
        int mostAhead;
    } cases[] = {
        {"small pages, held by their number", 300, 6, 32 * 1024 * 1024, 2 * 64 + 2 + 1},
        {"large pages, held by their bytes", 40, 8192, 64 * 1024, 64 * 1024 / (8192 * 2) + 2 + 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList pages;
        const QString text = QStringLiteral("needle") + QString(c.textLength - 6, u'x');
        for (int i = 0; i < c.pages; ++i) {
            pages << QStringLiteral("p%1.htm").arg(i);
            folder.Page(pages.last(), "<p>" + text + "</p>");
        }
        viewer.reset();
        Open(pages);
        PageCache::Shared().Clear();
        PagePipeline::SetAheadBytes(c.aheadBytes);
        std::atomic<int> reads{0};
        platform::SetPageReadObserver([&reads](const QString &) { ++reads; });
        int shown = 0;
        int mostAhead = 0;
        const QMetaObject::Connection show =
            QObject::connect(Form2->HTML1, &platform::THTML::OnEndRetrieval, viewer->form1(), [&] {
                mostAhead = std::max(mostAhead, reads.load() - ++shown);
                QThread::msleep(1);
            });
        EXPECT_EQ(Search("needle", 2).size(), c.pages);
        QObject::disconnect(show);
        platform::SetPageReadObserver(nullptr); // `reads` ends with this row
        EXPECT_EQ(shown, c.pages);
        EXPECT_LE(mostAhead, c.mostAhead) << "texts held ahead of their shows";
        EXPECT_GT(mostAhead, 2) << "readers never got ahead";
        for (const QString &page : pages)
            QFile::remove(folder.Path() + u'/' + page);
    }
    PagePipeline::SetAheadBytes(32 * 1024 * 1024);
}
