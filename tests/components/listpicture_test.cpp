// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <thread>
#include <vector>

#include "common/testutil.h"
#include "components/listpicture.h"
#include "components/sheetfile.h"

namespace
{

// Each test spools into a folder of its own and puts the default back after.
class ListPictureTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString spoolFolder() const { return dir.filePath(QStringLiteral("spool")); }
    void SetUp() override { PictureSpool::setFolder(spoolFolder()); }
    void TearDown() override { PictureSpool::setFolder(QString()); }
};

QImage withAlpha(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 7 % 256, y * 13 % 256, (x + y) % 256, (x * y) % 256));
    return image;
}

} // namespace

TEST_F(ListPictureTest, GivesBackTheSamePixelsAndFormat)
{
    const QList<QImage> images = {
        TestUtil::samplePicture(120, 90, 1),
        TestUtil::samplePicture(68, 90, 2).convertToFormat(QImage::Format_RGB888),
        TestUtil::samplePicture(90, 68, 3).convertToFormat(QImage::Format_Grayscale8),
        withAlpha(40, 30),
        TestUtil::samplePicture(1, 1, 4),
    };
    for (const QImage& image : images) {
        SCOPED_TRACE(int(image.format()));
        const ListPicture picture(image);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), image.size());
        EXPECT_EQ(picture.format(), image.format());
        const QImage back = picture.toImage();
        EXPECT_EQ(back.format(), image.format());
        EXPECT_EQ(back, image);
        EXPECT_EQ(picture.toImage(), image) << "a second read, from the cache";
    }
    EXPECT_EQ(PictureSpool::statistics().memoryPictures, 0);
}

TEST_F(ListPictureTest, NullPicture)
{
    const ListPicture none;
    const ListPicture fromNull{QImage()};
    for (const ListPicture* p : {&none, &fromNull}) {
        EXPECT_TRUE(p->isNull());
        EXPECT_EQ(p->size(), QImage().size());
        EXPECT_TRUE(p->toImage().isNull());
        EXPECT_TRUE(p->png().isEmpty());
    }
    EXPECT_EQ(none, fromNull);
    EXPECT_FALSE(none == ListPicture(TestUtil::samplePicture(4, 3, 1)));
    EXPECT_TRUE(ListPicture::fromPng(QByteArray(), QSize(4, 3), QImage::Format_RGB32).isNull());
}

TEST_F(ListPictureTest, EqualityFollowsThePixels)
{
    const QImage image = TestUtil::samplePicture(120, 90, 5);
    const ListPicture a(image);
    const ListPicture copy = a;
    const ListPicture again(image);
    EXPECT_EQ(copy, a);
    EXPECT_EQ(again, a) << "made separately from the same pixels";

    QImage changed = image;
    changed.setPixel(60, 45, qRgb(1, 2, 3));
    EXPECT_FALSE(ListPicture(changed) == a);
    EXPECT_FALSE(ListPicture(image.convertToFormat(QImage::Format_RGB888)) == a) << "another format";

    // The same pixels in other PNG bytes (another encoder's compression) are still the same picture.
    QByteArray otherBytes;
    {
        QBuffer buffer(&otherBytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "png", 0));
    }
    ASSERT_NE(otherBytes, a.png());
    EXPECT_EQ(ListPicture::fromPng(otherBytes, image.size(), image.format()), a);
}

