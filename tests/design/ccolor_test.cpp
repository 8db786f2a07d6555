// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "design/ccolor.h"

namespace
{

struct ColourRow {
    int index;
    const char* name;
    int r, g, b;
    qint32 code;
};

const ColourRow kTable[] = {
    {1, "black", 0, 0, 0, 0},
    {2, "gray", 128, 128, 128, 8421504},
    {3, "silver", 192, 192, 192, 12632256},
    {4, "white", 255, 255, 255, 16777215},
    {5, "blue", 0, 0, 255, 16711680},
    {6, "navy", 0, 0, 128, 8388608},
    {7, "teal", 0, 128, 128, 8421376},
    {8, "green", 0, 128, 0, 32768},
    {9, "aqua", 0, 255, 255, 16776960},
    {10, "lime", 0, 255, 0, 65280},
    {11, "yellow", 255, 255, 0, 65535},
    {12, "magenta", 255, 0, 255, 16711935},
    {13, "olive", 128, 128, 0, 32896},
    {14, "purple", 128, 0, 128, 8388736},
    {15, "maroon", 128, 0, 0, 128},
    {16, "red", 255, 0, 0, 255},
};

TEST(CColor, StartsOnNavy)
{
    CColor colours;
    EXPECT_EQ(colours.ColorIndex(), 6);
    EXPECT_EQ(colours.ColorName(), QStringLiteral("navy"));
    EXPECT_EQ(colours.ColorCode(), 8388608);
    EXPECT_EQ(colours.Error(), 0);
    EXPECT_EQ(colours.Color().Count(), 16);
}

TEST(CColor, TableHoldsTheSixteenColoursInPickerOrder)
{
    CColor colours;
    for (const ColourRow& row : kTable) {
        SCOPED_TRACE(row.name);
        const clsColor* entry = colours.Color().Item(row.index);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->ColorName, QString::fromLatin1(row.name));
        EXPECT_EQ(entry->ColorCode, row.code);
        EXPECT_EQ(entry->toQColor(), QColor(row.r, row.g, row.b));
        colours.setColorIndex(row.index);
        EXPECT_EQ(colours.ColorName(), QString::fromLatin1(row.name));
        EXPECT_EQ(colours.ColorCode(), row.code);
        EXPECT_EQ(colours.indexOf(QString::fromLatin1(row.name)), row.index);
    }
}

TEST(CColor, IndexOutsideTheTableIsIgnored)
{
    CColor colours;
    colours.setColorIndex(10);
    for (int bad : {0, 17, -1, -6, 1000}) {
        SCOPED_TRACE(bad);
        colours.setColorIndex(bad);
        EXPECT_EQ(colours.ColorIndex(), 10);
        EXPECT_EQ(colours.ColorName(), QStringLiteral("lime"));
    }
    EXPECT_EQ(colours.indexOf(QStringLiteral("Navy")), 0); // names match exactly
}

TEST(CColor, EnumerationFollowsPositions)
{
    CColor colours;
    int i = 0;
    for (const clsColor& entry : colours.Color())
        EXPECT_EQ(entry.ColorName, QString::fromLatin1(kTable[i++].name));
    EXPECT_EQ(i, 16);
    EXPECT_EQ(colours.Color().Item(0), nullptr);
    EXPECT_EQ(colours.Color().Item(17), nullptr);
}

TEST(colColor, AddBeforeAfterAndRemove)
{
    colColor list;
    list.Add(QStringLiteral("a"), 1);
    list.Add(QStringLiteral("c"), 3);
    list.Add(QStringLiteral("b"), 2, 2, true);  // before c
    list.Add(QStringLiteral("d"), 4, 3, false); // after c
    ASSERT_EQ(list.Count(), 4);
    QStringList names;
    for (const clsColor& c : list)
        names << c.ColorName;
    EXPECT_EQ(names, (QStringList{"a", "b", "c", "d"}));
    EXPECT_FALSE(list.Remove(0));
    EXPECT_FALSE(list.Remove(5));
    EXPECT_TRUE(list.Remove(2));
    EXPECT_EQ(list.Item(2)->ColorName, QStringLiteral("c"));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    const clsColor fresh;
    EXPECT_EQ(fresh.ColorName, QStringLiteral("navy"));
    EXPECT_EQ(fresh.ColorCode, 8388608);
}

} // namespace
