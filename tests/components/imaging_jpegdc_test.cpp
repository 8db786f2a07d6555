// SPDX-License-Identifier: MIT
// The eighth- and quarter-scale decodes of progressive JPEGs from their first scans: the picture of
// a whole decode at that scale to within a few levels, refusal of everything they do not handle,
// and damaged files.
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

using Imaging::Internal::decodeProgressiveFirstPass;

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

// Qt's own reader asked for the same reduced output (ceil(size / d), no rescale of its own), which
// reads every scan.
QImage qtReduced(const QByteArray& bytes, int d)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize full = reader.size();
    const int w = (full.width() + d - 1) / d, h = (full.height() + d - 1) / d;
    reader.setClipRect(QRect(0, 0, w * d, h * d));
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

TEST(JpegFirstPass, MatchesAWholeDecodeOfTheSamePicture)
{
    // Odd sizes: the last column and row of blocks are partial.
    for (const int d : {8, 4}) {
        for (const QSize size : {QSize(803, 601), QSize(640, 480), QSize(97, 1203)}) {
            SCOPED_TRACE(testing::Message() << "1/" << d << " of " << size.width());
            const QByteArray bytes = jpegBytes(TestUtil::samplePicture(size.width(), size.height(), 3), true);
            const QImage ours = decodeProgressiveFirstPass(bytes, d);
            ASSERT_FALSE(ours.isNull());
            EXPECT_EQ(ours.format(), QImage::Format_RGB32);
            EXPECT_EQ(ours.size(), QSize((size.width() + d - 1) / d, (size.height() + d - 1) / d));
            const QImage whole = qtReduced(bytes, d);
            ASSERT_EQ(whole.size(), ours.size());
            // The first scans lack the last bit or two of each coefficient: a level or two on
            // average (at 1/4, where each pixel also takes high frequencies, about three, a
            // quarter of what a JPEG encoding at quality 75 changes here), more where this test
            // picture's blue wraps from 255 to 0.
            const Difference diff = difference(ours, whole);
            EXPECT_LT(diff.mean, d == 8 ? 2.0 : 3.5);
            EXPECT_LE(diff.largest, d == 8 ? 16 : 64);
            EXPECT_NE(ours, whole.convertToFormat(QImage::Format_RGB32)); // not the whole file after all
        }
    }
}

TEST(JpegFirstPass, GreyscaleStaysGrey)
{
    const QImage grey = TestUtil::samplePicture(400, 300, 1).convertToFormat(QImage::Format_Grayscale8);
    const QImage ours = decodeProgressiveFirstPass(jpegBytes(grey, true), 8);
    ASSERT_EQ(ours.size(), QSize(50, 38));
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb p = ours.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
        }
    }
}

TEST(JpegFirstPass, CarriesTheEmbeddedColourProfile)
{
    QImage wide = TestUtil::samplePicture(320, 240, 2);
    wide.setColorSpace(QColorSpace::DisplayP3);
    const QImage ours = decodeProgressiveFirstPass(jpegBytes(wide, true), 8);
    ASSERT_FALSE(ours.isNull());
    EXPECT_EQ(ours.colorSpace(), QColorSpace(QColorSpace::DisplayP3));
}

TEST(JpegFirstPass, LeavesOtherFilesToTheOrdinaryReader)
{
    const QImage picture = TestUtil::samplePicture(320, 240, 4);
    EXPECT_TRUE(decodeProgressiveFirstPass(jpegBytes(picture, false), 8).isNull()); // baseline
    EXPECT_TRUE(decodeProgressiveFirstPass({}, 8).isNull());
    EXPECT_TRUE(decodeProgressiveFirstPass(QByteArray(5000, 'x'), 8).isNull());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    EXPECT_TRUE(decodeProgressiveFirstPass(png, 8).isNull());
}

TEST(JpegFirstPass, StopsAfterTheScansItUses)
{
    const QByteArray bytes = jpegBytes(TestUtil::samplePicture(640, 480, 5), true);
    for (const int d : {8, 4}) {
        SCOPED_TRACE(d);
        const QImage whole = decodeProgressiveFirstPass(bytes, d);
        const QList<qsizetype> scans = scanStarts(bytes);
        ASSERT_GE(scans.size(), 3);
        // The shortest cut at a scan boundary that decodes gives the very same picture, long before
        // the end of the file: the luma refinement scans are never read (at 1/8 not even the AC).
        qsizetype needed = -1;
        for (qsizetype k = 1; k < scans.size() && needed < 0; ++k) {
            if (!decodeProgressiveFirstPass(bytes.left(scans.at(k)), d).isNull())
                needed = scans.at(k);
        }
        ASSERT_GT(needed, 0);
        EXPECT_EQ(decodeProgressiveFirstPass(bytes.left(needed), d), whole);
        EXPECT_LT(needed, bytes.size() / 2);
        // No scan at all: nothing to show, and the ordinary reader gets the file.
        EXPECT_TRUE(decodeProgressiveFirstPass(bytes.left(scans.at(0)), d).isNull());
        // Cut points all through the scans it reads: an answer of the right size or none, never a crash.
        const qsizetype step = std::max<qsizetype>(1, (needed - scans.at(0)) / 60);
        for (qsizetype at = scans.at(0); at < needed; at += step) {
            const QImage partial = decodeProgressiveFirstPass(bytes.left(at), d);
            EXPECT_TRUE(partial.isNull() || partial.size() == whole.size()) << at;
        }
    }
}

TEST(JpegFirstPass, ThumbnailOfAProgressivePhotoMatchesItsBaselineTwin)
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
