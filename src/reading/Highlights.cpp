#include "reading/Highlights.h"

#include "platform/THTML.h"

#include <QTextDocument>

namespace reading {

namespace {

QString documentUrl(const platform::THTML *html) {
    return html->GetWideStringProp(platform::THTML::PropDocumentUrl);
}

QList<TextMatch> matchesIn(const platform::THTML *html, const QString &phrase, bool caseSensitive) {
    if (phrase.isEmpty())
        return {};
    // The document's plain text has one character per cursor position.
    return FindMatches(html->document()->toPlainText(), phrase, caseSensitive);
}

QTextCursor cursorOn(QTextDocument *document, const TextMatch &match) {
    QTextCursor cursor(document);
    cursor.setPosition(int(match.Start));
    cursor.setPosition(int(match.Start + match.Length), QTextCursor::KeepAnchor);
    return cursor;
}

} // namespace

Highlights::Highlights(platform::THTML *html) : QObject(html), html(html) {
    url = documentUrl(html);
    connect(html, &platform::THTML::PageLaidOut, this, &Highlights::pageLaidOut);
}

void Highlights::MarkHits(const QString &phrase, bool caseSensitive) {
    url = documentUrl(html);
    hitsPhrase = phrase;
    hitsCase = caseSensitive;
    hits = matchesIn(html, hitsPhrase, hitsCase);
    apply(true);
}

void Highlights::Find(const QString &phrase, bool caseSensitive) {
    findPhrase = phrase;
    findCase = caseSensitive;
    found = matchesIn(html, findPhrase, findCase);
    current = found.isEmpty() ? -1 : 0;
    apply(!phrase.isEmpty());
    emit FindChanged();
}

void Highlights::Step(int delta) {
    if (found.isEmpty())
        return;
    const int n = int(found.size());
    current = ((current + delta) % n + n) % n;
    apply(true);
    emit FindChanged();
}

void Highlights::pageLaidOut() {
    const QString now = documentUrl(html);
    const bool samePage = now == url;
    url = now;
    if (!samePage)
        hitsPhrase.clear(); // the search's marks belong to the page it was opened on
    hits = matchesIn(html, hitsPhrase, hitsCase);
    found = matchesIn(html, findPhrase, findCase);
    if (!samePage || current >= found.size())
        current = found.isEmpty() ? -1 : 0;
    apply(true);
    emit FindChanged();
}

void Highlights::apply(bool scroll) {
    // A page with nothing marked, now or before, is left exactly as it was shown.
    const bool marking = !hits.isEmpty() || !found.isEmpty();
    if (!marking && !marked)
        return;
    marked = marking;
    QTextDocument *document = html->document();
    QTextCharFormat marked;
    marked.setBackground(QColor(255, 235, 90));
    marked.setForeground(Qt::black);
    QList<QTextEdit::ExtraSelection> marks;
    for (const QList<TextMatch> *list : {&hits, &found})
        for (const TextMatch &match : *list)
            marks.append({cursorOn(document, match), marked});
    html->setExtraSelections(marks);

    QTextCursor selection(document);
    if (current >= 0)
        selection = cursorOn(document, found.at(current));
    else if (!hits.isEmpty())
        selection = cursorOn(document, hits.first());
    else
        selection.setPosition(html->textCursor().position());
    html->setTextCursor(selection);
    if (scroll && selection.hasSelection())
        html->ensureCursorVisible();
}

} // namespace reading
