#include "pagetext/Extractor.h"

#include "pagetext/Entities.h"
#include "pagetext/NameTable.h"

#include <algorithm>

// The parser's side of the pass: tags, entities, and the stack of open elements that Qt's
// parser would build, with its repair rules.
namespace pagetext {

namespace {

// The element a name stands for, if any: its packed key, from the name lower-cased as Qt does.
quint64 elementKey(QStringView name) {
    const QString lowered = lowerNonAsciiName(name);
    const QStringView folded = lowered.isNull() ? name : QStringView(lowered);
    return packName(folded.utf16(), folded.size(), true);
}

} // namespace

PlainTextExtractor::Word PlainTextExtractor::scanWord() {
    Word word;
    if (pos < n && (s[pos] == u'"' || s[pos] == u'\'')) {
        const char16_t quote = s[pos];
        word.from = ++pos;
        qsizetype at = pos;
        for (;;) {
            at = findUnit(s, at, n, quote);
            // Qt lets a backslash escape a single quote.
            if (at < n && quote == u'\'' && s[at - 1] == u'\\') {
                ++at;
                continue;
            }
            break;
        }
        word.length = at - word.from;
        word.literal = quote == u'\'';
        pos = at < n ? at + 1 : n;
        return word;
    }
    qsizetype end = pos;
    while (end < n) {
        char16_t c = s[end];
        while (c < 0x80 && !(AsciiClasses[c] & (WordEnd | Slash))) {
            if (++end == n)
                break;
            c = s[end];
        }
        if (end == n)
            break;
        if (c < 0x80) {
            if ((AsciiClasses[c] & WordEnd) || (end + 1 < n && s[end + 1] == u'>'))
                break;
        } else if (isSpace(c)) {
            break;
        }
        ++end;
    }
    word.from = pos;
    word.length = end - pos;
    pos = end;
    return word;
}

// A tag's name, as scanWord reads it, with its packed key (0 when no element has that name).
PlainTextExtractor::Word PlainTextExtractor::scanName(quint64 &key) {
    if (pos < n && (s[pos] == u'"' || s[pos] == u'\'')) {
        const Word word = scanWord();
        key = elementKey(QStringView(s + word.from, word.length));
        return word;
    }
    quint64 packed = 0;
    bool packable = true;
    qsizetype end = pos;
    while (end < n) {
        // The bulk of a name: letters and digits, packed as they come.
        char16_t c = s[end];
        quint8 code = 0;
        while (c < 0x80 && (code = PackCodes[true][c]) != 0) {
            packed = (packed << 6) | code;
            if (++end == n)
                break;
            c = s[end];
        }
        if (end == n)
            break;
        if (c < 0x80) {
            const quint8 kind = AsciiClasses[c];
            if ((kind & WordEnd) || ((kind & Slash) && end + 1 < n && s[end + 1] == u'>'))
                break;
        } else if (isSpace(c)) {
            break;
        }
        packable = false;
        ++end;
    }
    const Word word{pos, end - pos};
    if (packable)
        key = word.length > 0 && word.length <= PackedLength ? packed : 0;
    else
        key = elementKey(QStringView(s + word.from, word.length)); // "bloc\u212Aquote", say
    pos = end;
    return word;
}

// Qt reads entities in a tag's name as in text: "</table&nbsp;>" ends the table, since the
// name's blanks are trimmed after. A successful entity holds nothing that ends a name, so the
// name spans what scanName found. Names with entities are kept decoded beside the page.
PlainTextExtractor::Word PlainTextExtractor::decodeEntitiesInName(Word raw, quint64 &key) {
    if (raw.literal || !QStringView(s + raw.from, raw.length).contains(u'&'))
        return raw;
    const qsizetype from = decodedNames.size();
    appendDecoded(raw, decodedNames);
    const Word decoded{-1 - from, decodedNames.size() - from};
    key = elementKey(nameView(decoded));
    return decoded;
}

// As in text, an entity in a tag's word ends at its ';' or at the page's end, and Qt gives up on
// it past 9 units, the ';' included.
void PlainTextExtractor::appendDecoded(Word raw, QString &to) const {
    const QStringView text(s + raw.from, raw.length);
    const bool endsPage = raw.from + raw.length == n;
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'&') {
            const qsizetype semicolon = text.indexOf(u';', i + 1);
            const qsizetype end = semicolon >= 0 ? semicolon : endsPage ? text.size() : -1;
            const qsizetype body = end - i - 1;
            char16_t units[2];
            const int count = body > 0 && body <= (semicolon >= 0 ? 8 : 9)
                                  ? decodeEntity(text.sliced(i + 1, body), units)
                                  : 0;
            if (count > 0) {
                to.append(QStringView(units, count));
                i = semicolon >= 0 ? semicolon + 1 : end;
                continue;
            }
        }
        to.append(text[i++]);
    }
}

