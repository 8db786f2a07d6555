// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

#include "common/testutil.h"
#include "components/imaging.h"
#include "components/workerpool.h"

using namespace Imaging;

namespace
{

using TestUtil::meanDifference;

// The frame markers of a JPEG, read segment by segment up to the first scan.
QList<int> frameMarkers(const QByteArray& jpeg)
{
    QList<int> markers;
    qsizetype i = 2;
    while (i + 4 <= jpeg.size() && uchar(jpeg[i]) == 0xFF) {
        const int marker = uchar(jpeg[i + 1]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            markers << marker;
        if (marker == 0xDA)
            break;
        const int length = (uchar(jpeg[i + 2]) << 8) | uchar(jpeg[i + 3]);
        i += 2 + length;
    }
    return markers;
}

class ImagingTest : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST(FitSize, ScalesIntoTheBoxRoundingHalvesToEven)
{
    struct Row {
        QSize source, box, expected;
    };
    const Row rows[] = {
        {{2048, 1536}, {120, 90}, {120, 90}},
        {{1536, 2048}, {120, 90}, {68, 90}}, // 67.5 -> 68
        {{60, 45}, {120, 90}, {120, 90}},    // enlarged
        {{3000, 2000}, {480, 360}, {480, 320}},
        {{3000, 2000}, {100, 75}, {100, 67}},
        {{1536, 2048}, {100, 75}, {56, 75}},
        {{1536, 2048}, {140, 105}, {79, 105}},
        {{1536, 2048}, {180, 135}, {101, 135}},
        {{1536, 2048}, {480, 360}, {270, 360}},
        {{1536, 2048}, {640, 480}, {360, 480}},
        {{1536, 2048}, {800, 600}, {450, 600}},
        {{320, 240}, {480, 360}, {480, 360}},
        {{10, 5}, {5, 5}, {5, 2}},          // 2.5 -> 2
        {{10, 3}, {5, 5}, {5, 2}},          // 1.5 -> 2
        {{10, 7}, {5, 5}, {5, 4}},          // 3.5 -> 4
        {{100000, 1}, {120, 90}, {120, 1}}, // never rounds to nothing
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QStringLiteral("%1x%2 into %3x%4")
                         .arg(row.source.width())
                         .arg(row.source.height())
                         .arg(row.box.width())
                         .arg(row.box.height())
                         .toStdString());
        EXPECT_EQ(fitSize(row.source, row.box), row.expected);
    }
    EXPECT_FALSE(fitSize(QSize(0, 10), QSize(120, 90)).isValid());
    EXPECT_FALSE(fitSize(QSize(10, 10), QSize()).isValid());
}

TEST_F(ImagingTest, FittedLoadMatchesFullLoadThenFit)
{
    struct Row {
        QSize size;
        QSize box;
        bool progressive;
    };
    const Row rows[] = {
        {{1536, 2048}, {120, 90}, false}, {{1536, 2048}, {120, 90}, true},   {{3000, 2000}, {480, 360}, false},
        {{3000, 2000}, {480, 360}, true}, {{2048, 1536}, {640, 480}, false}, {{1001, 999}, {120, 90}, false},
        {{60, 45}, {120, 90}, false},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(QStringLiteral("%1x%2 progressive %3")
                         .arg(row.size.width())
                         .arg(row.size.height())
                         .arg(row.progressive)
                         .toStdString());
        ++n;
        const QString file = TestUtil::writeJpeg(path(QStringLiteral("p%1.jpg").arg(n)), row.size.width(),
                                                 row.size.height(), std::nullopt, row.progressive, n);
        const LoadResult fast = load(file, row.box);
        const LoadResult full = load(file);
        ASSERT_TRUE(fast.ok()) << fast.error.toStdString();
        ASSERT_TRUE(full.ok()) << full.error.toStdString();
        EXPECT_EQ(fast.fullSize, row.size);
        EXPECT_EQ(full.fullSize, row.size);
        EXPECT_EQ(full.image.size(), row.size);
        EXPECT_EQ(fast.format, FileFormat::Jpeg);
        const QImage reference = fit(full.image, row.box);
        EXPECT_EQ(fast.image.size(), fitSize(row.size, row.box));
        EXPECT_EQ(reference.size(), fast.image.size());
        // The reduced decode averages the same pixels as the full one, up to rounding.
        EXPECT_LT(meanDifference(fast.image, reference), 4.0);
    }
}

TEST_F(ImagingTest, GreyscaleJpegLoadsAsColourImage)
{
    const QImage grey = TestUtil::samplePicture(801, 603).convertToFormat(QImage::Format_Grayscale8);
    TestUtil::writeJpeg(path("grey.jpg"), grey);
    for (const QSize box : {QSize(), QSize(120, 90), QSize(640, 480)}) {
        const LoadResult result = load(path("grey.jpg"), box);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.fullSize, QSize(801, 603));
        EXPECT_EQ(result.image.size(), box.isValid() ? fitSize(QSize(801, 603), box) : QSize(801, 603));
        EXPECT_EQ(result.image.format(), QImage::Format_RGB32);
        const QRgb c = result.image.pixel(result.image.width() / 2, result.image.height() / 2);
        EXPECT_EQ(qRed(c), qGreen(c));
        EXPECT_EQ(qGreen(c), qBlue(c));
    }
}

