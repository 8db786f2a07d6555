// SPDX-License-Identifier: MIT
// HEIF photos (HEIC and AVIF), written by libheif's own encoders, come out as a JPEG would: upright,
// 8-bit sRGB, alpha on white, with their shooting information; broken ones get a reason.
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QTemporaryDir>
#include <QTransform>

#include <cmath>

#include "common/testutil.h"
#include "components/imaging.h"
#include "components/photocheck.h"

using namespace Imaging;

namespace
{

using TestUtil::meanDifference;

QImage flat(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QRgb centre(const QImage& image)
{
    return image.pixel(image.width() / 2, image.height() / 2);
}

// The sample picture with detail smoothed out, which lossy coding keeps closely.
QImage smoothSample(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), 128 + (x < w / 2 ? 60 : -60)));
    return image;
}

struct Kind {
    const char* name;
    bool av1;
    int bits;
};

class HeifKinds : public testing::TestWithParam<Kind>
{
};

} // namespace

// An iPhone stores its sensor's landscape picture with a file turn (irot) and the same turn in its
// EXIF Orientation: the picture comes upright once, and the tag does not turn it again.
TEST_P(HeifKinds, ComesUprightWithItsShootingInformation)
{
    const Kind kind = GetParam();
    QTemporaryDir dir;
    const QImage stored = smoothSample(320, 240);
    TestUtil::Exif exif;
    exif.make = QStringLiteral("Apple");
    exif.model = QStringLiteral("iPhone 15 Pro");
    exif.dateTimeOriginal = QStringLiteral("2026:05:04 10:20:30");
    exif.exposureTime = std::pair(1, 120);
    exif.fNumber = std::pair(178, 100);
    exif.orientation = 6;
    const QString path = TestUtil::writeHeif(dir.filePath(QStringLiteral("IMG_0001.HEIC")), stored,
                                             {.av1 = kind.av1, .bits = kind.bits, .orientation = 6, .exif = exif});

    EXPECT_EQ(fileFormat(path), FileFormat::Heif);
    EXPECT_EQ(imageSize(path), QSize(240, 320));
    const Photo photo = loadPhoto(path);
    ASSERT_TRUE(photo.load.ok()) << photo.load.error.toStdString();
    EXPECT_EQ(photo.load.format, FileFormat::Heif);
    EXPECT_EQ(photo.load.fullSize, QSize(240, 320));
    EXPECT_EQ(photo.load.image.format(), QImage::Format_RGB32);
    // Orientation 6: the stored picture turned a quarter clockwise.
    EXPECT_LT(meanDifference(photo.load.image, stored.transformed(QTransform().rotate(90))), 4.0);

    EXPECT_TRUE(photo.info.hasInfo);
    EXPECT_EQ(photo.info.maker, QStringLiteral("Apple"));
    EXPECT_EQ(photo.info.model, QStringLiteral("iPhone 15 Pro"));
    EXPECT_EQ(photo.info.dateTime, QStringLiteral("2026:05:04 10:20:30"));
    EXPECT_EQ(photo.info.exposureNum, 1);
    EXPECT_EQ(photo.info.exposureDen, 120);
    EXPECT_EQ(photo.info.fNumberNum, 178);
    EXPECT_EQ(photo.info.fNumberDen, 100);
    EXPECT_EQ(photo.info.orientation, 0);
    EXPECT_EQ(readShootingInfo(path).model, QStringLiteral("iPhone 15 Pro"));

    const LoadResult small = load(path, QSize(120, 90));
    ASSERT_TRUE(small.ok());
    EXPECT_EQ(small.image.size(), QSize(68, 90));
    EXPECT_EQ(small.fullSize, QSize(240, 320));
}

INSTANTIATE_TEST_SUITE_P(Codecs, HeifKinds,
                         testing::Values(Kind{"Hevc8", false, 8}, Kind{"Hevc10", false, 10}, Kind{"Av1_8", true, 8},
                                         Kind{"Av1_10", true, 10}),
                         [](const testing::TestParamInfo<Kind>& info) { return std::string(info.param.name); });

