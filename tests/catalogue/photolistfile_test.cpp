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
#include "components/photolistmodel.h"
#include "components/sheetfile.h"
#include "common/testutil.h"

namespace
{

TestUtil::Exif camera()
{
    TestUtil::Exif exif;
    exif.make = QStringLiteral("ABC");
    exif.model = QStringLiteral("Shot");
    return exif;
}

const QList<int> Widths = {960, 1605, 960, 1350, 960, 1815, 960, 960, 930, 5055};

class PhotoListFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_photos = {TestUtil::writeJpeg(m_dir.filePath("c.jpg"), 160, 120, camera()),
                    TestUtil::writeJpeg(m_dir.filePath("b.jpg"), 90, 120, std::nullopt, false, 2),
                    TestUtil::writeJpeg(m_dir.filePath("a.jpeg"), 120, 90, std::nullopt, true, 3)};
        const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-1);
        for (const QString& photo : m_photos) {
            QFile f(photo);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
            m_hashes << TestUtil::sha256(photo);
            m_times << QFileInfo(photo).lastModified();
        }
    }
    void importInto(PhotoListModel& model) { model.setRows(PhotoImport::run(m_dir.path()).rows); }
    QString listFile() const { return PhotoListFile::path(m_dir.path()); }
    void expectPhotosUntouched()
    {
        for (int i = 0; i < m_photos.size(); ++i) {
            SCOPED_TRACE(m_photos[i].toStdString());
            EXPECT_EQ(TestUtil::sha256(m_photos[i]), m_hashes[i]);
            EXPECT_EQ(QFileInfo(m_photos[i]).lastModified(), m_times[i]);
        }
    }

    QTemporaryDir m_dir;
    QStringList m_photos;
    QVector<QByteArray> m_hashes;
    QVector<QDateTime> m_times;
};

TEST_F(PhotoListFileTest, PathAndExists)
{
    EXPECT_EQ(PhotoListFile::path(QStringLiteral("/photos")),
              QStringLiteral("/photos") + QDir::separator() + "Lumivert.bin");
    EXPECT_EQ(PhotoListFile::path(QStringLiteral("/photos/")), "/photos/Lumivert.bin");
    EXPECT_FALSE(PhotoListFile::exists(m_dir.path()));
    EXPECT_FALSE(PhotoListFile::exists(QString()));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Lumivert.bin"));
    EXPECT_FALSE(PhotoListFile::exists(m_dir.path())) << "a folder of that name is no list file";
    ASSERT_TRUE(QDir(m_dir.path()).rmdir("Lumivert.bin"));
    TestUtil::writeAll(listFile(), "x");
    EXPECT_TRUE(PhotoListFile::exists(m_dir.path()));
}

TEST_F(PhotoListFileTest, SaveReimportLoadGivesBackTheArrangedList)
{
    PhotoListModel model;
    importInto(model);
    ASSERT_EQ(model.photoCount(), 3);
    // Arrange: a.jpeg to the top, turn it right, caption two rows, move the middle one to the end.
    ASSERT_EQ(model.cellText(3, PhotoColumn::FileName), "a.jpeg");
    EXPECT_EQ(EditCommands::moveTop(model, 3), 1);
    ASSERT_TRUE(model.setData(model.indexOf(1, PhotoColumn::Rotation), 2));
    EditCommands::applyRotation(model, 1);
    ASSERT_TRUE(model.setData(model.indexOf(1, PhotoColumn::Caption), QStringLiteral("海\nbeach")));
    ASSERT_TRUE(model.setData(model.indexOf(3, PhotoColumn::Caption), QStringLiteral("最後")));
    EditCommands::moveBottom(model, 2);
    const QVector<PhotoRow> arranged = model.rows();
    EXPECT_EQ(arranged[0].picture.size(), QSize(68, 90));
    EXPECT_EQ(arranged[2].fileName, "b.jpg");

    ASSERT_TRUE(PhotoListFile::save(model, m_dir.path(), Widths));
    importInto(model); // the re-import: rotations and captions are gone
    ASSERT_EQ(model.photoCount(), 3);
    EXPECT_NE(model.rows(), arranged);

    QList<int> widths;
    QString error;
    ASSERT_TRUE(PhotoListFile::load(model, m_dir.path(), &widths, &error)) << error.toStdString();
    EXPECT_EQ(model.rows(), arranged);
    EXPECT_EQ(widths, Widths);
    EXPECT_EQ(model.cellText(1, PhotoColumn::Caption), "海\r\nbeach");
    expectPhotosUntouched();

    // The caption stays editable text of at most 4096 characters after a load.
    const QModelIndex caption = model.indexOf(2, PhotoColumn::Caption);
    EXPECT_TRUE(model.flags(caption) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(caption, QString(5000, QLatin1Char('c'))));
    EXPECT_EQ(model.cellText(2, PhotoColumn::Caption).size(), MaxCaptionLength);
}

