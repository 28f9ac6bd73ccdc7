#include "pagetext/Extractor.h"

#include <algorithm>

// Tables: where Qt's cell markers fall in the text. Qt counts a table's rows and columns before
// it fills the cells and then walks the cells in order, row by row; a row with fewer cells than
// the widest is padded with empty cells at its end.
namespace pagetext {

void PlainTextExtractor::enterCell() {
    TableState &t = tables.last();
    t.inCell = true;
    if (t.row < 0)
        t.row = 0;
    t.used += cellColumns;
    t.columns = std::max(t.columns, t.used);
    if (t.cursorRow != t.row)
        paddings.push_back(Padding{length, t.cursorRow, t.cursorUsed, t.row});
    t.cursorRow = t.row;
    t.cursorUsed = t.used;
    t.spansRows = t.spansRows || cellRows > 1;
    cells.push_back(TableCell{t.row, cellColumns, cellRows});
    steps.push_back(TableStep::Enter);
    enteredAt.push_back(length);
    // The cursor moves into the cell, inside the table's frame; it leaves the frames of tables
    // that ended around it, among them one in this table's place before this table.
    if (cursorFrames >= t.level && frames[t.level - 1].table != t.serial)
        leaveFrames(t.level - 1);
    else
        leaveFrames(t.level);
    if (frames.size() < t.level)
        frames.resize(t.level);
    frames[t.level - 1].table = t.serial;
    cursorFrames = t.level;
    lineBreak();
}

// The table's width is known: short rows get their empty cells, and the markers after the last
// cell entered wait for the cursor to leave the frame.
void PlainTextExtractor::endTable() {
    const TableState t = tables.last();
    tables.removeLast();
    placeMarkers(t);
    paddings.resize(t.paddingsFrom);
    cells.resize(t.cellsFrom);
    steps.resize(t.stepsFrom);
    enteredAt.resize(t.enteredFrom);
}

void PlainTextExtractor::placeMarkers(const TableState &t) {
    if (t.cursorRow < 0)
        return; // no cell: Qt made no table
    if (t.spansRows && placeMarkersOnGrid(t))
        return;
    const qsizetype columns = t.columns;
    const auto missing = [columns](int previousRow, int previousUsed, int row) {
        if (previousRow < 0)
            return row * columns;
        return (columns - previousUsed) + qsizetype(row - previousRow - 1) * columns;
    };
    const int rows = t.row + 1;
    if (qint64(rows) * columns > MaxGridCells) {
        frames[t.level - 1].tail = 1;
        return;
    }
    qsizetype extra = 0;
    const auto first = paddings.begin() + std::ptrdiff_t(t.paddingsFrom);
    for (auto p = first; p != paddings.end(); ++p)
        extra += missing(p->previousRow, p->previousUsed, p->row);
    if (extra > 0) {
        // Shift the text after each padding point, last one first.
        reserve(extra);
        qsizetype end = length;
        qsizetype shift = extra;
        for (auto p = paddings.rbegin(); p != std::make_reverse_iterator(first) && shift > 0; ++p) {
            std::memmove(static_cast<void *>(o + p->at + shift), o + p->at,
                         size_t(end - p->at) * sizeof(QChar));
            const qsizetype count = missing(p->previousRow, p->previousUsed, p->row);
            shift -= count;
            std::fill(o + p->at + shift, o + p->at + shift + count, QChar(u'\n'));
            end = p->at;
        }
        length += extra;
    }
    frames[t.level - 1].tail =
        (columns - t.cursorUsed) + qsizetype(rows - 1 - t.cursorRow) * columns + 1;
}

// With cells spanning rows, which cell an element fills depends on the whole grid. Each marker
// written when a cell was entered becomes the markers due there; false when the grid is too
// large to build.
bool PlainTextExtractor::placeMarkersOnGrid(const TableState &t) {
    TableMarkers markers;
    if (!BuildTableMarkers(std::span(cells).subspan(t.cellsFrom), t.row + 1,
                           std::span(steps).subspan(t.stepsFrom), markers))
        return false;
    const std::span<const qsizetype> entered = std::span(enteredAt).subspan(t.enteredFrom);
    const qsizetype from = entered.front();
    const QString written(o + from, length - from);
    length = from;
    qsizetype copied = 0;
    int last = -1;
    const auto copy = [this, &written](qsizetype begin, qsizetype end) {
        reserve(end - begin);
        std::memcpy(static_cast<void *>(o + length), written.constData() + begin,
                    size_t(end - begin) * sizeof(QChar));
        length += end - begin;
    };
    for (std::size_t i = 0; i < entered.size(); ++i) {
        const qsizetype at = entered[i] - from;
        copy(copied, at);
        copied = at + 1;
        // A cell entered again, or none (the walk ran past the grid), gets no marker; a cell
        // entered before one already written cannot be put back in a forward pass.
        const int place = markers.entered[i];
        if (place >= 0 && place < last)
            beyondForwardPass = true;
        if (place > last) {
            reserve(place - last);
            std::fill(o + length, o + length + (place - last), QChar(u'\n'));
            length += place - last;
            last = place;
        }
    }
    copy(copied, written.size());
    frames[t.level - 1].tail = markers.count - last;
    return true;
}

void PlainTextExtractor::leaveFrames(int level) {
    for (; cursorFrames > level; --cursorFrames) {
        const qsizetype tail = frames[cursorFrames - 1].tail;
        reserve(tail);
        std::fill(o + length, o + length + tail, QChar(u'\n'));
        length += tail;
        if (tail > 0) {
            documentEmpty = false;
            lastIsLineSeparator = false;
        }
    }
}

} // namespace pagetext
