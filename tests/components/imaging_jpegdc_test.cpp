// SPDX-License-Identifier: MIT
// The eighth-scale decode of progressive JPEGs from their first scans: the same picture as a whole
// decode at 1/8, refusal of everything it does not handle, and damaged files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

#include "common/testutil.h"
#include "components/imaging.h"
#include "components/imaging_internal.h"

using Imaging::Internal::decodeProgressiveEighth;

namespace
{

QByteArray jpegBytes(const QImage& image, bool progressive, int quality = 85)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

// Qt's own reader asked for the same eighth-scale output (ceil(size / 8), no rescale of its own).
QImage qtEighth(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize full = reader.size();
    const int w = (full.width() + 7) / 8, h = (full.height() + 7) / 8;
    reader.setClipRect(QRect(0, 0, w * 8, h * 8));
    reader.setScaledSize(QSize(w, h));
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

struct Difference {
    double mean = 0;
    int largest = 0;
};

Difference difference(const QImage& a, const QImage& b)
{
    Difference d;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            for (int v : {qRed(p[x]) - qRed(q[x]), qGreen(p[x]) - qGreen(q[x]), qBlue(p[x]) - qBlue(q[x])}) {
                sum += std::abs(v);
                d.largest = std::max(d.largest, std::abs(v));
            }
        }
    }
    d.mean = sum / (3.0 * a.width() * a.height());
    return d;
}

// Offsets of the start-of-scan markers (FF DA) of a JPEG.
QList<qsizetype> scanStarts(const QByteArray& bytes)
{
    QList<qsizetype> starts;
    for (qsizetype i = bytes.indexOf("\xFF\xDA"); i >= 0; i = bytes.indexOf("\xFF\xDA", i + 2))
        starts << i;
    return starts;
}

} // namespace

TEST(JpegEighth, MatchesAWholeDecodeOfTheSamePicture)
{
    // Odd sizes: the last column and row of blocks are partial.
    for (const QSize size : {QSize(803, 601), QSize(640, 480), QSize(97, 1203)}) {
        SCOPED_TRACE(size.width());
        const QByteArray bytes = jpegBytes(TestUtil::samplePicture(size.width(), size.height(), 3), true);
        const QImage ours = decodeProgressiveEighth(bytes);
        ASSERT_FALSE(ours.isNull());
        EXPECT_EQ(ours.format(), QImage::Format_RGB32);
        EXPECT_EQ(ours.size(), QSize((size.width() + 7) / 8, (size.height() + 7) / 8));
        const QImage whole = qtEighth(bytes);
        ASSERT_EQ(whole.size(), ours.size());
        // The first scans lack the last bit of each coefficient: a level or two on average, a
        // little more where this test picture's blue wraps from 255 to 0.
        const Difference d = difference(ours, whole);
        EXPECT_LT(d.mean, 2.0);
        EXPECT_LE(d.largest, 16);
    }
}

TEST(JpegEighth, GreyscaleStaysGrey)
{
    const QImage grey = TestUtil::samplePicture(400, 300, 1).convertToFormat(QImage::Format_Grayscale8);
    const QImage ours = decodeProgressiveEighth(jpegBytes(grey, true));
    ASSERT_EQ(ours.size(), QSize(50, 38));
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb p = ours.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
        }
    }
}

TEST(JpegEighth, CarriesTheEmbeddedColourProfile)
{
    QImage wide = TestUtil::samplePicture(320, 240, 2);
    wide.setColorSpace(QColorSpace::DisplayP3);
    const QImage ours = decodeProgressiveEighth(jpegBytes(wide, true));
    ASSERT_FALSE(ours.isNull());
    EXPECT_EQ(ours.colorSpace(), QColorSpace(QColorSpace::DisplayP3));
}

TEST(JpegEighth, LeavesOtherFilesToTheOrdinaryReader)
{
    const QImage picture = TestUtil::samplePicture(320, 240, 4);
    EXPECT_TRUE(decodeProgressiveEighth(jpegBytes(picture, false)).isNull()); // baseline
    EXPECT_TRUE(decodeProgressiveEighth({}).isNull());
    EXPECT_TRUE(decodeProgressiveEighth(QByteArray(5000, 'x')).isNull());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    EXPECT_TRUE(decodeProgressiveEighth(png).isNull());
}

TEST(JpegEighth, StopsAfterTheScansItUses)
{
    const QByteArray bytes = jpegBytes(TestUtil::samplePicture(640, 480, 5), true);
    const QImage whole = decodeProgressiveEighth(bytes);
    const QList<qsizetype> scans = scanStarts(bytes);
    ASSERT_GE(scans.size(), 3);
    // The shortest cut at a scan boundary that decodes gives the very same picture, long before
    // the end of the file: the luma refinement scans are never read.
    qsizetype needed = -1;
    for (qsizetype k = 1; k < scans.size() && needed < 0; ++k) {
        if (!decodeProgressiveEighth(bytes.left(scans.at(k))).isNull())
            needed = scans.at(k);
    }
    ASSERT_GT(needed, 0);
    EXPECT_EQ(decodeProgressiveEighth(bytes.left(needed)), whole);
    EXPECT_LT(needed, bytes.size() / 2);
    // No scan at all: nothing to show, and the ordinary reader gets the file.
    EXPECT_TRUE(decodeProgressiveEighth(bytes.left(scans.at(0))).isNull());
    // Cut points all through the scans it reads: an answer of the right size or none, never a crash.
    const qsizetype step = std::max<qsizetype>(1, (needed - scans.at(0)) / 60);
    for (qsizetype at = scans.at(0); at < needed; at += step) {
        const QImage partial = decodeProgressiveEighth(bytes.left(at));
        EXPECT_TRUE(partial.isNull() || partial.size() == whole.size()) << at;
    }
}

TEST(JpegEighth, ThumbnailOfAProgressivePhotoMatchesItsBaselineTwin)
{
    // Through the public loader: the same picture stored both ways gives the same 120 x 90.
    const QTemporaryDir dir;
    const QImage picture = TestUtil::samplePicture(1600, 1200, 6);
    const QString progressivePath = dir.filePath(QStringLiteral("progressive.jpg"));
    const QString baselinePath = dir.filePath(QStringLiteral("baseline.jpg"));
    TestUtil::writeAll(progressivePath, jpegBytes(picture, true, 90));
    TestUtil::writeAll(baselinePath, jpegBytes(picture, false, 90));
    const auto progressive = Imaging::load(progressivePath, QSize(120, 90));
    const auto baseline = Imaging::load(baselinePath, QSize(120, 90));
    ASSERT_TRUE(progressive.ok());
    ASSERT_TRUE(baseline.ok());
    EXPECT_EQ(progressive.image.size(), QSize(120, 90));
    EXPECT_EQ(progressive.fullSize, QSize(1600, 1200));
    EXPECT_LT(difference(progressive.image.convertToFormat(QImage::Format_RGB32),
                         baseline.image.convertToFormat(QImage::Format_RGB32))
                  .mean,
              2.0);
}