TEST_F(PhotoListFileTest, EmptyListWritesNothingAndKeepsAnOlderFile)
{
    PhotoListModel empty;
    EXPECT_TRUE(PhotoListFile::save(empty, m_dir.path(), Widths));
    EXPECT_FALSE(QFile::exists(listFile()));

    PhotoListModel model;
    importInto(model);
    ASSERT_TRUE(PhotoListFile::save(model, m_dir.path(), Widths));
    const QByteArray saved = TestUtil::readAll(listFile());
    EXPECT_TRUE(PhotoListFile::save(empty, m_dir.path(), Widths));
    EXPECT_EQ(TestUtil::readAll(listFile()), saved);
}

TEST_F(PhotoListFileTest, RefusedFileLeavesAFilledModelAsItWas)
{
    PhotoListModel model;
    importInto(model);
    ASSERT_TRUE(PhotoListFile::save(model, m_dir.path(), Widths));
    const QByteArray good = TestUtil::readAll(listFile());
    model.setData(model.indexOf(1, PhotoColumn::Caption), QStringLiteral("unsaved edit"));
    const QVector<PhotoRow> before = model.rows();

    QByteArray flipped = good;
    flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 1);
    QByteArray newer = good;
    newer[11] = 9;
    const std::pair<const char*, QByteArray> files[] = {
        {"damaged", flipped},
        {"truncated", good.left(good.size() - 10)},
        {"foreign", QByteArray("GIF89a") + good.mid(6)},
        {"newer", newer},
        {"empty", QByteArray()},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        TestUtil::writeAll(listFile(), bytes);
        QList<int> widths = {1, 2, 3};
        QString error;
        EXPECT_FALSE(PhotoListFile::load(model, m_dir.path(), &widths, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(model.rows(), before);
        EXPECT_EQ(widths, (QList<int>{1, 2, 3}));
    }
    ASSERT_TRUE(QFile::remove(listFile()));
    EXPECT_FALSE(PhotoListFile::load(model, m_dir.path()));
    EXPECT_EQ(model.rows(), before);
}

TEST_F(PhotoListFileTest, AListLoadsInAFolderWithoutItsPhotos)
{
    PhotoListModel model;
    importInto(model);
    ASSERT_TRUE(PhotoListFile::save(model, m_dir.path(), Widths));
    QTemporaryDir other;
    ASSERT_TRUE(QFile::copy(listFile(), PhotoListFile::path(other.path())));
    PhotoListModel loaded;
    ASSERT_TRUE(PhotoListFile::load(loaded, other.path()));
    // Each row names the file of its name in the folder the list was loaded from.
    QVector<PhotoRow> expected = model.rows();
    for (PhotoRow& row : expected)
        row.pathName = QDir::toNativeSeparators(QDir(other.path()).filePath(row.fileName));
    EXPECT_EQ(loaded.rows(), expected);
}

TEST_F(PhotoListFileTest, FailedSaveKeepsTheOldFile)
{
    PhotoListModel model;
    importInto(model);
    QString error;
    EXPECT_FALSE(PhotoListFile::save(model, m_dir.filePath("missing"), Widths, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(PhotoListFile::save(model, QString(), Widths));

    ASSERT_TRUE(PhotoListFile::save(model, m_dir.path(), Widths));
    const QByteArray saved = TestUtil::readAll(listFile());
    EditCommands::moveBottom(model, 1);
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = QFile(m_dir.filePath("probe")).open(QIODevice::WriteOnly);
    QFile::remove(m_dir.filePath("probe"));
    if (!writable) {
        EXPECT_FALSE(PhotoListFile::save(model, m_dir.path(), Widths));
        EXPECT_EQ(TestUtil::readAll(listFile()), saved);
    }
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    expectPhotosUntouched();
    if (writable)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
}

} // namespace
