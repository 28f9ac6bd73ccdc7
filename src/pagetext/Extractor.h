#pragma once

#include "pagetext/Characters.h"
#include "pagetext/Elements.h"
#include "pagetext/TableGrid.h"
#include "platform/PageBuffer.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <cstring>
#include <utility>
#include <vector>

namespace pagetext {

// ----------------------------------------------------------------------------------------------
// Plain text of a page
//
// The view is a QTextDocument filled by setHtml(). Its text is not simply "the HTML minus the
// tags": Qt's parser builds a tree with its own repair rules, and its importer decides block by
// block where a new paragraph starts. Words that Qt runs together ("<div>a</div>b" shows "ab")
// must run together here too, or a phrase search finds what the reader cannot see, or misses
// what the reader sees. So this folder replays, in one forward pass and without building the tree,
// the parts of Qt's parser and importer that decide which characters are shown and where lines
// break: the stack of open elements, the display mode of each, the node-reuse rule for lone
// spaces, and the importer's hasBlock / blockTagClosed / white-space-compression state.
// ----------------------------------------------------------------------------------------------

class PlainTextExtractor {
public:
    PlainTextExtractor(QStringView html, platform::PageBuffer<char16_t> &text)
        : s(html.utf16()), n(html.size()), out(text) {
        capacity = n + 16;
        o = reinterpret_cast<QChar *>(out.Resize(capacity));
        Open root;
        stack.append(root);
    }

    // Writes the text into the buffer given.
    void run();
    // The text may differ from Qt's: the page's table markup is broken in a way whose effect on
    // Qt's tables only the whole tree tells (see closeElement and Tables.cpp).
    bool beyondForwardPass = false;

private:
    // One open element: a node of Qt's tree that later content can still go into.
    struct Open {
        Tag tag = Tag::Unknown;
        Display display = Display::Inline;
        Space space = Space::Normal;
        bool hasChildren = false; // an element (not text) was put inside it
        int chainMax = -1;        // depth of the deepest non-inline element from the root to here
        int nearestBlock = -1;    // depth of the deepest block element from the root to here
        quint64 nameHash = 0;     // unknown elements: to match their end tags
        quint32 serial = 0;       // tells a still-open element from a later one at its depth
        qsizetype nameFrom = 0;
        qsizetype nameLength = 0;
    };

    // The node the next characters of text go into: an element just opened (or the root), or a
    // text node made after an end tag or an empty element. Qt drops a text node again when the
    // next node comes and the text node holds nothing, or one blank after a block or an
    // invisible element; so a text node starts counting only once that is ruled out.
    struct Receiver {
        bool isText = false;
        bool started = true;
        bool isChild = false; // the node is a child of the node before it (no tag was closed)
        bool hidden = false;
        bool drop = false;        // its text is not shown
        bool blockIfText = false; // a paragraph starts at its first visible character
        bool listPending = false; // <ul>/<ol> text starts the list's paragraph if not blank
        Space space = Space::Normal;
        quint8 length = 0; // text nodes not yet started: characters seen (one blank is held)
        char16_t held = 0;
        bool heldNewline = false; // a '\n' after the held blank is held too
        int parentDepth = 0;
        int previousChainMax = -1;
        Tag afterVoid = Tag::Unknown; // made right after this empty element (<br>, <img>, ...)
        bool afterNameless = false;   // made by a nameless element ("<>"), which Qt also lists
        bool savedLastIsTop = false;
        int savedLastChainMax = -1;
    };

    struct Word {
        qsizetype from = 0;
        qsizetype length = 0;
        bool literal = false; // single-quoted: Qt reads no entity in it
    };
    QString decodedNames;

    enum class Mode : quint8 { Plain, Skip, Slow };
    enum class Compress : quint8 { Preserve, Collapse, Remove };

    // Input.
    const char16_t *s;
    qsizetype n;
    qsizetype pos = 0;

    // Output.
    platform::PageBuffer<char16_t> &out;
    QChar *o = nullptr;
    qsizetype length = 0;
    qsizetype capacity = 0;

    // Parser.
    QVarLengthArray<Open, 64> stack;
    int openCount[int(Tag::Count)] = {};
    std::vector<std::pair<quint64, int>> unknownCounts; // open addressing, key 0 = free
    int unknownUsed = 0;
    Receiver recv;
    Mode mode = Mode::Plain;
    bool lastIsTop = true; // the last node made is the innermost open element (or the root)
    int lastChainMax = -1;
    // Qt reused a hidden text node for the next node, which keeps it hidden unless it is a known
    // element (Qt sets those afresh).
    bool reusedHidden = false;
    quint32 serials = 0;
    // The last empty element's parent. Qt matches an end tag against the node made just before
    // the last one when that is an empty element, and resumes in that element's parent.
    int voidParentDepth = 0;
    quint32 voidParentSerial = 0;
    // The element just opened took the place of the text node after this empty element.
    Tag elementAfterVoid = Tag::Unknown;