// A word of a tag as Qt reads it: the page's own units, or decoded into `storage`.
QStringView PlainTextExtractor::wordText(Word raw, QString &storage) const {
    const QStringView text(s + raw.from, raw.length);
    if (raw.literal || !text.contains(u'&'))
        return text;
    appendDecoded(raw, storage);
    return storage;
}

// Skips a tag's attributes; for a table cell, notes the columns and rows it spans (1 unless a
// colspan or rowspan says otherwise, read as Qt reads them).
void PlainTextExtractor::scanAttributes(bool cell) {
    while (pos < n) {
        eatSpace();
        if (pos < n && (s[pos] == u'>' || s[pos] == u'/'))
            break;
        const Word key = scanWord();
        if (key.length == 0)
            break;
        eatSpace();
        if (pos >= n || s[pos] != u'=')
            continue;
        ++pos;
        eatSpace();
        const Word value = scanWord();
        if (!cell)
            continue;
        // Only a name of 7 units, or one with an entity, can be a span.
        const QStringView keyText(s + key.from, key.length);
        if (key.length != 7 && (key.literal || !keyText.contains(u'&')))
            continue;
        QString decodedKey;
        const QStringView raw = wordText(key, decodedKey);
        // Qt lower-cases the name, where a case-insensitive match would fold: "rowſpan" is no
        // row span to Qt.
        const QString lowered = lowerNonAsciiName(raw);
        const QStringView name = lowered.isNull() ? raw : QStringView(lowered);
        const auto sensitivity = lowered.isNull() ? Qt::CaseInsensitive : Qt::CaseSensitive;
        const bool columns = name.compare(u"colspan", sensitivity) == 0;
        if (!columns && name.compare(u"rowspan", sensitivity) != 0)
            continue;
        bool ok = false;
        QString decodedValue;
        const int span = wordText(value, decodedValue).toInt(&ok);
        if (ok)
            (columns ? cellColumns : cellRows) =
                std::clamp(span, 1, columns ? MaxColumnSpan : MaxRowSpan);
    }
}