TEST_F(ImagingTest, PhotoAboveQtsDefaultAllocationLimitLoads)
{
    const QString file = TestUtil::writeJpeg(path("big.jpg"), 8000, 5000); // 40 MP, 160 MB decoded
    const LoadResult result = load(file);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.image.size(), QSize(8000, 5000));
    EXPECT_EQ(imageSize(file), QSize(8000, 5000));
}

TEST(Resize, ShrinksByAveragingAndKeepsFlatColours)
{
    // A one-pixel checkerboard shrunk by an odd factor: nearest neighbour would give black or
    // white, an area average gives the mid grey everywhere.
    QImage board(99, 99, QImage::Format_RGB32);
    for (int y = 0; y < 99; ++y)
        for (int x = 0; x < 99; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QImage small = resize(board, QSize(10, 10));
    ASSERT_EQ(small.size(), QSize(10, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const int g = qGreen(small.pixel(x, y));
            EXPECT_NEAR(g, 128, 14) << x << "," << y;
        }

    QImage flat(37, 23, QImage::Format_RGB32);
    flat.fill(qRgb(200, 100, 50));
    for (const QSize size : {QSize(5, 3), QSize(37, 23), QSize(100, 7), QSize(1, 1), QSize(300, 200)}) {
        const QImage out = resize(flat, size);
        ASSERT_EQ(out.size(), size);
        EXPECT_EQ(out.pixel(0, 0), qRgb(200, 100, 50));
        EXPECT_EQ(out.pixel(size.width() - 1, size.height() - 1), qRgb(200, 100, 50));
    }
    EXPECT_TRUE(resize(flat, QSize(0, 5)).isNull());
    EXPECT_TRUE(resize(QImage(), QSize(5, 5)).isNull());
}

TEST(Rotate, QuarterTurnLeftMovesTheTopRightCornerToTheTopLeft)
{
    // 3 x 2 picture, every pixel its own colour.
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, qRgb(x * 80, y * 80, 7));
    auto at = [&](int x, int y) { return image.pixel(x, y); };

    struct Row {
        int angle;
        QSize size;
        // Where the source pixels (0,0), (2,0) and (0,1) land.
        QPoint topLeft, topRight, bottomLeft;
    };
    const Row rows[] = {
        {9000, {2, 3}, {0, 2}, {0, 0}, {1, 2}},  {-27000, {2, 3}, {0, 2}, {0, 0}, {1, 2}},
        {-9000, {2, 3}, {1, 0}, {1, 2}, {0, 0}}, {27000, {2, 3}, {1, 0}, {1, 2}, {0, 0}},
        {18000, {3, 2}, {2, 1}, {0, 1}, {2, 0}}, {-18000, {3, 2}, {2, 1}, {0, 1}, {2, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.angle);
        const QImage out = rotate(image, row.angle);
        ASSERT_EQ(out.size(), row.size);
        EXPECT_EQ(out.pixel(row.topLeft), at(0, 0));
        EXPECT_EQ(out.pixel(row.topRight), at(2, 0));
        EXPECT_EQ(out.pixel(row.bottomLeft), at(0, 1));
    }
    for (const int angle : {0, 4500, 9001, 36000})
        EXPECT_TRUE(rotate(image, angle).isNull()) << angle;

    EXPECT_EQ(rotateByCode(image, 0), image);
    EXPECT_EQ(rotateByCode(image, 1), rotate(image, 9000));
    EXPECT_EQ(rotateByCode(image, 2), rotate(image, -9000));
    EXPECT_EQ(rotateByCode(image, 3), rotate(image, 18000));
    EXPECT_TRUE(rotateByCode(image, 4).isNull());
    EXPECT_TRUE(rotateByCode(image, -1).isNull());
    // Four quarter turns give the picture back exactly.
    QImage round = image;
    for (int i = 0; i < 4; ++i)
        round = rotate(round, 9000);
    EXPECT_EQ(round, image);
}

TEST_F(ImagingTest, JpegRoundTripAtEachQualityAndKind)
{
    // Smooth content: what is lost is the quantisation, not detail finer than 4:2:0 chroma holds.
    QImage picture(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 319, y * 255 / 239, 128 + int(60 * std::sin(x * 0.05 + y * 0.03))));
    for (const SaveKind kind : {SaveKind::BaselineJpeg, SaveKind::ProgressiveJpeg}) {
        qint64 previousSize = 0;
        double previousError = 1e9;
        for (const int quality : {50, 75, 100}) {
            SCOPED_TRACE(QStringLiteral("kind %1 quality %2").arg(int(kind)).arg(quality).toStdString());
            const QString file = path("out.jpg");
            TestUtil::writeAll(file, "an older file that must be replaced");
            QImage annotated = picture;
            annotated.setText(QStringLiteral("Description"), QStringLiteral("private note"));
            ASSERT_TRUE(save(annotated, file, kind, quality));
            const QByteArray bytes = TestUtil::readAll(file);
            EXPECT_FALSE(bytes.contains("private note")); // image text is never written
            const QList<int> markers = frameMarkers(bytes);
            ASSERT_EQ(markers.size(), 1);
            EXPECT_EQ(markers[0], kind == SaveKind::ProgressiveJpeg ? 0xC2 : 0xC0);
            EXPECT_GT(bytes.size(), previousSize); // better quality, bigger file
            previousSize = bytes.size();
            EXPECT_EQ(fileFormat(file), FileFormat::Jpeg);
            const LoadResult back = load(file);
            ASSERT_TRUE(back.ok());
            EXPECT_EQ(back.image.size(), picture.size());
            const double error = meanDifference(back.image, picture);
            EXPECT_LT(error, 3.0);
            EXPECT_LT(error, previousError);
            previousError = error;
            // Written under a temporary name and renamed: nothing else is left in the folder.
            EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"out.jpg"});
        }
    }
}

