#include "pagetext/TableGrid.h"

#include <algorithm>

namespace pagetext {

namespace {

struct Span {
    int row = 0;
    int column = 0;
    int columns = 0;
    int rows = 0;
};

class Grid {
public:
    Grid(int rows, int columns)
        : rows(rows), columns(columns), ids(std::size_t(rows) * std::size_t(columns)),
          top(ids.size()), left(ids.size()), rowSpan(ids.size(), 1), columnSpan(ids.size(), 1) {
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const int id = r * columns + c;
                ids[std::size_t(id)] = id;
                top[std::size_t(id)] = r;
                left[std::size_t(id)] = c;
            }
        }
    }

    // The cell covering a place; -1 outside the grid.
    int at(int r, int c) const {
        if (r < 0 || c < 0 || r >= rows || c >= columns)
            return -1;
        return ids[std::size_t(r) * std::size_t(columns) + std::size_t(c)];
    }

    // QTextTable::mergeCells: refused when the cell is not the corner of its own cell, when
    // it would shrink, or when another cell crosses the rectangle's edge.
    void merge(int row, int column, int numRows, int numColumns) {
        const int id = at(row, column);
        if (id < 0 || top[std::size_t(id)] != row || left[std::size_t(id)] != column)
            return;
        numRows = std::min(numRows, rows - row);
        numColumns = std::min(numColumns, columns - column);
        if (numRows < rowSpan[std::size_t(id)] || numColumns < columnSpan[std::size_t(id)])
            return;
        for (int r = row; r < row + numRows; ++r) {
            if (at(r, column) == at(r, column - 1) ||
                at(r, column + numColumns) == at(r, column + numColumns - 1))
                return;
        }
        for (int c = column; c < column + numColumns; ++c) {
            if (at(row, c) == at(row - 1, c) || at(row + numRows, c) == at(row + numRows - 1, c))
                return;
        }
        for (int r = row; r < row + numRows; ++r)
            for (int c = column; c < column + numColumns; ++c)
                ids[std::size_t(r) * std::size_t(columns) + std::size_t(c)] = id;
        rowSpan[std::size_t(id)] = numRows;
        columnSpan[std::size_t(id)] = numColumns;
    }

    const int rows;
    const int columns;
    std::vector<int> ids;
    std::vector<int> top, left, rowSpan, columnSpan;
};

// Qt's walk through the cells of a table, row by row.
struct Walk {
    const Grid &grid;
    int row = 0;
    int column = 0;

    bool atEnd() const { return row >= grid.rows; }
    void next() {
        if (atEnd())
            return;
        do {
            column += grid.columnSpan[std::size_t(grid.at(row, column))];
            if (column >= grid.columns) {
                column = 0;
                ++row;
            }
        } while (row < grid.rows && grid.top[std::size_t(grid.at(row, column))] != row);
    }
};

} // namespace

bool BuildTableMarkers(std::span<const TableCell> cells, int rowCount,
                       std::span<const TableStep> steps, TableMarkers &result) {
    // Where each cell element goes, as Qt counts before making the table: places still taken
    // by a cell spanning rows from above are skipped.
    std::vector<Span> spans;
    std::vector<Span> spanAtColumn;
    int columns = 0;
    std::size_t next = 0;
    for (int row = 0; row < rowCount; ++row) {
        int used = 0;
        for (; next < cells.size() && cells[next].row == row; ++next) {
            while (used < int(spanAtColumn.size())) {
                const Span &above = spanAtColumn[std::size_t(used)];
                if (qint64(above.row) + above.rows <= row)
                    break;
                used += above.columns;
            }
            const Span span{row, used, cells[next].columns, cells[next].rows};
            used += span.columns;
            if (span.columns > 1 || span.rows > 1)
                spans.push_back(span);
            if (int(spanAtColumn.size()) < used)
                spanAtColumn.resize(std::size_t(used));
            for (int c = span.column; c < span.column + span.columns; ++c)
                spanAtColumn[std::size_t(c)] = span;
        }
        columns = std::max(columns, used);
    }
    result = TableMarkers();
    if (rowCount == 0 || columns == 0)
        return true;
    if (qint64(rowCount) * columns > MaxGridCells)
        return false;
    Grid grid(rowCount, columns);
    for (const Span &span : spans)
        grid.merge(span.row, span.column, span.rows, span.columns);

    // Markers in the order of the text: by each cell's top left corner.
    std::vector<int> place(grid.ids.size(), -1);
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.columns; ++c) {
            const int id = grid.at(r, c);
            if (grid.top[std::size_t(id)] == r && grid.left[std::size_t(id)] == c)
                place[std::size_t(id)] = result.count++;
        }
    }
    Walk walk{grid};
    int currentRow = 0;
    for (const TableStep step : steps) {
        switch (step) {
        case TableStep::Enter:
            result.entered.push_back(
                walk.atEnd() ? -1 : place[std::size_t(grid.at(walk.row, walk.column))]);
            break;
        case TableStep::CellEnd:
            walk.next();
            break;
        case TableStep::RowEnd:
            ++currentRow;
            while (!walk.atEnd() && walk.row < currentRow)
                walk.next();
            break;
        }
    }
    return true;
}

} // namespace pagetext
