#pragma once

#include "platform/THTML.h"
#include "search/PhraseFinder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <optional>

namespace search {

class PageCache;

// Reads the candidate pages of one search on reader threads, ahead of the modal shows that
// take them: each page's text, from the cache when its file is unchanged, and whether it holds
// the phrase. The extractor's control takes the texts in order through Fetch(). A page whose
// reading stalls holds up only its own reader: once its show gives up on it, a new reader takes
// its place, so the other pages are read on. At most 64 pages per reader read afresh, and 32 MB
// of their text, are kept ahead of the one shown, so memory does not grow with the folder.
// A page ready when its show asks for it is handed over at once; a show that has to wait is
// woken for a batch of pages, not for each.
class PagePipeline : public platform::THTML::PageSource {
public:
    PagePipeline(const QStringList &urls, const PhraseFinder &finder, PageCache *cache,
                 int readers);
    ~PagePipeline() override;
    PagePipeline(const PagePipeline &) = delete;
    PagePipeline &operator=(const PagePipeline &) = delete;

    bool Fetch(const QString &url, std::function<void(const QString &)> ready) override;

    // Whether the phrase is in `text`, when `text` is the very text this pipeline handed out
    // last; nothing otherwise.
    std::optional<bool> KnownHit(const QString &text) const;
    // Runs the events that wait since pages were last handed over without the event loop, so
    // that input meant for the searching window meets its block.
    void Settle();

    // How many reader threads a search uses: every core, at least two. 0 reads page by page
    // on the GUI thread, as the control does by itself.
    static int Readers();
    static void SetReaders(int count);
    // How many bytes of text read afresh may wait ahead of the shows, for searches begun after.
    static void SetAheadBytes(qint64 bytes);
    // Reader threads of all pipelines still running (a stalled one runs until its read ends).
    static int RunningReaders();

    struct State;

private:
    static void readPages(std::shared_ptr<State> state);
    void startReader();
    friend class PageReadyNotifier;
    // Both true when the page was handed over.
    bool deliverFetched();
    bool deliver(int index);

    std::shared_ptr<State> state;
    std::unique_ptr<QObject> notifier; // receives the readers' "page ready" on the GUI thread
    std::function<void(const QString &)> waiting;
    QString lastText;
    bool lastHit = false;
    // Since the event loop last ran a delivery: a page ready at its fetch is handed over at once
    // in between, and through the loop again once a frame, to repaint and to refuse input.
    QElapsedTimer sinceLoop;
    bool handedAtOnce = false;
    QTimer fallback; // a waiting show looks again, should the readers not wake it
};

} // namespace search
