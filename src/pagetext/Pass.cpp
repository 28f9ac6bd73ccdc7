#include "pagetext/Extractor.h"

// The main loop and the importer's side of the pass: which characters of a node are shown, and
// where paragraphs start.
namespace pagetext {

void PlainTextExtractor::run() {
    while (pos < n) {
        const char16_t c = s[pos];
        if (c == u'<') {
            ++pos;
            parseTag();
            continue;
        }
        if (c == u'&') {
            ++pos;
            parseEntity();
            continue;
        }
        if (mode == Mode::Plain) {
            if (!preserves(recv.space)) {
                const qsizetype end = plainRun(pos);
                if (end > pos) {
                    pos = end;
                    continue;
                }
            } else if (isOrdinary(c)) {
                qsizetype end = pos + 1;
                while (end < n && isOrdinary(s[end]))
                    ++end;
                emitRun(pos, end);
                pos = end;
                continue;
            }
        }
        if (!recv.started) {
            if (holdBlank(c)) {
                ++pos;
                continue;
            }
            startWithHeld();
            continue; // c again, the node now shown, hidden or plain
        }
        if (mode == Mode::Skip) {
            // Hidden text: only the next tag matters (no entity can hide a '<').
            pos = findUnit(s, pos, n, u'<');
            continue;
        }
        ++pos;
        text(c);
    }
    if (recv.isText && !recv.started && recv.length == 1)
        startWithHeld();
    endNode();
    // The markers of the frames the cursor is still in end the text.
    while (!tables.isEmpty())
        endTable();
    leaveFrames(0);
    out.Truncate(length);
}

// The bulk of a page: words and the blanks between them, in a shown node with white space
// folded. Stops at markup and at anything unusual; returns where it stopped.
qsizetype PlainTextExtractor::plainRun(qsizetype i) {
    // Each character read gives at most one character.
    reserve(n - i);
    QChar *const to = o;
    qsizetype size = length;
    Compress state = compress;
    bool inserted = false;
    const qsizetype start = i;
    while (i < n) {
        char16_t c = s[i];
        if (c < 0x80 && (AsciiClasses[c] & Blank)) {
            if (c == u'\n') {
                // What the line break changes, in case a </pre> takes it back.
                beforeNewline = inserted ? BeforeNewline{size, state, false, false, false}
                                         : BeforeNewline{size, state, hasBlock, documentEmpty,
                                                         lastIsLineSeparator};
                newlineAt = i;
            }
            // The first blank stands as one space, the ones after it are removed.
            if (state != Compress::Remove) {
                state = Compress::Remove;
                to[size++] = QChar(u' ');
                inserted = true;
            }
            ++i;
            continue;
        }
        if (!isOrdinary(c))
            break;
        state = Compress::Preserve;
        inserted = true;
        // A word: copied up to the next character that needs a look.
        for (;;) {
            const qsizetype end = copyPrintableRun(s, i, n, to + size);
            size += end - i;
            i = end;
            if (i == n)
                break;
            c = s[i];
            if (!(c < 0x80 ? (AsciiClasses[c] & Ordinary) != 0 : isOrdinary(c)))
                break;
            to[size++] = QChar(c);
            ++i;
        }
    }
    length = size;
    compress = state;
    if (inserted) {
        endsWithNewline = false;
        hasBlock = false;
        documentEmpty = false;
        lastIsLineSeparator = false;
    }
    // Blanks after the line break fold away, but Qt's </pre> takes back only a last '\n'.
    if (i > start)
        endsWithNewline = newlineAt == i - 1;
    return i;
}

void PlainTextExtractor::text(char16_t c) {
    if (!recv.started) {
        if (holdBlank(c))
            return;
        startWithHeld();
    }
    feed(c);
}

// A new text node's first blank is held until it is known whether Qt keeps it; so is a line
// break right after it, which a </pre> may take back and leave the blank alone.
bool PlainTextExtractor::holdBlank(char16_t c) {
    if (recv.length == 0 && isSpace(c)) {
        recv.length = 1;
        recv.held = c;
        return true;
    }
    if (recv.length == 1 && c == u'\n' && !recv.heldNewline) {
        recv.heldNewline = true;
        return true;
    }
    return false;
}

void PlainTextExtractor::startWithHeld() {
    startTextNode();
    if (recv.length == 1) {
        feed(recv.held);
        if (recv.heldNewline)
            feed(u'\n');
    }
    recv.length = 2;
}

// One character of a shown node, through Qt's white-space compression.
void PlainTextExtractor::feed(char16_t c) {
    endsWithNewline = false;
    if (recv.drop)
        return;
    const bool newline = c == u'\n';
    if (newline)
        beforeNewline = {length, compress, hasBlock, documentEmpty, lastIsLineSeparator};
    const bool blank = isSpace(c);
    if (recv.listPending) {
        // A list's own text counts only when it is not all blanks; then it all counts.
        if (blank) {
            heldBlanks.append(c);
            return;
        }
        recv.listPending = false;
        processBlock(Tag::Ul, recv.space);
        if (preserves(recv.space))
            compress = Compress::Preserve;
        updateMode();
        feedHeldBlanks();
    }
    if (recv.blockIfText) {
        // Qt starts the paragraph before a node's text unless the node holds only blanks; the
        // blanks are held until that is known.
        if (blank && c != LineSeparator) {
            heldBlanks.append(c);
            return;
        }
        recv.blockIfText = false;
        appendBlock(recv.space);
        hasBlock = true;
        updateMode();
        feedHeldBlanks();
    }
    if (blank && c != Nbsp && c != ParagraphSeparator) {
        if (compress == Compress::Collapse)
            compress = Compress::Remove;
        else if (compress == Compress::Remove) {
            endsWithNewline = newline;
            return;
        }
        if (recv.space == Space::Pre) {
            if (c == u'\r')
                return;
        } else if (recv.space != Space::PreWrap) {
            compress = Compress::Remove;
            c = u' ';
        }
    } else {
        compress = Compress::Preserve;
    }
    hasBlock = false;
    documentEmpty = false;
    if (c == u'\n' || c == ParagraphSeparator) {
        endsWithNewline = c == u'\n';
        lastIsLineSeparator = false;
        lineBreak();
        if (!preserves(recv.space))
            compress = Compress::Remove;
        return;
    }
    lastIsLineSeparator = c == LineSeparator;
    if (c == LineSeparator || c == u'\r' || c == BeginningOfFrame || c == EndOfFrame) {
        lineBreak();
    } else if (!blank) {
        emitChar(c);
    } else {
        // The view's plain text shows a non-breaking space as a space.
        emitChar(c == Nbsp ? u' ' : c);
    }
    // A line break folded into a space: Qt's </pre> still takes it back.
    endsWithNewline = newline;
}

void PlainTextExtractor::feedHeldBlanks() {
    // Feeding may hold blanks again.
    const auto blanks = std::exchange(heldBlanks, {});
    for (const char16_t c : blanks)
        feed(c);
}

// The node that received text ends: blanks held for a paragraph that never came are shown
// as they are, those of a list's own text not at all.
void PlainTextExtractor::endNodeWithHeldBlanks() {
    if (recv.listPending) {
        heldBlanks.clear();
        return;
    }
    recv.blockIfText = false;
    feedHeldBlanks();
}

} // namespace pagetext