// After '<'.
void PlainTextExtractor::parseTag() {
    eatSpace();
    if (pos < n && s[pos] == u'!') {
        ++pos;
        if (pos + 1 < n && s[pos] == u'-' && s[pos + 1] == u'-') {
            const qsizetype end = QStringView(s, n).indexOf(u"-->", pos + 2);
            pos = end < 0 ? n : end + 3;
        } else {
            while (pos < n && s[pos++] != u'>') {
            }
        }
        // Qt swallows the blanks after a comment or declaration, even between two words.
        if (!preserves(recv.space))
            eatSpace();
        return;
    }
    if (pos < n && s[pos] == u'/') {
        parseCloseTag();
        return;
    }
    const bool reuses = resolvePendingText();
    const Tag afterVoid = reuses ? recv.afterVoid : Tag::Unknown;
    quint64 key = 0;
    const Word name = decodeName(scanName(key), key);
    const ElementInfo *element = findElement(key);
    const bool cell = element && (element->tag == Tag::Td || element->tag == Tag::Th);
    // Qt lists a node made in the place of a nameless element twice among its parent's
    // children; a cell or row listed twice is counted twice in the table's grid.
    if (reuses && recv.afterNameless && element && isTableStructure(element->tag))
        beyondForwardPass = true;
    cellColumns = 1;
    cellRows = 1;
    if (pos < n && isSpace(s[pos]))
        scanAttributes(cell);
    bool closed = false;
    while (pos < n && s[pos] != u'>') {
        if (s[pos] == u'/')
            closed = true;
        ++pos;
    }
    if (pos < n)
        ++pos;
    if (name.length == 0) {
        // "<>", "<=" and the like: a nameless element, to Qt the same as a new text node.
        // When it took the place of the text node after an empty element, so does whatever
        // takes its place next ("<br><><ul>x</br>" ends at the <br>'s parent).
        stack[top()].hasChildren = true;
        newTextNode(false, afterVoid);
        recv.afterNameless = true;
        return;
    }
    openElement(element ? element->tag : Tag::Unknown, element ? element->display : Display::Inline,
                name, closed, afterVoid);
}

// After '<', at '/'.
void PlainTextExtractor::parseCloseTag() {
    ++pos;
    quint64 key = 0;
    Word name = scanName(key);
    while (pos < n) {
        if (s[pos++] == u'>')
            break;
    }
    name = decodeName(name, key);
    if (key == 0) {
        // A packed name is letters and digits only: nothing to trim.
        const Word scanned = name;
        while (name.length > 0 && isSpace(nameView(name).front().unicode())) {
            name.from += name.from >= 0 ? 1 : -1; // decoded names count down
            --name.length;
        }
        while (name.length > 0 && isSpace(nameView(name).back().unicode()))
            --name.length;
        if (name.length != scanned.length)
            key = elementKey(nameView(name));
    }
    if (name.length == 0) {
        // Only a nameless node matches; a text node is one.
        if (!recv.isText)
            return;
        const bool nameless = recv.afterNameless;
        const bool reuses = resolvePendingText();
        newTextNode(false, reuses ? recv.afterVoid : Tag::Unknown);
        keepNameless(reuses && nameless);
        return;
    }
    const ElementInfo *element = findElement(key);
    const Tag tag = element ? element->tag : Tag::Unknown;
    if (recv.isText && tag != Tag::Unknown && tag == recv.afterVoid) {
        // "<r><pre><hr></r></hr>": an end tag moved the node out of the empty element's
        // parent, and this one puts it back into that closed parent; no longer a stack.
        if (voidParentDepth != top() || stack[top()].serial != voidParentSerial) {
            beyondForwardPass = true;
            return;
        }
        // "<br></br>": the end tag closes the <br> again, which only starts a new text node.
        // An <hr> is a block, in a <pre> one with preserved white space.
        if (tag == Tag::Hr && preserves(recv.space))
            takeBackLineBreak();
        const bool nameless = recv.afterNameless;
        const bool reuses = resolvePendingText();
        newTextNode(false, reuses ? recv.afterVoid : Tag::Unknown);
        keepNameless(reuses && nameless);
        return;
    }
    if (tag != Tag::Unknown && tag == elementAfterVoid) {
        // "<meta><p>a</meta>b": the <p> took the place of the text node after the <meta>, so
        // the end tag closes everything up to the <meta>'s parent.
        if (voidParentDepth <= top() && stack[voidParentDepth].serial == voidParentSerial) {
            if (tag == Tag::Hr && preserves(stack[voidParentDepth].space))
                takeBackLineBreak(); // as for "<pre><hr>\n</hr>"
            popTo(voidParentDepth);
            newTextNode(true, Tag::Unknown);
        } else {
            // "<div><br><dd></br>x": that parent was closed since (the <dd> climbed out of
            // it), and Qt puts what follows back into it; its tree is no longer a stack.
            beyondForwardPass = true;
        }
        return;
    }
    const int match = findOpen(tag, name);
    if (match < 0)
        return; // Qt ignores end tags with nothing to end
    if (stack[match].display == Display::Block && preserves(stack[match].space))
        takeBackLineBreak();
    const bool nameless = recv.afterNameless;
    const bool reuses = resolvePendingText();
    const Tag afterVoid = reuses ? recv.afterVoid : Tag::Unknown;
    popTo(match - 1);
    // A reused node keeps its place in Qt's list, right after the empty element.
    newTextNode(true, afterVoid);
    keepNameless(reuses && nameless);
}

