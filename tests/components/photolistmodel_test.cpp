// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <QStringList>

#include <functional>

#include "components/photolistmodel.h"

namespace
{

// A model watched by Qt's model tester, which fails on any inconsistent signal or index.
struct Watched {
    PhotoListModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

void fill(PhotoListModel& model, const QStringList& names)
{
    QVector<PhotoRow> rows;
    for (const QString& name : names) {
        PhotoRow row;
        row.fileName = name;
        row.pathName = QStringLiteral("/photos/") + name;
        rows << row;
    }
    model.setRows(rows);
}

QString order(const PhotoListModel& model)
{
    QStringList names;
    for (int r = 1; r <= model.photoCount(); ++r)
        names << model.cellText(r, PhotoColumn::FileName);
    return names.join(QLatin1Char(','));
}

TEST(PhotoListModel, MovePhotoLandsTheRowAtItsTarget)
{
    struct Case {
        int from;
        int to;
        const char* expected;
    } cases[] = {
        {4, 1, "4,1,2,3,5"}, {2, 5, "1,3,4,5,2"}, {1, 5, "2,3,4,5,1"}, {5, 1, "5,1,2,3,4"}, {2, 3, "1,3,2,4,5"},
        {3, 2, "1,3,2,4,5"}, {3, 3, "1,2,3,4,5"}, {0, 2, "1,2,3,4,5"}, {2, 6, "1,2,3,4,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        Watched w;
        fill(w.model, {"1", "2", "3", "4", "5"});
        QPersistentModelIndex moved = w.model.indexOf(c.from >= 1 && c.from <= 5 ? c.from : 1, PhotoColumn::FileName);
        const QString movedName = moved.data().toString();
        w.model.movePhoto(c.from, c.to);
        EXPECT_EQ(order(w.model).toStdString(), c.expected);
        EXPECT_EQ(moved.data().toString(), movedName) << "a persistent index follows its row";
    }
}

TEST(PhotoListModel, SwapExchangesWholeRowsAndSignalsBoth)
{
    Watched w;
    fill(w.model, {"1", "2", "3"});
    PhotoRow first = w.model.photoAt(1);
    first.caption = QStringLiteral("one");
    first.rotation = 2;
    w.model.setPhotoAt(1, first);
    QSignalSpy changed(&w.model, &QAbstractItemModel::dataChanged);
    w.model.swapPhotos(1, 3);
    EXPECT_EQ(order(w.model), "3,2,1");
    EXPECT_EQ(w.model.photoAt(3), first);
    EXPECT_EQ(changed.count(), 2);
    w.model.swapPhotos(2, 2);
    w.model.swapPhotos(0, 2);
    EXPECT_EQ(order(w.model), "3,2,1");
}

TEST(PhotoListModel, InsertAndRemoveShiftLaterRows)
{
    Watched w;
    fill(w.model, {"1", "2", "3"});
    w.model.insertPhotos(2, 2);
    EXPECT_EQ(order(w.model), "1,,,2,3");
    w.model.insertPhotos(6);
    EXPECT_EQ(order(w.model), "1,,,2,3,");
    w.model.insertPhotos(8); // beyond the end: nothing
    w.model.insertPhotos(1, 0);
    EXPECT_EQ(w.model.photoCount(), 6);
    w.model.removePhotos(2, 2);
    EXPECT_EQ(order(w.model), "1,2,3,");
    w.model.removePhotos(3, 10); // clipped at the end
    EXPECT_EQ(order(w.model), "1,2");
    w.model.removePhotos(0);
    w.model.removePhotos(3);
    EXPECT_EQ(order(w.model), "1,2");
    w.model.setPhotoCount(4);
    EXPECT_EQ(order(w.model), "1,2,,");
    w.model.setPhotoCount(1);
    EXPECT_EQ(order(w.model), "1");
    w.model.setPhotoCount(-3);
    EXPECT_EQ(w.model.photoCount(), 0);
}

TEST(PhotoListModel, SortIsStableAndPersistentIndexesFollow)
{
    Watched w;
    fill(w.model, {"b", "B", "a", "c", "b"});
    for (int r = 1; r <= 5; ++r)
        w.model.setData(w.model.indexOf(r, PhotoColumn::Caption), QString::number(r));
    const QPersistentModelIndex fourth = w.model.indexOf(4, PhotoColumn::Caption);
    const auto captions = [&w] {
        QStringList out;
        for (const PhotoRow& row : w.model.rows())
            out << row.caption;
        return out.join(QLatin1Char(','));
    };
    w.model.sortPhotos(PhotoColumn::FileName, Qt::AscendingOrder);
    EXPECT_EQ(captions(), "3,2,1,5,4"); // a, B, b, b, c: case ignored, ties broken by code unit, then stable
    EXPECT_EQ(fourth.row(), 4);
    EXPECT_EQ(fourth.data().toString(), "4");
    w.model.sortPhotos(PhotoColumn::FileName, Qt::DescendingOrder);
    EXPECT_EQ(captions(), "4,1,5,2,3");
    EXPECT_EQ(fourth.row(), 0);
}

TEST(PhotoListModel, EditsKeepCaptionLimitAndValidRotation)
{
    Watched w;
    fill(w.model, {"1"});
    QSignalSpy changes(&w.model, &PhotoListModel::cellValueChanged);
    const QModelIndex caption = w.model.indexOf(1, PhotoColumn::Caption);
    EXPECT_TRUE(w.model.setData(caption, QString(5000, QLatin1Char('x'))));
    EXPECT_EQ(w.model.cellText(1, PhotoColumn::Caption).size(), MaxCaptionLength);
    EXPECT_TRUE(w.model.setData(caption, QStringLiteral("one\ntwo\r\nthree")));
    EXPECT_EQ(w.model.cellText(1, PhotoColumn::Caption), "one\r\ntwo\r\nthree");
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(1).value<PhotoColumn>(), PhotoColumn::Caption);

    const QModelIndex rotation = w.model.indexOf(1, PhotoColumn::Rotation);
    EXPECT_TRUE(w.model.setData(rotation, 2));
    EXPECT_EQ(w.model.photoAt(1).rotation, 2);
    EXPECT_EQ(rotation.data().toString(), "右90度");
    EXPECT_FALSE(w.model.setData(rotation, 4));
    EXPECT_FALSE(w.model.setData(rotation, QStringLiteral("x")));
    EXPECT_EQ(w.model.photoAt(1).rotation, 2);

    EXPECT_TRUE(w.model.flags(caption) & Qt::ItemIsEditable);
    EXPECT_TRUE(w.model.flags(rotation) & Qt::ItemIsEditable);
    EXPECT_FALSE(w.model.flags(w.model.indexOf(1, PhotoColumn::PathName)) & Qt::ItemIsEditable);

    PhotoRow longCaption;
    longCaption.caption = QString(MaxCaptionLength + 1, QLatin1Char('y'));
    w.model.setRows({longCaption});
    EXPECT_EQ(w.model.photoAt(1).caption.size(), MaxCaptionLength);
}

TEST(PhotoListModel, CaptionLimitCountsALineBreakAsOneAndNeverSplitsIt)
{
    const QString pair = QString::fromUtf8("\xF0\x9F\x93\xB7"); // one character of two UTF-16 units
    const QString x4094(MaxCaptionLength - 2, QLatin1Char('x'));
    const struct {
        const char* name;
        QString in;
        QString kept;
        QString stored = {}; // a loaded caption, when it differs from a typed one
    } rows[] = {
        {"short, LF made CR LF", "a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd", "a\nb\rc\r\nd"},
        {"a lone LF at the limit stays whole", x4094 + "x\nz", x4094 + "x\r\n", x4094 + "x\n"},
        {"line breaks count one", QString(2000, 'x') + "\r\n" + QString(2095, 'y'),
         QString(2000, 'x') + "\r\n" + QString(2095, 'y')},
        {"CR LF at the limit stays whole", x4094 + "x\r\nz", x4094 + "x\r\n"},
        {"CR LF after the limit goes whole", x4094 + "xx\r\n", x4094 + "xx"},
        {"a character of two units is not split", x4094 + "x" + pair, x4094 + "x"},
        {"and kept when it fits", x4094 + pair + "z", x4094 + pair},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString kept = limitCaption(row.in);
        EXPECT_EQ(kept, row.kept);
        EXPECT_LE(captionLength(kept), MaxCaptionLength);
        // What is typed or pasted gets CR LF line breaks; a loaded caption keeps its own, both
        // within the same limit.
        Watched w;
        fill(w.model, {"1"});
        ASSERT_TRUE(w.model.setData(w.model.indexOf(1, PhotoColumn::Caption), row.in));
        EXPECT_EQ(w.model.photoAt(1).caption, row.kept);
        const QString stored = row.stored.isNull() ? row.kept : row.stored;
        EXPECT_EQ(storedCaption(row.in), stored);
        PhotoRow loaded;
        loaded.caption = row.in;
        w.model.setRows({loaded});
        EXPECT_EQ(w.model.photoAt(1).caption, stored);
        w.model.setPhotoAt(1, loaded);
        EXPECT_EQ(w.model.photoAt(1).caption, stored);
    }
    // The editor's text, with LF line breaks, counts the same as the kept one.
    QString typed = QString(4000, 'x') + QString(96, '\n');
    EXPECT_EQ(captionLength(typed), MaxCaptionLength);
    EXPECT_EQ(captionLength(limitCaption(typed)), MaxCaptionLength);
}

TEST(PhotoListModel, UnsavedChangesAreTheDifferenceFromTheLastSave)
{
    Watched w;
    EXPECT_FALSE(w.model.hasUnsavedChanges());
    fill(w.model, {"1", "2", "3"});
    EXPECT_TRUE(w.model.hasUnsavedChanges());
    w.model.markSaved();
    EXPECT_FALSE(w.model.hasUnsavedChanges());

    const struct {
        const char* name;
        std::function<void(PhotoListModel&)> change;
        std::function<void(PhotoListModel&)> undo; // empty: no way back
    } rows[] = {
        {"order", [](PhotoListModel& m) { m.movePhoto(3, 1); }, [](PhotoListModel& m) { m.movePhoto(1, 3); }},
        {"sort", [](PhotoListModel& m) { m.sortPhotos(PhotoColumn::FileName, Qt::DescendingOrder); },
         [](PhotoListModel& m) { m.sortPhotos(PhotoColumn::FileName, Qt::AscendingOrder); }},
        {"rotation", [](PhotoListModel& m) { m.setData(m.indexOf(2, PhotoColumn::Rotation), 3); },
         [](PhotoListModel& m) { m.setData(m.indexOf(2, PhotoColumn::Rotation), 0); }},
        {"caption", [](PhotoListModel& m) { m.setData(m.indexOf(2, PhotoColumn::Caption), "Hi"); },
         [](PhotoListModel& m) { m.setData(m.indexOf(2, PhotoColumn::Caption), ""); }},
        {"removal", [](PhotoListModel& m) { m.removePhotos(2); }, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fill(w.model, {"1", "2", "3"});
        w.model.markSaved();
        row.change(w.model);
        EXPECT_TRUE(w.model.hasUnsavedChanges());
        if (row.undo) {
            row.undo(w.model);
            EXPECT_FALSE(w.model.hasUnsavedChanges()) << "changed back is no change";
            row.change(w.model);
        }
        w.model.markSaved();
        EXPECT_FALSE(w.model.hasUnsavedChanges());
    }
}

TEST(PhotoListModel, OutOfRangeAccessGivesNothing)
{
    Watched w;
    fill(w.model, {"1"});
    EXPECT_EQ(w.model.cellText(0, PhotoColumn::FileName), "");
    EXPECT_EQ(w.model.cellText(2, PhotoColumn::FileName), "");
    EXPECT_TRUE(w.model.cellPicture(2, PhotoColumn::Image).isNull());
    w.model.setCellPicture(2, PhotoColumn::Image, QImage(4, 4, QImage::Format_RGB32));
    w.model.setCellPicture(1, PhotoColumn::FileName, QImage(4, 4, QImage::Format_RGB32));
    EXPECT_TRUE(w.model.cellPicture(1, PhotoColumn::Image).isNull());
    EXPECT_EQ(w.model.headerData(3, Qt::Horizontal).toString(), "ファイル名");
    // Only the caption column's title has a tooltip: captions go into the pages as typed.
    EXPECT_TRUE(w.model.headerData(9, Qt::Horizontal, Qt::ToolTipRole).toString().contains("HTML"));
    EXPECT_FALSE(w.model.headerData(3, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

} // namespace