    // Importer.
    bool hasBlock = true;
    bool blockTagClosed = false;
    int pendingBlockTagClosed = -1; // result of the element ends since the last node started
    Compress compress = Compress::Remove;
    int lists = 0;
    // Open tables, and the table frames the cursor is inside. Qt makes a table's whole grid of
    // cells, one marker (a line break) per cell and one for the frame's end, before it fills
    // them; the markers of cells never entered follow the cursor and are written when it leaves
    // the frame, and those of short rows when the table ends and its width is known.
    struct Padding {
        qsizetype at;     // output position
        int previousRow;  // the row of the cell entered last, -1 for none
        int previousUsed; // columns of that row taken up to and including that cell
        int row;          // the row of the cell entered here
    };
    struct TableState {
        int level = 0;       // frames around the cursor while it is in one of the table's cells
        bool inCell = false; // one of its cells is open
        quint32 serial = 0;
        int row = -1;       // the row being read
        int used = 0;       // columns of that row taken by its cells so far
        int columns = 0;    // the widest row so far
        int cursorRow = -1; // the row of the cell entered last, -1 before the first
        int cursorUsed = 0;
        bool spansRows = false; // Qt's whole grid is needed then
        // Where its records start in the lists below, which nested tables share as a stack.
        std::size_t paddingsFrom = 0, cellsFrom = 0, stepsFrom = 0, enteredFrom = 0;
    };
    QVarLengthArray<TableState, 8> tables;
    std::vector<Padding> paddings;
    std::vector<TableCell> cells;
    std::vector<TableStep> steps;
    std::vector<qsizetype> enteredAt; // where each Enter step wrote its marker
    int cursorFrames = 0;
    // Per frame around the cursor: the table it belongs to, and the markers still due in it.
    struct Frame {
        quint32 table = 0;
        qsizetype tail = 0;
    };
    QVarLengthArray<Frame, 8> frames;
    quint32 tableSerials = 0;
    int cellColumns = 1; // the column span of the cell being opened
    int cellRows = 1;    // and its row span
    // Qt would build a grid of billions of cells for a huge colspan; the text keeps to this.
    static constexpr int MaxColumnSpan = 1000;
    static constexpr int MaxRowSpan = 1000000;
    bool documentEmpty = true;
    bool lastIsLineSeparator = false;
    // The text of the node receiving characters ends with a '\n' (shown, or folded into a space),
    // and the state before it; where in the page the last such '\n' of the bulk was.
    bool endsWithNewline = false;
    qsizetype newlineAt = -1;
    // Leading blanks of a node that may start a paragraph: a line break or two, as a rule, held
    // without a trip to the heap.
    QVarLengthArray<char16_t, 16> heldBlanks;
    struct BeforeNewline {
        qsizetype length;
        Compress compress;
        bool hasBlock;
        bool documentEmpty;
        bool lastIsLineSeparator;
    } beforeNewline{};

    void restoreBeforeNewline() {
        length = beforeNewline.length;
        compress = beforeNewline.compress;
        hasBlock = beforeNewline.hasBlock;
        documentEmpty = beforeNewline.documentEmpty;
        lastIsLineSeparator = beforeNewline.lastIsLineSeparator;
        endsWithNewline = false;
    }

    int top() const { return int(stack.size()) - 1; }

    // --- output -------------------------------------------------------------------------------

    Q_ALWAYS_INLINE void reserve(qsizetype extra) {
        if (length + extra > capacity)
            grow(extra);
    }

    Q_NEVER_INLINE void grow(qsizetype extra) {
        capacity = std::max(capacity * 2, length + extra);
        o = reinterpret_cast<QChar *>(out.Grow(capacity, length));
    }

    void emitChar(char16_t c) {
        reserve(1);
        o[length++] = QChar(c);
    }

    void emitRun(qsizetype from, qsizetype to) {
        reserve(to - from);
        std::memcpy(static_cast<void *>(o + length), s + from, size_t(to - from) * sizeof(QChar));
        length += to - from;
        endsWithNewline = false;
        compress = Compress::Preserve;
        hasBlock = false;
        documentEmpty = false;
        lastIsLineSeparator = false;
    }

    // A block separator, a table cell's or frame's marker, a line separator: a line break in the
    // view's plain text.
    void lineBreak() { emitChar(u'\n'); }

    // --- importer -----------------------------------------------------------------------------

    static bool preserves(Space space) { return space == Space::Pre || space == Space::PreWrap; }

