// SPDX-License-Identifier: MIT
#pragma once

/// The numbering of the choosers' grids: item k (1-based) fills the cells row by row, so cell
/// (row, column) holds item (row - 1) * columns + column. Pure arithmetic, any thread.
namespace GridIndex
{

struct Cell {
    int row = 0;
    int column = 0;
    bool operator==(const Cell&) const = default;
};

/// The item number of a cell. A row or column of 0 (no active cell) gives a number below 1.
constexpr int itemAt(int row, int column, int columns)
{
    return (row - 1) * columns + column;
}

/// The cell that holds item k; {0, 0} when k is below 1 or columns below 1.
constexpr Cell cellOf(int k, int columns)
{
    if (k < 1 || columns < 1)
        return {};
    return {(k - 1) / columns + 1, (k - 1) % columns + 1};
}

/// Rows needed for n items: n divided by columns, rounded up; 0 for no items.
constexpr int rowsFor(int n, int columns)
{
    if (n < 1 || columns < 1)
        return 0;
    return n / columns + (n % columns ? 1 : 0);
}

/// True when the cell holds one of the n items (not an empty cell of the last row).
constexpr bool holdsItem(int row, int column, int columns, int n)
{
    if (row < 1 || column < 1 || column > columns)
        return false;
    const int k = itemAt(row, column, columns);
    return k >= 1 && k <= n;
}

} // namespace GridIndex
