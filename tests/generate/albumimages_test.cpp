// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>

#include "common/testutil.h"
#include "components/imaging.h"
#include "generate/albumimages.h"
#include "generate/albumoptions.h"

namespace
{

// A picture whose top-left quarter is red, so a test can tell where a turn has taken it.
QImage markedPicture(int w, int h)
{
    QImage image = TestUtil::samplePicture(w, h, 3);
    QPainter p(&image);
    p.fillRect(0, 0, w / 4, h / 4, Qt::red);
    return image;
}

bool isRed(QRgb c)
{
    return qRed(c) > 180 && qGreen(c) < 80 && qBlue(c) < 80;
}

using TestUtil::meanDifference;

} // namespace

TEST(AlbumImageSize, FollowsThePresetBoxes)
{
    struct Case {
        QSize photo;
        int rotation;
        int preset;
        QSize index, page;
    };
    const Case cases[] = {
        {{1536, 2048}, 0, 0, {56, 75}, {270, 360}},   {{1536, 2048}, 0, 1, {79, 105}, {360, 480}},
        {{1536, 2048}, 0, 2, {101, 135}, {450, 600}}, {{3000, 2000}, 0, 0, {100, 67}, {480, 320}},
        {{320, 240}, 0, 0, {100, 75}, {480, 360}},   // enlarged
        {{2048, 1536}, 1, 1, {79, 105}, {360, 480}}, // a landscape turned left is portrait
        {{2048, 1536}, 2, 1, {79, 105}, {360, 480}},  {{2048, 1536}, 3, 1, {140, 105}, {640, 480}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.photo.width() << "x" << c.photo.height() << " code " << c.rotation
                                        << " preset " << c.preset);
        const AlbumOptions o{.pageWidthIndex = c.preset};
        EXPECT_EQ(AlbumImages::albumImageSize(c.photo, c.rotation, o.indexBox()), c.index);
        EXPECT_EQ(AlbumImages::albumImageSize(c.photo, c.rotation, o.pageBox()), c.page);
    }
    EXPECT_FALSE(AlbumImages::albumImageSize({100, 100}, 4, {100, 75}).isValid());
    EXPECT_FALSE(AlbumImages::albumImageSize({100, 100}, -1, {100, 75}).isValid());
}

class AlbumImagesFiles : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(AlbumImagesFiles, TurnsAndFitsPhotos)
{
    const QString photo = TestUtil::writeJpeg(path("p.jpg"), markedPicture(800, 600));
    const QByteArray before = TestUtil::sha256(photo);
    struct Case {
        int code;
        QSize size;
        QPoint redCorner; // a pixel inside where the red quarter must end up (fractions of the size)
    };
    const QSize box(480, 360);
    const Case cases[] = {
        {0, {480, 360}, {0, 0}}, // top left stays
        {1, {270, 360}, {0, 1}}, // turned left: top left goes to bottom left
        {2, {270, 360}, {1, 0}}, // turned right: to top right
        {3, {480, 360}, {1, 1}}, // half turn: to bottom right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const QImage image = AlbumImages::makeAlbumImage(photo, c.code, box);
        ASSERT_EQ(image.size(), c.size);
        const int x = c.redCorner.x() ? image.width() - 8 : 8;
        const int y = c.redCorner.y() ? image.height() - 8 : 8;
        EXPECT_TRUE(isRed(image.pixel(x, y))) << x << "," << y;
        // The reduced decode matches turning the full photo first and fitting it then.
        const QImage reference = Imaging::fit(Imaging::rotateByCode(Imaging::load(photo).image, c.code), box);
        EXPECT_LT(meanDifference(image, reference), 6.0);
    }
    EXPECT_TRUE(AlbumImages::makeAlbumImage(photo, 4, box).isNull());
    EXPECT_TRUE(AlbumImages::makeAlbumImage(photo, -1, box).isNull());
    EXPECT_EQ(TestUtil::sha256(photo), before); // the photo is only read
}

TEST_F(AlbumImagesFiles, PortraitAndSmallPhotos)
{
    const QString portrait = TestUtil::writeJpeg(path("portrait.jpg"), 1536, 2048);
    EXPECT_EQ(AlbumImages::makeAlbumImage(portrait, 0, QSize(140, 105)).size(), QSize(79, 105));
    EXPECT_EQ(AlbumImages::makeAlbumImage(portrait, 0, QSize(640, 480)).size(), QSize(360, 480));
    const QString small = TestUtil::writeJpeg(path("small.jpg"), 320, 240);
    EXPECT_EQ(AlbumImages::makeAlbumImage(small, 0, QSize(480, 360)).size(), QSize(480, 360));
    const QString odd = TestUtil::writeJpeg(path("odd.jpg"), 1001, 333);
    EXPECT_EQ(AlbumImages::makeAlbumImage(odd, 1, QSize(800, 600)).size(),
              Imaging::fitSize(QSize(333, 1001), QSize(800, 600)));
}

