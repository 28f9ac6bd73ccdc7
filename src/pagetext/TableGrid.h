#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

// Qt's grid of a table, worked out once the whole table has been read: which cells it makes,
// how cells spanning rows and columns merge, and which cell each cell element of the page fills.
namespace pagetext {

// A grid larger than this is Qt's problem, not the text's: its cells are not counted.
inline constexpr qint64 MaxGridCells = 4 * 1024 * 1024;

struct TableCell {
    int row;     // the row element it is in, counted from 0
    int columns; // colspan, at least 1
    int rows;    // rowspan, at least 1
};

// What Qt's walk through the cells saw, in page order.
enum class TableStep : quint8 {
    Enter,   // a cell element starts: the cursor goes into the current cell
    CellEnd, // a cell element ends: the walk moves to the next cell
    RowEnd,  // a row element ends: the walk moves on to the next row
};

struct TableMarkers {
    int count = 0;            // cells Qt makes, each with its marker
    std::vector<int> entered; // per Enter step: the cell's place among them, -1 for none
};

// `rowCount` row elements holding `cells`; null when the grid would be too large to build.
bool BuildTableMarkers(std::span<const TableCell> cells, int rowCount,
                       std::span<const TableStep> steps, TableMarkers &result);

} // namespace pagetext
