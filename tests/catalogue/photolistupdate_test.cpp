// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "catalogue/editcommands.h"
#include "catalogue/photoimport.h"
#include "catalogue/photolistfile.h"
#include "catalogue/photolistupdate.h"
#include "common/testutil.h"
#include "components/photolistmodel.h"
#include "components/sheetfile.h"

namespace
{

void setTime(const QString& path, const QDateTime& time)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
}

class PhotoListUpdateTest : public testing::Test
{
protected:
    QString photo(const QString& name, int seed, std::optional<TestUtil::Exif> exif = std::nullopt)
    {
        const QString path = TestUtil::writeJpeg(m_dir.filePath(name), 160, 120, exif, false, seed);
        setTime(path, QDateTime::currentDateTimeUtc().addDays(-2));
        return path;
    }
    // Loads the folder's list and brings it up to date, as the window and lumivert-cli do.
    ListUpdate load(const QString& folder)
    {
        PhotoListModel model;
        EXPECT_TRUE(PhotoListFile::load(model, folder));
        return PhotoListUpdate::run(model.rows(), folder, QFileInfo(PhotoListFile::path(folder)).lastModified());
    }
    static QStringList names(const QVector<PhotoRow>& rows)
    {
        QStringList out;
        for (const PhotoRow& row : rows)
            out << row.fileName;
        return out;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(PhotoListUpdateTest, NewChangedAndVanishedPhotosAroundAnArrangedList)
{
    TestUtil::Exif old;
    old.model = QStringLiteral("Old");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        photo(QString::fromLatin1(name), name[0], old);
    PhotoListModel model;
    model.setRows(PhotoImport::run(m_dir.path()).rows);
    EditCommands::moveTop(model, 4); // d a b c
    PhotoRow d = model.photoAt(1);
    d.caption = QStringLiteral("first");
    model.setPhotoAt(1, d);
    PhotoRow c = model.photoAt(4);
    c.caption = QStringLiteral("turned");
    c.rotation = 2;
    model.setPhotoAt(4, c);
    EditCommands::applyRotation(model, 4);
    ASSERT_TRUE(PhotoListFile::save(model, m_dir.path(), {}));
    setTime(PhotoListFile::path(m_dir.path()), QDateTime::currentDateTimeUtc().addDays(-1));

    ASSERT_TRUE(QFile::remove(m_dir.filePath("b.jpg")));
    photo("f.jpeg", 6);
    photo("e.jpg", 5);
    TestUtil::Exif changed;
    changed.model = QStringLiteral("New");
    TestUtil::setExif(m_dir.filePath("c.jpg"), changed); // modified now, after the save

    const ListUpdate update = load(m_dir.path());
    const QVector<PhotoRow>& rows = update.read.rows;
    // Listed rows in their order (the vanished one kept in place), then the new photos in the
    // import's order: *.jpg before *.jpeg.
    EXPECT_EQ(names(rows), QStringList({"d.jpg", "a.jpg", "b.jpg", "c.jpg", "e.jpg", "f.jpeg"}));
    EXPECT_EQ(rows.at(0).caption, "first");
    EXPECT_EQ(rows.at(3).caption, "turned");
    EXPECT_EQ(rows.at(3).rotation, 2);
    EXPECT_EQ(rows.at(3).model, "New");                                               // read afresh
    EXPECT_EQ(rows.at(1).model, "Old");                                               // unchanged photo: as listed
    EXPECT_LT(rows.at(3).picture.size().width(), rows.at(3).picture.size().height()); // still turned
    EXPECT_FALSE(rows.at(4).image.isNull());
    EXPECT_EQ(update.news.added, QStringList({"e.jpg", "f.jpeg"}));
    EXPECT_EQ(update.news.vanished, QStringList({"b.jpg"}));
    EXPECT_EQ(update.news.vanishedPositions, QVector<int>({3}));
    EXPECT_EQ(update.news.refreshed, QStringList({"c.jpg"}));
    for (const PhotoRow& row : rows)
        EXPECT_EQ(QFileInfo(row.pathName).absolutePath(), QFileInfo(m_dir.path()).absoluteFilePath());
}

TEST_F(PhotoListUpdateTest, AMovedFolderKeepsEveryPhotoAndItsArrangement)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        photo(QString::fromLatin1(name), name[0]);
    PhotoListModel model;
    model.setRows(PhotoImport::run(m_dir.path()).rows);
    EditCommands::moveBottom(model, 1);
    PhotoRow middle = model.photoAt(2);
    middle.caption = QStringLiteral("middle");
    model.setPhotoAt(2, middle);
    ASSERT_TRUE(PhotoListFile::save(model, m_dir.path(), {}));

    QTemporaryDir moved;
    const QString to = moved.filePath("renamed");
    ASSERT_TRUE(QDir().rename(m_dir.path(), to));
    const ListUpdate update = load(to);
    EXPECT_FALSE(update.news.any());
    ASSERT_EQ(update.read.rows.size(), 3);
    EXPECT_EQ(names(update.read.rows), QStringList({"b.jpg", "c.jpg", "a.jpg"}));
    EXPECT_EQ(update.read.rows.at(1).caption, "middle");
    for (const PhotoRow& row : update.read.rows) {
        SCOPED_TRACE(row.fileName.toStdString());
        EXPECT_TRUE(QFileInfo(row.pathName).isFile());
        EXPECT_EQ(QFileInfo(row.pathName).absolutePath(), QFileInfo(to).absoluteFilePath());
    }
    QDir().rename(to, m_dir.path()); // for the temporary folder's clean-up
}

TEST_F(PhotoListUpdateTest, NamesAreMatchedInTheFolderOnlyIgnoringCaseWhenUnique)
{
    QTemporaryDir outside;
    const QString foreign = TestUtil::writeJpeg(outside.filePath("secret.jpg"), 160, 120);
    TestUtil::writeJpeg(outside.filePath("x.jpg"), 160, 120);
    photo("img_1.jpg", 1);
    photo("Two.jpg", 2);
    photo("two.JPG", 3);
    struct Listed {
        QString path;
        QString name;
        bool found;
    };
    const QVector<Listed> listed = {
        {foreign, QStringLiteral("secret.jpg"), false},                              // a file of another folder
        {outside.filePath("x.jpg"), QStringLiteral("../x.jpg"), false},              // a name with a folder part
        {QStringLiteral("/elsewhere/IMG_1.JPG"), QStringLiteral("IMG_1.JPG"), true}, // case only
        {QStringLiteral("/elsewhere/TWO.jpg"), QStringLiteral("TWO.jpg"), false},    // two candidates
    };
    Sheet sheet;
    for (const Listed& l : listed) {
        PhotoRow row;
        row.pathName = l.path;
        row.fileName = l.name;
        sheet.rows << row;
    }
    ASSERT_TRUE(SheetFile::save(PhotoListFile::path(m_dir.path()), sheet));
    const ListUpdate update = load(m_dir.path());
    const QString folder = QFileInfo(m_dir.path()).absoluteFilePath();
    for (int i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(listed.at(i).name.toStdString());
        const PhotoRow& row = update.read.rows.at(i);
        EXPECT_EQ(update.news.vanished.contains(listed.at(i).name), !listed.at(i).found);
        // Nothing outside the folder is ever the row's photo.
        EXPECT_TRUE(row.pathName.isEmpty() || QFileInfo(row.pathName).absolutePath() == folder);
    }
    EXPECT_EQ(update.read.rows.at(2).fileName, "img_1.jpg");
    // The two photos no row took are new.
    EXPECT_EQ(update.news.added, QStringList({"Two.jpg", "two.JPG"}));
}

TEST_F(PhotoListUpdateTest, NewPhotosBeyondTheLimitAreNamed)
{
    Sheet sheet;
    for (int i = 1; i <= MaxPhotos - 1; ++i) {
        PhotoRow row;
        row.fileName = QStringLiteral("gone%1.jpg").arg(i);
        row.pathName = m_dir.filePath(row.fileName);
        sheet.rows << row;
    }
    ASSERT_TRUE(SheetFile::save(PhotoListFile::path(m_dir.path()), sheet));
    for (const char* name : {"n1.jpg", "n2.jpg", "n3.jpg"})
        photo(QString::fromLatin1(name), name[1]);
    const ListUpdate update = load(m_dir.path());
    EXPECT_EQ(update.read.rows.size(), MaxPhotos);
    EXPECT_EQ(update.news.added, QStringList({"n1.jpg"}));
    EXPECT_EQ(update.read.leftOut, 2);
    EXPECT_EQ(update.read.firstLeftOut, "n2.jpg");
    EXPECT_EQ(update.read.lastLeftOut, "n3.jpg");
    EXPECT_EQ(update.news.vanished.size(), MaxPhotos - 1);
}