TEST(Heif, EveryTurnAndMirrorOfTheFileIsApplied)
{
    QTemporaryDir dir;
    const QImage stored = smoothSample(160, 96);
    // EXIF orientation values and the transform that shows the stored picture upright.
    const std::pair<int, QTransform> turns[] = {
        {3, QTransform().rotate(180)},
        {8, QTransform().rotate(-90)},
        {2, QTransform().scale(-1, 1)},
    };
    for (const auto& [orientation, transform] : turns) {
        SCOPED_TRACE(orientation);
        const QString path = TestUtil::writeHeif(dir.filePath(QStringLiteral("t%1.heic").arg(orientation)), stored,
                                                 {.orientation = orientation});
        const LoadResult loaded = load(path);
        ASSERT_TRUE(loaded.ok());
        EXPECT_LT(meanDifference(loaded.image, stored.transformed(transform)), 4.0);
    }
}

// A Display P3 picture, described by an ICC profile or by nclx, comes converted to sRGB as Qt converts
// it; an alpha channel is flattened onto white.
TEST(Heif, ColourProfilesAreConvertedAndTransparencyBecomesWhite)
{
    QTemporaryDir dir;
    const QColor p3(200, 90, 40);
    QImage expected = flat(QSize(64, 64), p3);
    expected.setColorSpace(QColorSpace::DisplayP3);
    expected.convertToColorSpace(QColorSpace::SRgb);
    const QRgb want = centre(expected);
    ASSERT_NE(want, p3.rgb()); // the conversion moves it

    const struct {
        const char* name;
        TestUtil::Heif heif;
    } described[] = {
        {"icc.heic", {.icc = QColorSpace(QColorSpace::DisplayP3).iccProfile()}},
        {"nclx.heic", {.nclxPrimaries = 12, .nclxTransfer = 13}},
        {"icc10.avif", {.av1 = true, .bits = 10, .icc = QColorSpace(QColorSpace::DisplayP3).iccProfile()}},
    };
    for (const auto& d : described) {
        SCOPED_TRACE(d.name);
        const LoadResult loaded =
            load(TestUtil::writeHeif(dir.filePath(QLatin1String(d.name)), flat({64, 64}, p3), d.heif));
        ASSERT_TRUE(loaded.ok());
        const QRgb got = centre(loaded.image);
        EXPECT_NEAR(qRed(got), qRed(want), 3);
        EXPECT_NEAR(qGreen(got), qGreen(want), 3);
        EXPECT_NEAR(qBlue(got), qBlue(want), 3);
    }

    QImage clear(64, 64, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    for (int y = 0; y < 64; ++y)
        for (int x = 32; x < 64; ++x)
            clear.setPixel(x, y, qRgba(20, 40, 200, 255));
    const LoadResult loaded = load(TestUtil::writeHeif(dir.filePath(QStringLiteral("alpha.heic")), clear));
    ASSERT_TRUE(loaded.ok());
    EXPECT_FALSE(loaded.image.hasAlphaChannel());
    EXPECT_GE(qGray(loaded.image.pixel(8, 32)), 250);
    EXPECT_NEAR(qBlue(loaded.image.pixel(56, 32)), 200, 6);
    EXPECT_NEAR(qRed(loaded.image.pixel(56, 32)), 20, 6);
}

// HDR pictures are mapped to standard range: reference white (203 cd/m², PQ code 0.58, HLG 75 %)
// near white, a dim grey as dim as its light, black black; neither washed out nor clipped grey.
TEST(Heif, HdrPicturesAreMappedToStandardRange)
{
    QTemporaryDir dir;
    const auto pqCode = [](double nits) {
        const double m1 = 2610.0 / 16384, m2 = 2523.0 / 4096 * 128, c1 = 3424.0 / 4096, c2 = 2413.0 / 4096 * 32,
                     c3 = 2392.0 / 4096 * 32;
        const double y = std::pow(nits / 10000, m1);
        return std::pow((c1 + c2 * y) / (1 + c3 * y), m2);
    };
    const auto srgb8 = [](double v) {
        return 255 * (v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055);
    };
    const struct {
        const char* name;
        int transfer;
        double signal; // 0..1
        double expected;
    } rows[] = {
        {"pq-white", 16, pqCode(203), srgb8(0.8 + 0.2 * (1 - std::exp(-1.0)))},
        {"pq-grey", 16, pqCode(20), srgb8(20.0 / 203)},
        {"pq-black", 16, 0, 0},
        {"hlg-white", 18, 0.75, srgb8(0.8 + 0.2 * (1 - std::exp(-1.0)))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const int v = int(std::lround(row.signal * 255));
        const QString path = TestUtil::writeHeif(dir.filePath(QStringLiteral("%1.hif").arg(QLatin1String(row.name))),
                                                 flat({64, 64}, QColor(v, v, v)),
                                                 {.bits = 10, .nclxPrimaries = 9, .nclxTransfer = row.transfer});
        const LoadResult loaded = load(path, QSize(32, 32));
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        const QRgb got = centre(loaded.image);
        EXPECT_NEAR(qRed(got), row.expected, 8);
        EXPECT_NEAR(qGreen(got), row.expected, 8);
        EXPECT_NEAR(qBlue(got), row.expected, 8);
    }
}

// The list picture may come from the file's thumbnail image, but only one that covers the box and
// has the photo's shape; the thumbnail here is a flat colour, so it shows when it is used.
TEST(Heif, ThumbnailIsUsedOnlyWhenLargeEnoughAndOfThePhotosShape)
{
    QTemporaryDir dir;
    const QImage photo = flat({640, 480}, QColor(30, 160, 30));
    const QColor thumbColour(200, 30, 30);
    const struct {
        const char* name;
        QSize thumb;
        int orientation;
        bool used;
    } rows[] = {
        {"fits", {160, 120}, 1, true},
        {"square", {160, 160}, 1, false},
        {"too-small", {80, 60}, 1, false},
        // The photo is turned by the file, its thumbnail not: another shape after the turn.
        {"unturned", {160, 120}, 6, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path =
            TestUtil::writeHeif(dir.filePath(QStringLiteral("%1.heic").arg(QLatin1String(row.name))), photo,
                                {.orientation = row.orientation, .thumbnail = flat(row.thumb, thumbColour)});
        const LoadResult loaded = load(path, QSize(120, 90));
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(loaded.image.size(), row.orientation == 6 ? QSize(68, 90) : QSize(120, 90));
        EXPECT_EQ(qRed(centre(loaded.image)) > 120, row.used);
        // A full decode never takes the thumbnail.
        EXPECT_LT(qRed(centre(load(path).image)), 100);
    }
}

// Cut-short copies, an image sequence without a still, and a HEIF header over nonsense: each is
// refused with a reason, nothing crashes.
TEST(Heif, BrokenFilesAreRefusedWithAReason)
{
    QTemporaryDir dir;
    const QByteArray whole =
        TestUtil::readAll(TestUtil::writeHeif(dir.filePath(QStringLiteral("whole.heic")), smoothSample(256, 192)));
    EXPECT_EQ(PhotoCheck::checkDecoded(dir.filePath(QStringLiteral("whole.heic"))).problem, PhotoCheck::Problem::None);
    for (const qsizetype cut : {qsizetype(20), qsizetype(200), whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        const QString path = dir.filePath(QStringLiteral("cut%1.heic").arg(cut));
        TestUtil::writeAll(path, whole.left(cut));
        const LoadResult loaded = load(path, QSize(120, 90));
        const PhotoCheck::Finding finding = loaded.ok() ? PhotoCheck::checkDecoded(path) : PhotoCheck::diagnose(path);
        EXPECT_EQ(finding.problem, PhotoCheck::Problem::Damaged);
        EXPECT_EQ(PhotoCheck::describe(finding), QStringLiteral("the file is damaged or cut short"));
    }

    // An image sequence (its frames in a movie box) with no primary still image.
    QByteArray sequence("\0\0\0\x18"
                        "ftypmsf1\0\0\0\0msf1iso8"
                        "\0\0\0\x08moov",
                        32);
    const QString seqPath = dir.filePath(QStringLiteral("burst.heic"));
    TestUtil::writeAll(seqPath, sequence);
    EXPECT_EQ(fileFormat(seqPath), FileFormat::Heif);
    EXPECT_FALSE(load(seqPath).ok());
    EXPECT_EQ(PhotoCheck::describe(PhotoCheck::diagnose(seqPath)), QStringLiteral("not a photo this program can read"));

    // A HEIC header claiming a huge picture in a tiny file, and random bytes after a HEIC ftyp.
    QByteArray noise = whole.left(40);
    for (int i = 0; i < 4000; ++i)
        noise += char((i * 7919) & 0xff);
    const QString noisePath = dir.filePath(QStringLiteral("noise.heic"));
    TestUtil::writeAll(noisePath, noise);
    EXPECT_FALSE(load(noisePath).ok());
    EXPECT_NE(PhotoCheck::diagnose(noisePath).problem, PhotoCheck::Problem::None);
}