TEST_F(ImagingTest, SaveFailureLeavesNoFile)
{
    const QImage picture = TestUtil::samplePicture(16, 16);
    EXPECT_FALSE(save(picture, path("missing/folder/out.jpg"), SaveKind::BaselineJpeg, 75));
    EXPECT_FALSE(QFile::exists(path("missing/folder/out.jpg")));
    EXPECT_FALSE(save(QImage(), path("null.jpg"), SaveKind::BaselineJpeg, 75));
    EXPECT_FALSE(save(QImage(), path("null.gif"), SaveKind::Gif));
    EXPECT_FALSE(save(picture, path("bad.jpg"), SaveKind(7), 75));
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ImagingTest, GifRoundTrip)
{
    // Few colours: kept exactly.
    QImage drawing(40, 30, QImage::Format_RGB32);
    drawing.fill(qRgb(10, 20, 30));
    for (int x = 0; x < 40; ++x)
        drawing.setPixel(x, x % 30, qRgb(250, 128, 0));
    ASSERT_TRUE(save(drawing, path("drawing.gif"), SaveKind::Gif));
    EXPECT_EQ(fileFormat(path("drawing.gif")), FileFormat::Gif);
    const LoadResult drawn = load(path("drawing.gif"));
    ASSERT_TRUE(drawn.ok());
    EXPECT_EQ(drawn.format, FileFormat::Gif);
    EXPECT_EQ(meanDifference(drawn.image, drawing), 0.0);

    // A photo: adaptive palette, close to the original, the same bytes every time.
    const QImage photo = TestUtil::samplePicture(200, 150, 5);
    ASSERT_TRUE(save(photo, path("photo.gif"), SaveKind::Gif));
    ASSERT_TRUE(save(photo, path("again.gif"), SaveKind::Gif));
    EXPECT_EQ(TestUtil::sha256(path("photo.gif")), TestUtil::sha256(path("again.gif")));
    const LoadResult back = load(path("photo.gif"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.image.size(), photo.size());
    EXPECT_LT(meanDifference(back.image, photo), 12.0);

    // Transparency survives as GIF transparency.
    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(3, 3, qRgba(255, 0, 0, 255));
    ASSERT_TRUE(save(clear, path("clear.gif"), SaveKind::Gif));
    const QImage clearBack = load(path("clear.gif")).image;
    ASSERT_FALSE(clearBack.isNull());
    EXPECT_EQ(qAlpha(clearBack.pixel(0, 0)), 0);
    EXPECT_EQ(clearBack.pixel(3, 3), qRgba(255, 0, 0, 255));
}

TEST_F(ImagingTest, FormatIsJudgedByContent)
{
    TestUtil::writeJpeg(path("photo.gif"), 16, 16);
    ASSERT_TRUE(save(TestUtil::samplePicture(16, 16), path("picture.jpg"), SaveKind::Gif));
    ASSERT_TRUE(TestUtil::samplePicture(16, 16).save(path("png.jpg"), "PNG"));
    TestUtil::writeAll(path("text.jpg"), "just some words\r\n");
    TestUtil::writeAll(path("empty.jpg"), {});
    EXPECT_EQ(fileFormat(path("photo.gif")), FileFormat::Jpeg);
    EXPECT_EQ(fileFormat(path("picture.jpg")), FileFormat::Gif);
    EXPECT_EQ(fileFormat(path("png.jpg")), FileFormat::Other);
    EXPECT_EQ(fileFormat(path("text.jpg")), FileFormat::Unknown);
    EXPECT_EQ(fileFormat(path("empty.jpg")), FileFormat::Unknown);
    EXPECT_EQ(fileFormat(path("absent.jpg")), FileFormat::Unknown);

    EXPECT_EQ(load(path("photo.gif")).format, FileFormat::Jpeg);
    EXPECT_TRUE(load(path("photo.gif")).ok());
    EXPECT_TRUE(load(path("picture.jpg")).ok());
    const LoadResult png = load(path("png.jpg"), QSize(8, 8));
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.format, FileFormat::Other);
    EXPECT_EQ(png.image.size(), QSize(8, 8));
    EXPECT_EQ(imageSize(path("png.jpg")), QSize(16, 16));
    EXPECT_FALSE(imageSize(path("text.jpg")).isValid());
}

