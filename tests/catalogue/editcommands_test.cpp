// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QStringList>

#include "catalogue/editcommands.h"
#include "components/photolistmodel.h"
#include "common/testutil.h"

namespace
{

// Rows named "1".."n" in their file-name column, so an order reads as a list of names.
void fill(PhotoListModel& model, int n)
{
    QVector<PhotoRow> rows;
    for (int i = 1; i <= n; ++i) {
        PhotoRow row;
        row.fileName = QString::number(i);
        row.pathName = QStringLiteral("/p/") + row.fileName;
        row.caption = QStringLiteral("caption %1").arg(i);
        row.rotation = i % 4;
        row.image = TestUtil::samplePicture(12, 9, i);
        rows << row;
    }
    model.setRows(rows);
}

QString order(const PhotoListModel& model)
{
    QStringList names;
    for (const PhotoRow& row : model.rows())
        names << row.fileName;
    return names.join(QLatin1Char(','));
}

using Move = int (*)(PhotoListModel&, int);

struct MoveCase {
    const char* name;
    Move move;
    int rows;
    int active;
    const char* expectedOrder;
    int expectedActive;
};

TEST(EditCommands, MovesGiveOrderAndActiveRow)
{
    const MoveCase cases[] = {
        {"top from 4", EditCommands::moveTop, 5, 4, "4,1,2,3,5", 1},
        {"top from 1", EditCommands::moveTop, 5, 1, "1,2,3,4,5", 1},
        {"top from 5", EditCommands::moveTop, 5, 5, "5,1,2,3,4", 1},
        {"top on empty", EditCommands::moveTop, 0, 0, "", 0},
        {"bottom from 2", EditCommands::moveBottom, 5, 2, "1,3,4,5,2", 5},
        {"bottom from 5", EditCommands::moveBottom, 5, 5, "1,2,3,4,5", 5},
        {"bottom from 1", EditCommands::moveBottom, 5, 1, "2,3,4,5,1", 5},
        {"bottom on empty", EditCommands::moveBottom, 0, 0, "", 0},
        {"up from 3", EditCommands::moveUp, 5, 3, "1,3,2,4,5", 2},
        {"up from 1", EditCommands::moveUp, 5, 1, "1,2,3,4,5", 0},
        {"up with no active row", EditCommands::moveUp, 5, 0, "1,2,3,4,5", 0},
        {"down from 3", EditCommands::moveDown, 5, 3, "1,2,4,3,5", 4},
        {"down from 5", EditCommands::moveDown, 5, 5, "1,2,3,4,5", 0},
        {"down beyond the end", EditCommands::moveDown, 5, 6, "1,2,3,4,5", 0},
        {"up on a single row", EditCommands::moveUp, 1, 1, "1", 0},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        PhotoListModel model;
        fill(model, c.rows);
        EXPECT_EQ(c.move(model, c.active), c.expectedActive);
        EXPECT_EQ(order(model).toStdString(), c.expectedOrder);
    }
}

TEST(EditCommands, AMoveCarriesTheWholeRow)
{
    PhotoListModel model;
    fill(model, 5);
    const PhotoRow fourth = model.photoAt(4);
    EditCommands::moveTop(model, 4);
    EXPECT_EQ(model.photoAt(1), fourth);
    EditCommands::moveBottom(model, 1);
    EXPECT_EQ(model.photoAt(5), fourth);
    EditCommands::moveUp(model, 5);
    EXPECT_EQ(model.photoAt(4), fourth);
}

TEST(EditCommands, RemoveTakesTheActiveRowUntilEmpty)
{
    PhotoListModel model;
    fill(model, 3);
    EXPECT_FALSE(EditCommands::remove(model, 0));
    EXPECT_FALSE(EditCommands::remove(model, 4));
    EXPECT_TRUE(EditCommands::remove(model, 2));
    EXPECT_EQ(order(model), "1,3");
    EXPECT_TRUE(EditCommands::remove(model, 1));
    EXPECT_TRUE(EditCommands::remove(model, 1));
    EXPECT_EQ(model.photoCount(), 0);
    EXPECT_FALSE(EditCommands::remove(model, 1));
}

TEST(EditCommands, SortsAreStableOverWholeRowsAndDatesSortAsText)
{
    PhotoListModel model;
    struct Photo {
        const char* name;
        const char* date;
    } photos[] = {
        {"b.jpg", "2004/03/05 12:00:00"},
        {"a.jpg", "不明"},
        {"C.jpg", "2003/12/31 23:59:59"},
        {"d.jpg", "2004/03/05 12:00:00"},
        {"e.jpg", "不明"},
        {"a.jpg", "2010/01/01 00:00:00"},
        {"c.jpg", ""},
    };
    QVector<PhotoRow> rows;
    int i = 0;
    for (const Photo& p : photos) {
        PhotoRow row;
        row.fileName = QString::fromUtf8(p.name);
        row.dateTime = QString::fromUtf8(p.date);
        row.caption = QString::number(++i); // identifies the row
        rows << row;
    }
    const auto captions = [&model] {
        QStringList out;
        for (const PhotoRow& row : model.rows())
            out << row.caption;
        return out.join(QLatin1Char(','));
    };
    struct Case {
        const char* name;
        bool byDate;
        bool ascending;
        const char* expected;
    } cases[] = {
        // Names compare without regard to case, as the folder listing orders them; equal keys keep
        // their order.
        {"name ascending", false, true, "2,6,1,3,7,4,5"},
        {"name descending", false, false, "5,4,7,3,1,2,6"},
        // By the date text: "不明" after every date ascending and before them descending, an empty
        // date before every digit ascending and after them descending.
        {"date ascending", true, true, "7,3,1,4,6,2,5"},
        {"date descending", true, false, "2,5,6,1,4,3,7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.setRows(rows);
        if (c.byDate)
            EditCommands::sortByDate(model, c.ascending);
        else
            EditCommands::sortByFileName(model, c.ascending);
        EXPECT_EQ(captions().toStdString(), c.expected);
    }
    PhotoListModel empty;
    EditCommands::sortByDate(empty, true);
    EXPECT_EQ(empty.photoCount(), 0);
}

TEST(EditCommands, RotationRedrawsColumnTwoFromColumnOne)
{
    struct Case {
        QSize thumbnail;
        int code;
        QSize expected;
    } cases[] = {
        {{120, 90}, 0, {120, 90}}, {{120, 90}, 1, {68, 90}}, {{120, 90}, 2, {68, 90}}, {{120, 90}, 3, {120, 90}},
        {{68, 90}, 1, {119, 90}},  {{68, 90}, 0, {68, 90}},  {{120, 60}, 2, {45, 90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.thumbnail.width() << "x" << c.thumbnail.height() << " code " << c.code);
        const QImage source = TestUtil::samplePicture(c.thumbnail.width(), c.thumbnail.height(), 3);
        const QImage turned = EditCommands::rotatedPicture(source, c.code);
        EXPECT_EQ(turned.size(), c.expected);

        PhotoListModel model;
        PhotoRow row;
        row.image = source;
        row.picture = source;
        row.rotation = c.code;
        model.setRows({row});
        EditCommands::applyRotation(model, 1);
        EXPECT_EQ(model.photoAt(1).picture.size(), c.expected);
        EXPECT_EQ(model.photoAt(1).image, source) << "column 1 stays the unrotated source";
    }
}

TEST(EditCommands, RotationWithoutPictureOrWithABadCodeKeepsColumnTwo)
{
    EXPECT_TRUE(EditCommands::rotatedPicture(QImage(), 1).isNull());
    const QImage source = TestUtil::samplePicture(120, 90);
    EXPECT_TRUE(EditCommands::rotatedPicture(source, 4).isNull());
    EXPECT_TRUE(EditCommands::rotatedPicture(source, -1).isNull());

    PhotoListModel model;
    PhotoRow row;
    row.image = source;
    row.picture = TestUtil::samplePicture(68, 90, 1);
    row.rotation = 7;
    PhotoRow noPicture;
    noPicture.rotation = 2;
    model.setRows({row, noPicture});
    EditCommands::applyRotation(model, 1);
    EditCommands::applyRotation(model, 2);
    EditCommands::applyRotation(model, 3); // outside the list: nothing
    EXPECT_EQ(model.photoAt(1).picture, row.picture);
    EXPECT_TRUE(model.photoAt(2).picture.isNull());
}

} // namespace