TEST_F(ListPictureTest, BytesLiveInTheSpoolFileNotInMemory)
{
    const PictureSpool::Statistics before = PictureSpool::statistics();
    std::vector<ListPicture> pictures;
    for (int i = 0; i < 50; ++i)
        pictures.emplace_back(TestUtil::samplePicture(120, 90, i));
    const PictureSpool::Statistics s = PictureSpool::statistics();
    EXPECT_EQ(s.spooledPictures - before.spooledPictures, 50);
    EXPECT_EQ(s.memoryPictures, 0);
    qint64 bytes = 0;
    for (const ListPicture& p : pictures)
        bytes += p.png().size();
    EXPECT_EQ(s.spoolBytes, bytes);
#ifndef Q_OS_WIN
    // The file has no name once open, so nothing stays behind even if the program is killed.
    EXPECT_TRUE(QDir(spoolFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
#endif
}

TEST_F(ListPictureTest, FreedSpaceIsReused)
{
    std::vector<ListPicture> kept;
    for (int i = 0; i < 20; ++i)
        kept.emplace_back(TestUtil::samplePicture(120, 90, i));
    const qint64 size = PictureSpool::statistics().spoolFileSize;
    // Turning pictures over and over (a rotation edit makes a new picture and drops the old one)
    // keeps the file at about the size of what is live.
    for (int round = 0; round < 200; ++round) {
        const size_t k = size_t(round % 20);
        kept[k] = ListPicture(TestUtil::samplePicture(120, 90, round % 20));
    }
    EXPECT_LE(PictureSpool::statistics().spoolFileSize, size + size / 4);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(kept[size_t(i)].toImage(), TestUtil::samplePicture(120, 90, i)) << i;
    kept.clear();
    EXPECT_EQ(PictureSpool::statistics().spoolFileSize, 0) << "an empty spool gives its space back";
    EXPECT_EQ(PictureSpool::statistics().spoolBytes, 0);
}

TEST_F(ListPictureTest, WithoutAWritableFolderThePicturesStayInMemory)
{
    // A regular file where the spool folder should be: no spool can be made there.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    {
        QFile file(blocked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const ListPicture spooled(TestUtil::samplePicture(120, 90, 1));
    PictureSpool::setFolder(blocked + QStringLiteral("/inside"));
    const ListPicture kept(TestUtil::samplePicture(120, 90, 2));
    EXPECT_EQ(PictureSpool::statistics().memoryPictures, 1);
    EXPECT_EQ(kept.toImage(), TestUtil::samplePicture(120, 90, 2));
    // The picture made before the change still reads from its own spool.
    EXPECT_EQ(spooled.toImage(), TestUtil::samplePicture(120, 90, 1));
    EXPECT_FALSE(kept == spooled);
}

TEST_F(ListPictureTest, ManyThreadsMakeReadAndDropPictures)
{
    constexpr int Threads = 4;
    constexpr int PerThread = 40;
    std::vector<std::vector<ListPicture>> made(Threads);
    std::atomic<int> wrong = 0;
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < Threads; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < PerThread; ++i) {
                    const int seed = t * PerThread + i;
                    ListPicture p(TestUtil::samplePicture(60, 45, seed));
                    if (i % 3 == 0)
                        continue; // dropped at once: its space goes back while others write
                    if (p.toImage() != TestUtil::samplePicture(60, 45, seed))
                        ++wrong;
                    made[size_t(t)].push_back(p);
                }
            });
        }
    }
    EXPECT_EQ(wrong, 0);
    for (int t = 0; t < Threads; ++t) {
        int i = 0;
        for (const ListPicture& p : made[size_t(t)]) {
            while (i % 3 == 0)
                ++i;
            EXPECT_EQ(p.toImage(), TestUtil::samplePicture(60, 45, t * PerThread + i));
            ++i;
        }
    }
}

TEST_F(ListPictureTest, ASavedListStoresThePicturesBytesAsTheyAre)
{
    Sheet sheet;
    for (int i = 0; i < 3; ++i) {
        PhotoRow row;
        row.image = TestUtil::samplePicture(120, 90, i);
        row.picture = i == 1 ? ListPicture(TestUtil::samplePicture(68, 90, i)) : row.image;
        row.fileName = QStringLiteral("p%1.jpg").arg(i);
        sheet.rows << row;
    }
    const QByteArray bytes = SheetFile::encode(sheet);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.contains(sheet.rows[1].picture.png()));
    const std::optional<Sheet> loaded = SheetFile::decode(bytes);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->rows, sheet.rows);
    EXPECT_EQ(SheetFile::encode(*loaded), bytes) << "a loaded list saves to the same bytes";
}