TEST_F(ImagingTest, EmbeddedProfileIsConvertedToSrgb)
{
    QImage wide(32, 32, QImage::Format_RGB32);
    wide.fill(qRgb(40, 160, 60));
    wide.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    QImageWriter writer(path("adobe.jpg"), "jpeg");
    writer.setQuality(100);
    ASSERT_TRUE(writer.write(wide));
    const LoadResult result = load(path("adobe.jpg"));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.image.colorSpace(), QColorSpace(QColorSpace::SRgb));
    // Adobe RGB's green is purer than sRGB's: the same numbers mean a more saturated colour,
    // so in sRGB the green channel stands further above the others.
    const QRgb c = result.image.pixel(16, 16);
    EXPECT_GT(qGreen(c) - qRed(c), 160 - 40 + 5);
    const LoadResult fitted = load(path("adobe.jpg"), QSize(8, 8));
    ASSERT_TRUE(fitted.ok());
    EXPECT_LE(meanDifference(fitted.image, fit(result.image, QSize(8, 8))), 2.0);
}

TEST(Copy, IsIndependentOfTheOriginal)
{
    QImage image = TestUtil::samplePicture(8, 8);
    const QImage twin = copy(image);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_NE(twin.pixel(0, 0), image.pixel(0, 0));
    EXPECT_TRUE(copy(QImage()).isNull());
    EXPECT_TRUE(fit(QImage(), QSize(10, 10)).isNull());
}

TEST_F(ImagingTest, ConcurrentLoadsGiveTheSameResultsAsSerialOnes)
{
    QStringList files;
    for (int i = 0; i < 8; ++i) {
        TestUtil::Exif exif;
        exif.model = QStringLiteral("Model %1").arg(i);
        files << TestUtil::writeJpeg(path(QStringLiteral("c%1.jpg").arg(i)), 640, 480, exif, i % 2, i);
    }
    const auto loadOne = [](const QString& file) { return loadPhoto(file, QSize(120, 90)); };
    std::vector<Photo> parallel(size_t(files.size()));
    WorkerPool::forEach(
        parallel.size(), [&](std::size_t i) { parallel[i] = loadOne(files.at(qsizetype(i))); }, 4);
    for (int i = 0; i < files.size(); ++i) {
        const Photo serial = loadOne(files[i]);
        EXPECT_EQ(parallel[size_t(i)].load.image, serial.load.image);
        EXPECT_EQ(parallel[size_t(i)].info.model, QStringLiteral("Model %1").arg(i));
    }
}
