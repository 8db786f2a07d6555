// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "components/widgets/picturegrid.h"
#include "design/ccolor.h"
#include "design/widgets/frmcolor16.h"

namespace
{

QPushButton* button(QWidget* w, const char* name)
{
    return w->findChild<QPushButton*>(QLatin1String(name));
}

TEST(frmColor16, CaptionsAndSwatches)
{
    CColor colours;
    frmColor16 picker(colours);
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("色見本(標準)"));
    ASSERT_NE(picker.findChild<QLabel*>(QStringLiteral("lblCaption")), nullptr);
    EXPECT_EQ(picker.findChild<QLabel*>(QStringLiteral("lblCaption"))->text(),
              QStringLiteral("■ 色見本から色を選んでください。"));
    ASSERT_NE(button(&picker, "cmdOK"), nullptr);
    ASSERT_NE(button(&picker, "cmdCancel"), nullptr);
    EXPECT_EQ(button(&picker, "cmdOK")->text(), QStringLiteral("OK(&O)"));
    EXPECT_EQ(button(&picker, "cmdCancel")->text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
    auto* grid = picker.findChild<PictureGrid*>(QStringLiteral("vaSpread1"));
    ASSERT_EQ(grid, picker.grid());
    ASSERT_EQ(grid->rowCount(), 4);
    ASSERT_EQ(grid->columnCount(), 4);
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c) {
            SCOPED_TRACE(testing::Message() << r << "," << c);
            EXPECT_EQ(grid->item(r - 1, c - 1)->background().color(),
                      colours.Color().Item((r - 1) * 4 + c)->toQColor());
            // A swatch is named for those who cannot tell its colour.
            EXPECT_EQ(grid->item(r - 1, c - 1)->toolTip(), colours.Color().Item((r - 1) * 4 + c)->ColorName);
            EXPECT_EQ(grid->item(r - 1, c - 1)->data(Qt::AccessibleTextRole).toString(),
                      colours.Color().Item((r - 1) * 4 + c)->ColorName);
        }
    EXPECT_TRUE(picker.UserTag().isEmpty());
}

TEST(frmColor16, PreselectsTheCurrentColour)
{
    for (int index : {1, 6, 10, 16}) {
        SCOPED_TRACE(index);
        CColor colours;
        colours.setColorIndex(index);
        frmColor16 picker(colours);
        EXPECT_EQ(picker.grid()->activeRow(), (index - 1) / 4 + 1);
        EXPECT_EQ(picker.grid()->activeColumn(), (index - 1) % 4 + 1);
        // OK without moving keeps the colour.
        picker.show();
        QTest::mouseClick(button(&picker, "cmdOK"), Qt::LeftButton);
        EXPECT_EQ(picker.UserTag(), QStringLiteral("OK"));
        EXPECT_EQ(colours.ColorIndex(), index);
        EXPECT_FALSE(picker.isVisible());
    }
}

TEST(frmColor16, ChoosingRow3Column2GivesLime)
{
    CColor colours;
    frmColor16 picker(colours);
    picker.show();
    picker.grid()->setActiveCell(2, 3);
    QTest::mouseClick(button(&picker, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(picker.UserTag(), QStringLiteral("OK"));
    EXPECT_EQ(colours.ColorIndex(), 10);
    EXPECT_EQ(colours.ColorName(), QStringLiteral("lime"));
    EXPECT_EQ(colours.ColorCode(), 65280);
}

TEST(frmColor16, DoubleClickActsAsOk)
{
    CColor colours;
    frmColor16 picker(colours);
    picker.show();
    PictureGrid* grid = picker.grid();
    const QRect cell = grid->visualRect(grid->model()->index(3, 3));
    // A click first, as a user's double click starts: it also keeps an earlier test's click from
    // pairing with this one.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(picker.UserTag(), QStringLiteral("OK"));
    EXPECT_EQ(colours.ColorName(), QStringLiteral("red"));
}

TEST(frmColor16, CancelLeavesTheColour)
{
    CColor colours;
    colours.setColorIndex(3);
    frmColor16 picker(colours);
    picker.show();
    picker.grid()->setActiveCell(4, 4);
    QTest::mouseClick(button(&picker, "cmdCancel"), Qt::LeftButton);
    EXPECT_EQ(picker.UserTag(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(colours.ColorIndex(), 3);
}

TEST(frmColor16, CloseBoxLeavesTagEmptyAndColour)
{
    CColor colours;
    frmColor16 picker(colours);
    picker.show();
    picker.grid()->setActiveCell(1, 1);
    picker.close();
    EXPECT_TRUE(picker.UserTag().isEmpty());
    EXPECT_EQ(colours.ColorIndex(), 6);
}

TEST(frmColor16, OkWithNoSelectedSwatchKeepsTheColour)
{
    CColor colours;
    frmColor16 picker(colours);
    picker.show();
    picker.grid()->setActiveCell(0, 0);
    QTest::mouseClick(button(&picker, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(colours.ColorIndex(), 6);
}

} // namespace
