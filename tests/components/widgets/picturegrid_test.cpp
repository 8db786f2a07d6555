// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "common/testutil.h"
#include "components/widgets/picturegrid.h"

namespace
{

TEST(PictureGrid, CellsAreAddressedColumnRowFromOne)
{
    PictureGrid grid;
    grid.setGridSize(2, 3);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.columnCount(), 3);
    const QImage picture = TestUtil::samplePicture(30, 20, 1);
    grid.setCellPicture(3, 2, picture);
    EXPECT_EQ(grid.cellPicture(3, 2), picture);
    EXPECT_TRUE(grid.cellPicture(2, 3).isNull());
    EXPECT_TRUE(grid.cellPicture(1, 1).isNull());
    grid.setCellColor(2, 1, Qt::red);
    EXPECT_EQ(grid.item(0, 1)->background().color(), QColor(Qt::red));
    // Outside the grid nothing is stored and nothing breaks.
    for (auto [c, r] : {std::pair{0, 1}, {1, 0}, {4, 1}, {1, 3}, {-1, -1}}) {
        grid.setCellPicture(c, r, picture);
        grid.setCellColor(c, r, Qt::blue);
        EXPECT_TRUE(grid.cellPicture(c, r).isNull());
    }
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.columnCount(), 3);
}

TEST(PictureGrid, KeepsThePictureWholeWhateverTheCellSize)
{
    PictureGrid grid;
    grid.setGridSize(1, 1);
    grid.setCellSizePixels(40, 30);
    const QImage large = TestUtil::samplePicture(400, 300, 2);
    grid.setCellPicture(1, 1, large);
    EXPECT_EQ(grid.cellPicture(1, 1).size(), QSize(400, 300));
    grid.setCellSizePixels(0, -5); // at least one pixel
    EXPECT_EQ(grid.columnWidth(0), 1);
    EXPECT_EQ(grid.rowHeight(0), 1);
    grid.show();
    grid.repaint(); // painting a picture into a 1-pixel cell must not fail
    EXPECT_EQ(grid.cellPicture(1, 1), large);
}

TEST(PictureGrid, ActiveCellFollowsSetActiveCellAndClears)
{
    PictureGrid grid;
    grid.setGridSize(3, 4);
    EXPECT_EQ(grid.activeRow(), 0);
    EXPECT_EQ(grid.activeColumn(), 0);
    grid.setActiveCell(4, 3);
    EXPECT_EQ(grid.activeRow(), 3);
    EXPECT_EQ(grid.activeColumn(), 4);
    for (auto [c, r] : {std::pair{0, 0}, {0, 2}, {2, 0}, {5, 1}, {1, 4}}) {
        grid.setActiveCell(4, 3);
        grid.setActiveCell(c, r);
        EXPECT_EQ(grid.activeRow(), 0);
        EXPECT_EQ(grid.activeColumn(), 0);
    }
}

TEST(PictureGrid, ClickSelectsAndDoubleClickReportsOneBased)
{
    PictureGrid grid;
    grid.setGridSize(2, 2);
    grid.setCellSizePixels(50, 40);
    grid.resize(200, 200);
    grid.show();
    QSignalSpy spy(&grid, &PictureGrid::cellDoubleClickedAt);
    const QRect cell = grid.visualRect(grid.model()->index(1, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(grid.activeRow(), 2);
    EXPECT_EQ(grid.activeColumn(), 1);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1); // column
    EXPECT_EQ(spy.at(0).at(1).toInt(), 2); // row
}

TEST(PictureGrid, FocusAloneSelectsNoCell)
{
    PictureGrid grid;
    grid.setGridSize(2, 2);
    grid.show();
    grid.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(grid.activeRow(), 0);
}

} // namespace