    bool takePendingBlockTagClosed() {
        const bool closed = pendingBlockTagClosed == 1;
        pendingBlockTagClosed = -1;
        return closed;
    }

    void appendBlock(Space space) {
        lineBreak();
        documentEmpty = false;
        lastIsLineSeparator = false;
        if (!preserves(space))
            compress = Compress::Remove;
    }

    void processBlock(Tag tag, Space space) {
        if ((tag == Tag::Td || tag == Tag::Th) && !tables.isEmpty()) {
            enterCell();
            documentEmpty = false;
            lastIsLineSeparator = false;
            hasBlock = true;
            compress = Compress::Remove;
        }
        if (!hasBlock)
            appendBlock(space);
        hasBlock = true;
        blockTagClosed = false;
    }

    // The importer passes the end of an element.
    Q_ALWAYS_INLINE void closeElement(const Open &e) {
        // Qt ends table structure in hidden markup too (table markup in a script, say), against
        // the wrong table; what that does to the table cannot be told without its whole tree.
        if (e.display == Display::None && !tables.isEmpty() &&
            (e.tag == Tag::Table || e.tag == Tag::Tr || e.tag == Tag::Td || e.tag == Tag::Th))
            beyondForwardPass = true;
        switch (e.tag) {
        case Tag::Tr:
            if (!tables.isEmpty())
                steps.push_back(TableStep::RowEnd);
            pendingBlockTagClosed = 1;
            break;
        case Tag::Table:
            if (tables.isEmpty())
                break;
            endTable();
            pendingBlockTagClosed = 0;
            compress = Compress::Remove;
            // Qt puts the cursor below the outermost table, or at the end of the enclosing open
            // cell; otherwise (a table closed outside any cell of its enclosing table) it stays
            // in the last cell, and the text that follows runs on there.
            // Whether Qt keeps it there depends on cells still to come.
            if (tables.isEmpty())
                leaveFrames(0);
            else if (tables.last().inCell)
                leaveFrames(tables.last().level);
            else
                beyondForwardPass = true;
            break;
        case Tag::Td:
        case Tag::Th:
            if (!tables.isEmpty()) {
                tables.last().inCell = false;
                steps.push_back(TableStep::CellEnd);
            }
            pendingBlockTagClosed = 1;
            compress = Compress::Remove;
            break;
        case Tag::Ol:
        case Tag::Ul:
            if (lists > 0) {
                --lists;
                pendingBlockTagClosed = 1;
            }
            break;
        case Tag::Br:
            compress = Compress::Remove;
            break;
        case Tag::Div:
            // A <div> ends its paragraph only when it held elements, not bare text.
            if (!documentEmpty && e.hasChildren && !lastIsLineSeparator)
                pendingBlockTagClosed = 1;
            break;
        case Tag::H1:
        case Tag::H2:
        case Tag::H3:
        case Tag::H4:
        case Tag::H5:
        case Tag::H6:
            pendingBlockTagClosed = 1;
            break;
        default:
            if (e.display == Display::Block)
                pendingBlockTagClosed = 1;
            break;
        }
    }

    void enterCell();
    void endTable();
    void placeMarkers(const TableState &t);
    bool placeMarkersOnGrid(const TableState &t);
    void leaveFrames(int level);

    Q_ALWAYS_INLINE void startElement(const Open &e, bool isChild);
    void startTextNode();
    bool holdBlank(char16_t c);
    void startWithHeld();
    void updateMode();
    Q_ALWAYS_INLINE qsizetype plainRun(qsizetype from);
    void text(char16_t c);
    void feed(char16_t c);
    void feedHeldBlanks();
    // The node that received text ends (inline: it runs for every node). The next one holds no
    // line break yet, whatever the blanks held for this one ended with.
    void endNode() {
        if (!heldBlanks.isEmpty())
            endNodeWithHeldBlanks();
        endsWithNewline = false;
    }
    void endNodeWithHeldBlanks();

    // --- parser -------------------------------------------------------------------------------

    void eatSpace() {
        qsizetype end = pos;
        for (; end < n; ++end) {
            const char16_t c = s[end];
            if (c < 0x80 ? !(AsciiClasses[c] & Blank) : (c == ParagraphSeparator || !isSpace(c)))
                break;
        }
        pos = end;
    }