// Qt drops the line break that ends the last node's text when a block element with preserved
// white space ends (</pre>): the block's end breaks the line anyway, and when nothing follows
// that needs a new block the text runs on. It does so before folding white space, so a line
// break folded into a space (in a cell inside the pre) goes too.
void PlainTextExtractor::takeBackLineBreak() {
    if (recv.isText && !recv.started && recv.heldNewline)
        recv.heldNewline = false; // "<pre><> \n</pre>": one blank is left
    else if (recv.isText && !recv.started && recv.length == 1 && recv.held == u'\n')
        recv.length = 0;
    else if (endsWithNewline)
        restoreBeforeNewline();
    else if ((recv.blockIfText || recv.listPending) && !heldBlanks.isEmpty() &&
             heldBlanks.back() == u'\n')
        heldBlanks.removeLast(); // the node holds only blanks yet, waiting to start a paragraph
}

// After '&'.
void PlainTextExtractor::parseEntity() {
    const qsizetype start = pos;
    qsizetype q = start;
    qsizetype bodyLength = 0;
    bool error = false;
    while (q < n) {
        const char16_t c = s[q++];
        if (isSpace(c) || q - start > 9) {
            error = true;
            break;
        }
        if (c == u';')
            break;
        ++bodyLength;
    }
    if (!error && bodyLength > 0) {
        char16_t units[2];
        const int count = decodeEntity(QStringView(s + start, bodyLength), units);
        if (count > 0) {
            pos = q;
            for (int i = 0; i < count; ++i)
                text(units[i]);
            return;
        }
    }
    text(u'&');
}

void PlainTextExtractor::openElement(Tag tag, Display display, Word name, bool closed,
                                     Tag afterVoid) {
    bool implicit = false;
    // Qt repairs a stray <td> or <tr> by putting it into a table of its own (a stray <th> just
    // climbs to the root).
    if (tag == Tag::Td) {
        if (openCount[int(Tag::Tr)] == 0) {
            implicit = true;
            pushImplicit(Tag::Table, false);
            pushImplicit(Tag::Tr, false);
        }
    } else if (tag == Tag::Tr && openCount[int(Tag::Table)] == 0) {
        implicit = true;
        pushImplicit(Tag::Table, false);
    }
    int p = top();
    if (tag == Tag::P) {
        // A paragraph inside inline elements of a paragraph ends that paragraph.
        const int block = stack[p].nearestBlock;
        if (block > 0 && stack[block].tag == Tag::P)
            p = block;
    }
    if ((tag == Tag::P || tag == Tag::Li) && stack[p].tag == tag)
        --p;
    while (p > 0 && !allowedIn(tag, stack[p].tag))
        --p;
    const bool popped = p < top();
    popTo(p);

    const Open &parent = stack[p];
    Open e;
    e.tag = tag;
    const bool hidden = parent.display == Display::None || (reusedHidden && tag == Tag::Unknown);
    reusedHidden = false;
    e.display = hidden ? Display::None : display;
    e.space = tag == Tag::Pre    ? Space::Pre
              : tag == Tag::Br   ? Space::PreWrap
              : tag == Tag::Nobr ? Space::NoWrap
                                 : parent.space;
    if (tag == Tag::Unknown) {
        e.nameFrom = name.from;
        e.nameLength = name.length;
        e.nameHash = hashName(name);
    }
    push(e, popped, true);
    // Implicit table nodes come between the empty element and this one.
    if (!implicit)
        elementAfterVoid = afterVoid;
    if (e.display == Display::Block && preserves(e.space) && pos < n - 1 && s[pos] == u'\n')
        ++pos; // the element's own line break is not content
    if (isVoid(tag) || closed) {
        if (tag == Tag::Br)
            text(LineSeparator);
        popTo(top() - 1);
        if (isVoid(tag)) {
            voidParentDepth = top();
            voidParentSerial = stack[top()].serial;
        }
        newTextNode(true, isVoid(tag) ? tag : Tag::Unknown);
    }
}

