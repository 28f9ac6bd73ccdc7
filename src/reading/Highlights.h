#pragma once

#include "reading/Matches.h"

#include <QObject>

namespace platform {
class THTML;
}

namespace reading {

// The marks on the page shown: the phrase of the search a result was opened from, and the
// find bar's matches. Every match is highlighted; the current one is the page's selection,
// scrolled into view. Marks follow the page when it is laid out anew (zoom), the find goes
// on in every new page, and the search's marks stay with their page only.
class Highlights : public QObject {
    Q_OBJECT

public:
    explicit Highlights(platform::THTML *html);

    // Marks `phrase` in the page shown and selects its first occurrence.
    void MarkHits(const QString &phrase, bool caseSensitive);
    int HitCount() const { return int(hits.size()); }

    // The find bar's phrase (empty: no find) and the current match, which wraps around.
    void Find(const QString &phrase, bool caseSensitive);
    void Step(int delta);
    int Count() const { return int(found.size()); }
    int Current() const { return current; } // -1 when there is no match

signals:
    void FindChanged();

private:
    void pageLaidOut();
    void apply(bool scroll);

    platform::THTML *html;
    QString url; // the page the marks belong to
    QString hitsPhrase;
    bool hitsCase = false;
    QList<TextMatch> hits;
    QString findPhrase;
    bool findCase = false;
    QList<TextMatch> found;
    int current = -1;
    bool marked = false; // the page shows marks or a selection of ours
};

} // namespace reading
