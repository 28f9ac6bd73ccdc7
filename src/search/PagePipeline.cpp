#include "search/PagePipeline.h"

#include "platform/KeptText.h"
#include "platform/PageRead.h"
#include "platform/Paths.h"
#include "search/PageCache.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace search {

namespace {

std::atomic<int> readersSetting{-1};
std::atomic<int> runningReaders{0};
// The shows wait on the GUI thread, which readers busy on every core push aside: a few pages
// of room left the cores idle half the time. Bytes bound what a run of large pages holds.
constexpr int PagesAheadPerReader = 64;
// How long pages ready at their fetch are handed over without the event loop: a post and a
// nested loop per page were most of the GUI thread's share of a search.
constexpr qint64 LoopIntervalMs = 10;
// A show that waits for its page is woken once the next pages are ready too: shows take ready
// pages far faster than readers make them, and woken page by page the GUI thread woke for a
// good part of all pages. Should one of those pages be slow to come, the show looks again after
// WakeFallbackMs.
constexpr int WakeBatch = 32;
constexpr int WakeFallbackMs = 2;
std::atomic<qint64> aheadBytesSetting{32 * 1024 * 1024};

enum class Step { Waiting, Reading, Ready, Done };

struct Slot {
    Step step = Step::Waiting;
    QString text;
    bool hit = false;
    bool fresh = false; // read for this search, not taken from the cache
    qint64 bytes = 0;   // of its text, while fresh and ready
};

} // namespace

struct PagePipeline::State {
    State(const QStringList &pageUrls, const PhraseFinder &phrase, PageCache *pageCache, int ahead,
          qint64 aheadBytes)
        : urls(pageUrls), finder(phrase), cache(pageCache), ahead(ahead), aheadBytes(aheadBytes),
          pages(pageUrls.size()) {}

    const QStringList urls;
    const PhraseFinder finder;
    PageCache *const cache;
    // How many pages read afresh readers may have ready ahead of the shows. A page from the
    // cache costs neither reading nor memory, so over cached pages readers run on unhindered
    // and need no waking.
    const int ahead;
    const qint64 aheadBytes;

    std::mutex mutex;
    std::condition_variable wake;
    std::vector<Slot> pages;
    int claimed = 0;  // the next page a reader takes
    int fetched = -1; // the page the extractor asked for last
    int waitedFor = -1;
    int wakeThrough = -1;  // the last page of the batch woken for
    int freshReady = 0;    // ready slots read for this search
    qint64 freshBytes = 0; // and the bytes of their texts
    int idleReaders = 0;   // readers waiting for those to be taken
    // Both null once the search is over; a page ready is posted to the notifier for the owner.
    QObject *notifier = nullptr;
    PagePipeline *owner = nullptr;
};

// Receives "a page is ready" on the GUI thread. The call is posted by name and carries nothing,
// so all that crosses threads through Qt's event queue stays inside Qt; which page is ready is
// read under the state's mutex, where ThreadSanitizer sees the order.
class PageReadyNotifier : public QObject {
    Q_OBJECT
public:
    explicit PageReadyNotifier(PagePipeline *owner) : owner(owner) {}
    Q_INVOKABLE void pageReady() { owner->deliverFetched(); }

private:
    PagePipeline *owner;
};