void PlainTextExtractor::pushImplicit(Tag tag, bool popped) {
    // Qt makes these nodes bare: inline, not hidden, normal white space.
    Open e;
    e.tag = tag;
    push(e, popped, false);
}

void PlainTextExtractor::push(const Open &element, bool popped, bool childOfParent) {
    const int depth = top() + 1;
    Open &parent = stack[top()];
    if (childOfParent)
        parent.hasChildren = true;
    const int chainMax = element.display != Display::Inline ? depth : parent.chainMax;
    const int nearestBlock = element.display == Display::Block ? depth : parent.nearestBlock;
    if (element.tag == Tag::Unknown)
        ++unknownCount(element.nameHash);
    else
        ++openCount[int(element.tag)];
    const bool isChild = lastIsTop && !popped;
    elementAfterVoid = Tag::Unknown;
    Open &e = stack.emplace_back(element);
    e.serial = ++serials;
    e.chainMax = chainMax;
    e.nearestBlock = nearestBlock;
    lastIsTop = true;
    lastChainMax = chainMax;
    startElement(e, isChild);
}

void PlainTextExtractor::popTo(int depth) {
    endNode();
    if (top() > depth)
        lastIsTop = false;
    while (top() > depth) {
        const Open &e = stack.last();
        if (e.tag == Tag::Unknown)
            --unknownCount(e.nameHash);
        else
            --openCount[int(e.tag)];
        closeElement(e);
        stack.removeLast();
    }
}

// Qt reuses the last node for the next one when it is a text node holding nothing, or a single
// blank right after a block, table or invisible element: that text is then never shown.
bool PlainTextExtractor::resolvePendingText() {
    if (!recv.isText || recv.started)
        return false;
    // Qt walks up from the node before this one to this node's level looking for a
    // non-inline element; when that node is this one's parent, the walk climbs to the root.
    const bool afterNonInline =
        recv.isChild ? recv.previousChainMax >= 1 : recv.previousChainMax > recv.parentDepth;
    // Only a single blank is dropped with its node; a blank and a line break are two.
    if (recv.length == 0 || (afterNonInline && !recv.heldNewline)) {
        reusedHidden = recv.hidden;
        lastIsTop = recv.savedLastIsTop;
        lastChainMax = recv.savedLastChainMax;
        return true;
    }
    startWithHeld();
    return false;
}

void PlainTextExtractor::newTextNode(bool popped, Tag afterVoid) {
    elementAfterVoid = Tag::Unknown;
    const Open &parent = stack[top()];
    Receiver r;
    r.isText = true;
    r.started = false;
    r.isChild = lastIsTop && !popped;
    r.hidden = parent.display == Display::None || reusedHidden;
    reusedHidden = false;
    r.space = parent.space;
    r.parentDepth = top();
    r.previousChainMax = lastChainMax;
    r.afterVoid = afterVoid;
    r.savedLastIsTop = lastIsTop;
    r.savedLastChainMax = lastChainMax;
    endNode();
    recv = r;
    lastIsTop = false;
    // A hidden node is not inline either, to Qt.
    lastChainMax = r.hidden ? top() + 1 : parent.chainMax;
    updateMode();
}

} // namespace pagetext
