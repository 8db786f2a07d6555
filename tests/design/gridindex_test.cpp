// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "design/gridindex.h"

namespace
{

TEST(GridIndex, CellAndItemAreInverse)
{
    for (int columns : {3, 4, 7}) {
        for (int k = 1; k <= 30; ++k) {
            SCOPED_TRACE(testing::Message() << columns << " columns, item " << k);
            const GridIndex::Cell cell = GridIndex::cellOf(k, columns);
            EXPECT_GE(cell.column, 1);
            EXPECT_LE(cell.column, columns);
            EXPECT_EQ(GridIndex::itemAt(cell.row, cell.column, columns), k);
        }
    }
}

TEST(GridIndex, KnownCells)
{
    struct Row {
        int row, column, columns, item;
    };
    const Row rows[] = {
        {1, 1, 3, 1},  {2, 1, 3, 4}, {3, 1, 3, 7},  {3, 2, 3, 8}, {3, 2, 4, 10},
        {4, 4, 4, 16}, {2, 2, 7, 9}, {2, 3, 7, 10}, {1, 7, 7, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.row << "," << r.column << " of " << r.columns);
        EXPECT_EQ(GridIndex::itemAt(r.row, r.column, r.columns), r.item);
        EXPECT_EQ(GridIndex::cellOf(r.item, r.columns), (GridIndex::Cell{r.row, r.column}));
    }
}

TEST(GridIndex, RowsRoundUp)
{
    struct Row {
        int n, columns, rows;
    };
    const Row rows[] = {{0, 3, 0}, {1, 3, 1}, {3, 3, 1}, {4, 3, 2},  {7, 3, 3},  {9, 3, 3},    {10, 3, 4},
                        {0, 7, 0}, {7, 7, 1}, {9, 7, 2}, {14, 7, 2}, {15, 7, 3}, {999, 7, 143}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.n << " in " << r.columns);
        EXPECT_EQ(GridIndex::rowsFor(r.n, r.columns), r.rows);
    }
}

TEST(GridIndex, EmptyCellsAndNoCellHoldNothing)
{
    // Seven images in three columns: row 3 holds only its first cell.
    EXPECT_TRUE(GridIndex::holdsItem(3, 1, 3, 7));
    EXPECT_FALSE(GridIndex::holdsItem(3, 2, 3, 7));
    EXPECT_FALSE(GridIndex::holdsItem(3, 3, 3, 7));
    // Nine photos in seven columns: cells 10 to 14 are empty.
    for (int column = 3; column <= 7; ++column)
        EXPECT_FALSE(GridIndex::holdsItem(2, column, 7, 9));
    EXPECT_TRUE(GridIndex::holdsItem(2, 2, 7, 9));
    // No active cell, a column beyond the grid, an empty list.
    EXPECT_FALSE(GridIndex::holdsItem(0, 0, 7, 9));
    EXPECT_FALSE(GridIndex::holdsItem(1, 0, 3, 7));
    EXPECT_FALSE(GridIndex::holdsItem(1, 4, 3, 7));
    EXPECT_FALSE(GridIndex::holdsItem(1, 1, 3, 0));
    EXPECT_EQ(GridIndex::cellOf(0, 3), GridIndex::Cell{});
    EXPECT_EQ(GridIndex::cellOf(-2, 3), GridIndex::Cell{});
}

} // namespace