namespace {

// One page's text and whether it holds the phrase: from the cache when the file is unchanged.
void prepare(PagePipeline::State &state, platform::PageReader &reader, const QString &url,
             Slot &slot) {
    QString native;
    bool found = false; // a regular file at `native`, just now
    if (state.cache) {
        const std::optional<platform::FileStamp> stamp =
            platform::StampOfFile(platform::LocatePage(url).windowsPath, native);
        std::optional<PageCache::Page> cached;
        if (stamp)
            cached = state.cache->Find(native, *stamp);
        else if (!native.isEmpty())
            state.cache->Forget(native);
        if (cached) {
            slot.text = std::move(cached->Text);
            slot.hit = state.finder.FoundIn(slot.text, cached->LowersCharByChar);
            return;
        }
        found = stamp.has_value();
    }
    std::optional<platform::FileStamp> stamp;
    // The file was just looked at: its path need not be resolved and looked at again.
    const QStringView read = found ? reader.ReadFound(native, &stamp) : reader.Read(url, &stamp);
    // Texts to be kept are laid in blocks of huge pages; the others go again soon after.
    const bool kept = state.cache && stamp && !native.isEmpty() &&
                      state.cache->WouldKeep(native, read.size() * qint64(sizeof(QChar)));
    PageCache::Page page{kept ? platform::KeepText(read) : read.toString(), false};
    page.LowersCharByChar = LowersCharByChar(page.Text);
    slot.hit = state.finder.FoundIn(page.Text, page.LowersCharByChar);
    if (state.cache && stamp && !native.isEmpty())
        state.cache->Store(native, *stamp, page);
    slot.fresh = true;
    slot.text = std::move(page.Text);
}

// Whether the show waiting for its page is to be woken: the page is ready, and so are the others
// of its batch, unless no page is left to read or the readers have no room to go on.
bool worthWaking(const PagePipeline::State &state) {
    if (state.pages[state.waitedFor].step != Step::Ready)
        return false;
    if (state.claimed >= int(state.pages.size()) || state.freshReady >= state.ahead ||
        state.freshBytes >= state.aheadBytes)
        return true;
    for (int i = state.waitedFor + 1; i <= state.wakeThrough; ++i) {
        if (state.pages[i].step == Step::Waiting || state.pages[i].step == Step::Reading)
            return false;
    }
    return true;
}

// Marks a slot taken or given up; true when readers waiting for room should be woken.
bool release(PagePipeline::State &state, Slot &slot) {
    slot.step = Step::Done;
    slot.text = QString();
    if (!slot.fresh)
        return false;
    slot.fresh = false;
    state.freshBytes -= std::exchange(slot.bytes, 0);
    // Woken once half the room is free, not at every page: a wake-up costs a system call here
    // and a switch there.
    return --state.freshReady <= state.ahead / 2 && state.freshBytes <= state.aheadBytes / 2 &&
           state.idleReaders > 0;
}

} // namespace

PagePipeline::PagePipeline(const QStringList &urls, const PhraseFinder &finder, PageCache *cache,
                           int readers)
    : state(std::make_shared<State>(urls, finder, cache, PagesAheadPerReader * std::max(readers, 1),
                                    aheadBytesSetting.load())),
      notifier(std::make_unique<PageReadyNotifier>(this)) {
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, notifier.get(), [this] {
        if (!deliverFetched())
            fallback.start(WakeFallbackMs); // still waiting
    });
    state->notifier = notifier.get();
    state->owner = this;
    for (int i = 0; i < std::max(readers, 1); ++i)
        startReader();
}

PagePipeline::~PagePipeline() {
    {
        const std::lock_guard lock(state->mutex);
        state->notifier = nullptr;
        state->owner = nullptr;
    }
    state->wake.notify_all();
    notifier.reset(); // a page ready but not yet delivered is dropped with it
}

void PagePipeline::startReader() {
    ++runningReaders;
    // Detached: a read stalled for good must not hold up the end of the search or of the program.
    std::thread(readPages, state).detach();
}

void PagePipeline::readPages(std::shared_ptr<State> shared) {
    State &s = *shared;
    platform::PageReader reader(platform::Pages::Huge);
    std::unique_lock lock(s.mutex);
    const int count = int(s.pages.size());
    for (;;) {
        ++s.idleReaders;
        s.wake.wait(lock, [&] {
            return !s.owner || s.claimed >= count ||
                   (s.freshReady < s.ahead && s.freshBytes < s.aheadBytes);
        });
        --s.idleReaders;
        if (!s.owner || s.claimed >= count)
            break;
        const int index = s.claimed++;
        if (s.pages[index].step != Step::Waiting)
            continue; // given up on before any reader took it
        s.pages[index].step = Step::Reading;
        lock.unlock();
        Slot page;
        prepare(s, reader, s.urls.at(index), page);
        lock.lock();
        Slot &slot = s.pages[index];
        if (slot.step == Step::Done)
            continue; // its show gave up on it meanwhile
        slot.text = std::move(page.text);
        slot.hit = page.hit;
        slot.fresh = page.fresh;
        slot.step = Step::Ready;
        if (slot.fresh) {
            ++s.freshReady;
            slot.bytes = slot.text.size() * qint64(sizeof(QChar));
            s.freshBytes += slot.bytes;
        }
        if (s.waitedFor >= 0 && s.owner && worthWaking(s)) {
            s.waitedFor = -1;
            QMetaObject::invokeMethod(s.notifier, "pageReady", Qt::QueuedConnection);
        }
    }
    lock.unlock();
    shared.reset();
    --runningReaders;
}

