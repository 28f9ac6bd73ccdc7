#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/FileSystem.h"
#include "platform/InputBlock.h"
#include "platform/MessageBox.h"
#include "platform/RepaintPacer.h"
#include "search/LowerCase.h"
#include "search/PageCache.h"
#include "search/PagePipeline.h"
#include "search/PhraseFinder.h"
#include "search/SearchMatch.h"

#include <optional>

namespace search {
const QString CreditsPhrase = QStringLiteral("Vellumo Credits");
const QString CreditsText =
    QStringLiteral("Vellumo help viewer\nWritten by the Vellumo team.\nThank you for reading.");
} // namespace search

void TForm1::RadioGroup1Click() {
    const int item = RadioGroup1->ItemIndex();
    if (item == 0)
        CaseSensitive = 0;
    else if (item == 1)
        CaseSensitive = 1;
}

void TForm1::Edit1KeyPress(QChar &key) {
    if (key == QChar(13))
        BitBtn1Click();
}

void TForm1::BitBtn1Click() {
    SearchText = Edit1->text();
    qsizetype length = SearchText.size();
    if (SearchText == search::CreditsPhrase) {
        platform::MessageBoxA(search::CreditsText, QStringLiteral("CopyRights"));
        Edit1->setText(QString());
        length = -1;
    }
    if (length <= 0)
        return;

    ListBox5->clear();
    ListBox6->clear();
    emit SearchStarted(SearchText, CaseSensitive == 1);
    const std::optional<QStringList> names = platform::ListDirectory(HelpDir);
    if (!names)
        return;

    QStringList entries;
    entries.reserve(ListBox2->count());
    for (int i = 0; i < ListBox2->count(); ++i)
        entries << ListBox2->item(i)->text();
    const search::PageMatcher matcher(entries);

    // The candidate pages, in the order the folder lists them.
    QStringList urls;
    QStringList lowerNames;
    for (const QString &name : *names) {
        QString lowerName = name.toLower();
        if (!search::IsCandidatePage(lowerName))
            continue;
        // Opened under its name as listed, for file systems that respect letter case.
        urls << MakeTopicURL(HelpDir + name);
        lowerNames << std::move(lowerName);
    }
    const bool caseSensitive = CaseSensitive != 0;
    const search::PhraseFinder finder(SearchText, caseSensitive);

    // Pages are read on other threads ahead of their shows, each show taking its page's text
    // as soon as it is ready.
    std::optional<search::PagePipeline> pipeline;
    const int readers = search::PagePipeline::Readers();
    if (readers > 0 && !urls.isEmpty())
        pipeline.emplace(urls, finder, &search::PageCache::Shared(), readers);
    const struct SourceScope {
        search::PagePipeline *pages;
        SourceScope(search::PagePipeline *p) : pages(p) { Form2->HTML1->SetPageSource(pages); }
        ~SourceScope() { Form2->HTML1->SetPageSource(nullptr); }
    } source(pipeline ? &*pipeline : nullptr);

    // One block for the whole search: the main window takes no input, yet repaints, so the
    // result list is seen to grow.
    platform::InputBlock block(this);
    // The list is painted once a frame, not once a result: painting it took most of the time
    // of a search of cached pages.
    platform::RepaintPacer pacer(ListBox5);
    for (qsizetype i = 0; i < urls.size(); ++i) {
        pacer.Step();
        PageURL = urls.at(i);
        Form2->ShowModal();
        // The reader has already looked for the phrase in the text the show handed over.
        const std::optional<bool> known = pipeline ? pipeline->KnownHit(PageText) : std::nullopt;
        if (!(known ? *known : finder.FoundIn(PageText)))
            continue;
        const int match = matcher.Find(lowerNames.at(i));
        if (match < 0)
            continue;
        const QString &entry = entries.at(match);
        const qsizetype at = entry.indexOf(u'@');
        if (at < 0)
            continue;
        ListBox5->addItem(entry.left(at));
        ListBox6->addItem(entry.mid(at + 1));
    }
    if (pipeline)
        pipeline->Settle();
    // The phrase was looked for in lowered text without lowering each page; what is left of
    // the search is as if each had been: the last page's text and the phrase, lowered.
    if (!caseSensitive && !urls.isEmpty()) {
        search::LowerCase(PageText);
        search::LowerCase(SearchText);
    }
}