TEST_F(AlbumImagesFiles, BadPhotosGiveNoImage)
{
    TestUtil::writeAll(path("garbage.jpg"), QByteArray("this is not a JPEG at all"));
    TestUtil::writeAll(path("empty.jpg"), QByteArray());
    for (const QString& name :
         {QStringLiteral("missing.jpg"), QStringLiteral("garbage.jpg"), QStringLiteral("empty.jpg")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(AlbumImages::makeAlbumImage(path(name), 0, QSize(100, 75)).isNull());
        EXPECT_FALSE(AlbumImages::produceAlbumImage(path(name), 0, QSize(100, 75), path("out.jpg"),
                                                    Imaging::SaveKind::BaselineJpeg, 75));
        EXPECT_FALSE(QFile::exists(path("out.jpg")));
    }
}

TEST_F(AlbumImagesFiles, ProducesBaselineAndProgressiveFiles)
{
    const QString photo = TestUtil::writeJpeg(path("p.jpg"), 1600, 1200);
    for (const auto kind : {Imaging::SaveKind::BaselineJpeg, Imaging::SaveKind::ProgressiveJpeg}) {
        const QString target = path(kind == Imaging::SaveKind::BaselineJpeg ? "b.jpg" : "pr.jpg");
        ASSERT_TRUE(AlbumImages::produceAlbumImage(photo, 0, QSize(640, 480), target, kind, 75));
        const QByteArray bytes = TestUtil::readAll(target);
        // SOF0 marks a baseline JPEG, SOF2 a progressive one.
        const bool progressive = bytes.contains(QByteArray("\xff\xc2", 2));
        EXPECT_EQ(progressive, kind == Imaging::SaveKind::ProgressiveJpeg);
        EXPECT_EQ(QImageReader(target).size(), QSize(640, 480));
    }
}

TEST_F(AlbumImagesFiles, CoverFromThePageImageWithTheEffect)
{
    // No page image for the cover number: no cover.
    EXPECT_TRUE(AlbumImages::makeCoverImage(dir.path(), 1, 0).isNull());
    EXPECT_FALSE(AlbumImages::produceCoverImage(dir.path(), 1, 0, Imaging::SaveKind::BaselineJpeg, 75));
    EXPECT_FALSE(QFile::exists(path("top.jpg")));

    TestUtil::writeJpeg(path("page002.jpg"), 480, 360);
    const QImage page = Imaging::load(path("page002.jpg")).image;
    EXPECT_TRUE(AlbumImages::makeCoverImage(dir.path(), 1, 0).isNull());  // page001.jpg is missing
    EXPECT_TRUE(AlbumImages::makeCoverImage(dir.path(), 0, 0).isNull());  // no cover chosen
    EXPECT_TRUE(AlbumImages::makeCoverImage(dir.path(), 2, -1).isNull()); // no effect selected
    EXPECT_TRUE(AlbumImages::makeCoverImage(dir.path(), 2, 6).isNull());
    EXPECT_EQ(AlbumImages::makeCoverImage(dir.path(), 2, 0), page);
    // Sepia: the warm tone first, then the saturation step on its result.
    const QImage sepia = Imaging::toneAdjust2(Imaging::toneAdjust1(page, 40, 30, -30), -50);
    EXPECT_EQ(AlbumImages::makeCoverImage(dir.path(), 2, 5), sepia);
    EXPECT_EQ(AlbumImages::makeCoverImage(dir.path(), 2, 4), Imaging::monochrome(page));
    for (int effect = 0; effect <= 5; ++effect) {
        SCOPED_TRACE(effect);
        ASSERT_TRUE(AlbumImages::produceCoverImage(dir.path(), 2, effect, Imaging::SaveKind::BaselineJpeg, 75));
        EXPECT_EQ(QImageReader(path("top.jpg")).size(), QSize(480, 360));
    }
}

TEST_F(AlbumImagesFiles, BackgroundIsDecodedAndWrittenAgainByFormat)
{
    QDir().mkdir(path("out"));
    const QString jpeg = TestUtil::writeJpeg(path("bg.jpg"), 64, 64);
    EXPECT_EQ(AlbumImages::produceBackgroundImage(jpeg, path("out")), QDir(path("out")).filePath("background.jpg"));
    EXPECT_NE(TestUtil::readAll(path("out/background.jpg")), TestUtil::readAll(jpeg)); // encoded again
    EXPECT_EQ(QImageReader(path("out/background.jpg")).size(), QSize(64, 64));

    // A GIF source, even under a .jpg name, gives background.gif.
    ASSERT_TRUE(Imaging::save(TestUtil::samplePicture(32, 32), path("gif.jpg"), Imaging::SaveKind::Gif));
    EXPECT_EQ(AlbumImages::produceBackgroundImage(path("gif.jpg"), path("out")),
              QDir(path("out")).filePath("background.gif"));
    EXPECT_EQ(Imaging::fileFormat(path("out/background.gif")), Imaging::FileFormat::Gif);

    // Another format or no image: nothing.
    ASSERT_TRUE(TestUtil::samplePicture(16, 16).save(path("bg.png"), "PNG"));
    QDir(path("out")).removeRecursively();
    QDir().mkdir(path("out"));
    EXPECT_EQ(AlbumImages::produceBackgroundImage(path("bg.png"), path("out")), QString());
    EXPECT_EQ(AlbumImages::produceBackgroundImage(path("none.jpg"), path("out")), QString());
    EXPECT_EQ(AlbumImages::produceBackgroundImage(QString(), path("out")), QString());
    EXPECT_TRUE(QDir(path("out")).isEmpty());
}