bool PagePipeline::Fetch(const QString &url, std::function<void(const QString &)> ready) {
    bool replaceReader = false;
    bool wakeReaders = false;
    bool atOnce = false;
    bool waits = false;
    int index = -1;
    {
        const std::lock_guard lock(state->mutex);
        const int next = state->fetched + 1;
        if (next >= int(state->pages.size()) || state->urls.at(next) != url)
            return false;
        // Pages passed over (their shows timed out) are given up: one still being read stalls
        // a reader, which is replaced.
        if (next > 0) {
            Slot &previous = state->pages[next - 1];
            replaceReader = previous.step == Step::Reading;
            wakeReaders = release(*state, previous);
        }
        state->fetched = index = next;
        if (state->pages[index].step != Step::Ready) {
            state->waitedFor = index;
            state->wakeThrough = std::min(index + WakeBatch, int(state->pages.size())) - 1;
            waits = true;
        } else if (sinceLoop.isValid() && sinceLoop.elapsed() < LoopIntervalMs)
            atOnce = true;
        else
            QMetaObject::invokeMethod(notifier.get(), "pageReady", Qt::QueuedConnection);
    }
    waiting = std::move(ready);
    if (wakeReaders)
        state->wake.notify_all();
    if (replaceReader)
        startReader();
    if (atOnce) {
        handedAtOnce = true;
        deliver(index);
    } else if (waits) {
        fallback.start(WakeFallbackMs);
    }
    return true;
}

void PagePipeline::Settle() {
    if (std::exchange(handedAtOnce, false))
        QCoreApplication::processEvents();
}

// The page asked for last: only the GUI thread asks, so it is still the one the notice was for
// unless its show gave up on it, and then the page asked for since is delivered once ready.
bool PagePipeline::deliverFetched() {
    sinceLoop.start();
    handedAtOnce = false;
    int index = -1;
    {
        const std::lock_guard lock(state->mutex);
        index = state->fetched;
    }
    return index >= 0 && deliver(index);
}

bool PagePipeline::deliver(int index) {
    bool wakeReaders = false;
    {
        const std::lock_guard lock(state->mutex);
        Slot &slot = state->pages[index];
        if (index != state->fetched || slot.step != Step::Ready)
            return false;
        if (state->waitedFor == index)
            state->waitedFor = -1; // taken before its batch was ready
        lastText = std::move(slot.text);
        lastHit = slot.hit;
        wakeReaders = release(*state, slot);
    }
    if (wakeReaders)
        state->wake.notify_all();
    fallback.stop();
    if (waiting) {
        const auto ready = std::move(waiting);
        waiting = nullptr;
        ready(lastText);
    }
    return true;
}

std::optional<bool> PagePipeline::KnownHit(const QString &text) const {
    if (text.isEmpty() || text.size() != lastText.size() ||
        text.constData() != lastText.constData())
        return std::nullopt;
    return lastHit;
}

int PagePipeline::Readers() {
    const int setting = readersSetting.load();
    return setting >= 0 ? setting : std::max(2, QThread::idealThreadCount());
}

void PagePipeline::SetReaders(int count) {
    readersSetting = count;
}

void PagePipeline::SetAheadBytes(qint64 bytes) {
    aheadBytesSetting = bytes;
}

int PagePipeline::RunningReaders() {
    return runningReaders.load();
}

} // namespace search

#include "PagePipeline.moc"