    Q_ALWAYS_INLINE Word scanWord();
    Q_ALWAYS_INLINE Word scanName(quint64 &key);
    // An element's name (key != 0) holds no entity: only other names need a look.
    Word decodeName(Word raw, quint64 &key) {
        return key != 0 ? raw : decodeEntitiesInName(raw, key);
    }
    Word decodeEntitiesInName(Word raw, quint64 &key);
    void appendDecoded(Word raw, QString &to) const;
    QStringView wordText(Word raw, QString &storage) const;
    void takeBackLineBreak();
    // An end tag's new text node is, to Qt, the node a nameless element made when it reuses it;
    // that node stays listed among the children it was put in.
    void keepNameless(bool reused) { recv.afterNameless = reused; }
    // A name's characters: in the page, or (negative `from`) decoded into decodedNames.
    QStringView nameView(Word name) const {
        return name.from >= 0 ? QStringView(s + name.from, name.length)
                              : QStringView(decodedNames).sliced(-1 - name.from, name.length);
    }
    void scanAttributes(bool cell);
    void parseTag();
    void parseCloseTag();
    void parseEntity();
    void openElement(Tag tag, Display display, Word name, bool closed, Tag afterVoid);
    void pushImplicit(Tag tag, bool popped);
    Q_ALWAYS_INLINE void push(const Open &e, bool popped, bool childOfParent);
    Q_ALWAYS_INLINE void popTo(int depth);
    int findOpen(Tag tag, Word name) const {
        if (tag == Tag::Unknown)
            return findOpenUnknown(name);
        if (openCount[int(tag)] == 0)
            return -1;
        for (int i = top(); i > 0; --i) {
            if (stack[i].tag == tag)
                return i;
        }
        return -1;
    }
    int findOpenUnknown(Word name) const;
    Q_ALWAYS_INLINE bool resolvePendingText();
    Q_ALWAYS_INLINE void newTextNode(bool popped, Tag afterVoid);
    quint64 hashName(Word name) const;
    bool sameName(const Open &e, Word name) const;
    int &unknownCount(quint64 hash);
    int unknownCountOf(quint64 hash) const;
};

// The importer's reactions to a new node, inline: the parser calls them for every node.

inline void PlainTextExtractor::updateMode() {
    if (!recv.started || recv.blockIfText || recv.listPending)
        mode = Mode::Slow;
    else if (recv.drop)
        mode = Mode::Skip;
    else
        mode = Mode::Plain;
}

inline void PlainTextExtractor::startElement(const Open &e, bool isChild) {
    if (isChild) {
        pendingBlockTagClosed = -1;
    } else {
        blockTagClosed = takePendingBlockTagClosed();
        if (blockTagClosed && e.display != Display::Block && e.tag != Tag::Unknown)
            hasBlock = false;
    }
    endNode();
    recv = Receiver();
    recv.space = e.space;
    if (e.display == Display::None) {
        recv.drop = true;
        updateMode();
        return;
    }
    switch (e.tag) {
    case Tag::Body:
    case Tag::Qt:
        compress = Compress::Remove;
        break;
    case Tag::Ol:
    case Tag::Ul:
        ++lists;
        compress = Compress::Remove;
        recv.listPending = true;
        updateMode();
        return;
    case Tag::Table:
        // The table's frame goes where the cursor is.
        tables.append(TableState{});
        tables.last().level = cursorFrames + 1;
        tables.last().serial = ++tableSerials;
        tables.last().paddingsFrom = paddings.size();
        tables.last().cellsFrom = cells.size();
        tables.last().stepsFrom = steps.size();
        tables.last().enteredFrom = enteredAt.size();
        hasBlock = false;
        compress = Compress::Remove;
        recv.drop = true;
        updateMode();
        return;
    case Tag::Tr:
        if (!tables.isEmpty()) {
            ++tables.last().row;
            tables.last().used = 0;
        }
        recv.drop = true;
        updateMode();
        return;
    case Tag::Img:
        emitChar(ObjectReplacement);
        compress = Compress::Collapse;
        hasBlock = false;
        documentEmpty = false;
        lastIsLineSeparator = false;
        recv.drop = true;
        updateMode();
        return;
    case Tag::Hr:
        if (!hasBlock)
            appendBlock(e.space);
        hasBlock = false;
        compress = Compress::Remove;
        recv.drop = true;
        updateMode();
        return;
    default:
        break;
    }
    if (blockTagClosed && !hasBlock && e.display == Display::Inline)
        recv.blockIfText = true;
    if (e.display == Display::Block)
        processBlock(e.tag, e.space);
    if (preserves(e.space))
        compress = Compress::Preserve;
    updateMode();
}

inline void PlainTextExtractor::startTextNode() {
    recv.started = true;
    if (recv.isChild)
        pendingBlockTagClosed = -1;
    else
        blockTagClosed = takePendingBlockTagClosed();
    if (recv.hidden) {
        recv.drop = true;
        updateMode();
        return;
    }
    recv.blockIfText = blockTagClosed && !hasBlock;
    if (preserves(recv.space))
        compress = Compress::Preserve;
    updateMode();
}

} // namespace pagetext
