// SPDX-License-Identifier: MIT
// Hostile and damaged files: every read gives a clear outcome, never a crash or a huge allocation.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>

#include <functional>

#include "common/testutil.h"
#include "components/imaging.h"

using namespace Imaging;

namespace
{

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= uchar(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBig16(QByteArray& bytes, qsizetype at, int value)
{
    bytes[at] = char((value >> 8) & 0xFF);
    bytes[at + 1] = char(value & 0xFF);
}

QByteArray jpegBytes(int w, int h, const std::optional<TestUtil::Exif>& exif, const QString& scratch)
{
    TestUtil::writeJpeg(scratch, w, h, exif);
    return TestUtil::readAll(scratch);
}

// The offset of the TIFF header inside the EXIF segment, or -1.
qsizetype tiffStart(const QByteArray& jpeg)
{
    const qsizetype exif = jpeg.indexOf(QByteArray("Exif\0\0", 6));
    return exif < 0 ? -1 : exif + 6;
}

quint32 readTiff32(const QByteArray& b, qsizetype at, bool little)
{
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v |= quint32(uchar(b[at + (little ? i : 3 - i)])) << (8 * i);
    return v;
}

void writeTiff(QByteArray& b, qsizetype at, quint32 v, int size, bool little)
{
    for (int i = 0; i < size; ++i)
        b[at + (little ? i : size - 1 - i)] = char((v >> (8 * i)) & 0xFF);
}

enum class Expect { Fails, Loads };

struct BadFile {
    QString name;
    QByteArray bytes;
    Expect load;
    bool mayHaveInfo; // damaged EXIF may still give part of its fields
};

std::vector<BadFile> corpus(const QString& scratch)
{
    std::vector<BadFile> files;
    const QByteArray jpeg = jpegBytes(640, 480, std::nullopt, scratch);
    TestUtil::Exif exif;
    exif.make = QStringLiteral("Maker");
    exif.model = QStringLiteral("Model");
    exif.exposureTime = std::make_pair(1, 125);
    const QByteArray withExif = jpegBytes(320, 240, exif, scratch);

    files.push_back({"zero.jpg", {}, Expect::Fails, false});
    files.push_back({"text.jpg", "This is not a picture.\r\n", Expect::Fails, false});
    files.push_back({"random.jpg", QByteArray(4096, '\x5a'), Expect::Fails, false});
    files.push_back(
        {"soi_then_garbage.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(500, '\x01'), Expect::Fails, false});
    files.push_back({"cut_in_headers.jpg", jpeg.left(100), Expect::Fails, false});
    // Cut inside the scan: Qt delivers what was decoded and fills the rest.
    files.push_back({"cut_in_scan.jpg", jpeg.left(jpeg.size() / 2), Expect::Loads, false});

    QBuffer pngBuffer;
    pngBuffer.open(QIODevice::WriteOnly);
    TestUtil::samplePicture(32, 24).save(&pngBuffer, "PNG");
    files.push_back({"png_named.jpg", pngBuffer.data(), Expect::Loads, false});

    // A JPEG frame header claiming 65000 x 65000.
    {
        QByteArray huge = jpeg;
        const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
        putBig16(huge, sof + 5, 65000);
        putBig16(huge, sof + 7, 65000);
        files.push_back({"huge_header.jpg", huge, Expect::Fails, false});
    }
    // A PNG header claiming 65000 x 65000, with a valid checksum so the decoder believes it.
    {
        QByteArray huge = pngBuffer.data();
        const qsizetype ihdr = huge.indexOf("IHDR");
        writeTiff(huge, ihdr + 4, 65000, 4, false);
        writeTiff(huge, ihdr + 8, 65000, 4, false);
        writeTiff(huge, ihdr + 17, crc32(huge.mid(ihdr, 17)), 4, false);
        files.push_back({"huge_header.png", huge, Expect::Fails, false});
    }
    // A GIF whose screen claims 65000 x 65000.
    {
        QByteArray gif("GIF89a", 6);
        gif += QByteArray("\xE8\xFD\xE8\xFD\x80\x00\x00", 7); // 65000 x 65000, 2-colour table
        gif += QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6);
        gif += QByteArray("\x2C\x00\x00\x00\x00\xE8\xFD\xE8\xFD\x00\x02\x02\x44\x01\x00\x3B", 16);
        files.push_back({"huge_screen.gif", gif, Expect::Fails, false});
    }

    // EXIF damage: the photo still loads.
    const qsizetype tiff = tiffStart(withExif);
    const bool little = withExif[tiff] == 'I';
    const quint32 ifd0 = readTiff32(withExif, tiff + 4, little);
    {
        QByteArray b = withExif;
        writeTiff(b, tiff + 4, 0x7FFFFF00u, 4, little); // IFD0 far outside the segment
        files.push_back({"exif_ifd_offset.jpg", b, Expect::Loads, false});
    }
    {
        QByteArray b = withExif;
        writeTiff(b, tiff + ifd0, 0xFFFF, 2, little); // 65535 entries in a short segment
        files.push_back({"exif_entry_count.jpg", b, Expect::Loads, true});
    }
    {
        QByteArray b = withExif;
        const qsizetype entries = tiff + ifd0 + 2;
        const quint16 count = quint16(uchar(withExif[tiff + ifd0 + (little ? 0 : 1)]) |
                                      (uchar(withExif[tiff + ifd0 + (little ? 1 : 0)]) << 8));
        for (int i = 0; i < count; ++i) {
            writeTiff(b, entries + 12 * i + 4, 0x3FFFFFFFu, 4, little); // value counts
            writeTiff(b, entries + 12 * i + 8, 0xFFFFFFF0u, 4, little); // value offsets
        }
        files.push_back({"exif_value_counts.jpg", b, Expect::Loads, true});
    }
    {
        QByteArray b = withExif;
        // The APP1 segment's length field sits just before "Exif".
        const qsizetype segmentEnd = tiff - 8 + ((uchar(b[tiff - 8]) << 8) | uchar(b[tiff - 7]));
        for (qsizetype i = tiff + 8; i < segmentEnd; ++i)
            b[i] = char(0xA5 ^ i);
        files.push_back({"exif_garbage.jpg", b, Expect::Loads, true});
    }
    {
        QByteArray b = withExif;
        b[tiff] = 'X'; // neither "II" nor "MM"
        files.push_back({"exif_byte_order.jpg", b, Expect::Loads, false});
    }
    files.push_back(
        {"exif_then_cut.jpg", withExif.left(withExif.indexOf(QByteArray("\xFF\xDB", 2))), Expect::Fails, true});
    return files;
}

} // namespace

TEST(BadInput, EveryReadEndsCleanly)
{
    QTemporaryDir dir;
    const std::vector<BadFile> files = corpus(dir.filePath("scratch.jpg"));
    for (const BadFile& file : files) {
        SCOPED_TRACE(file.name.toStdString());
        const QString path = dir.filePath(file.name);
        TestUtil::writeAll(path, file.bytes);
        const QByteArray before = TestUtil::sha256(path);

        for (const QSize box : {QSize(), QSize(120, 90), QSize(640, 480)}) {
            const LoadResult result = load(path, box);
            EXPECT_EQ(result.ok(), file.load == Expect::Loads) << result.error.toStdString();
            if (result.ok()) {
                EXPECT_FALSE(result.fullSize.isEmpty());
                if (box.isValid()) {
                    EXPECT_EQ(result.image.size(), fitSize(result.fullSize, box));
                }
            } else {
                EXPECT_FALSE(result.error.isEmpty());
            }
        }
        const Photo photo = loadPhoto(path, QSize(120, 90));
        EXPECT_EQ(photo.load.ok(), file.load == Expect::Loads);
        const ShootingInfo info = readShootingInfo(path);
        EXPECT_EQ(info.hasInfo, photo.info.hasInfo);
        if (!file.mayHaveInfo) {
            EXPECT_FALSE(info.hasInfo);
        }
        (void)imageSize(path);
        (void)fileFormat(path);
        EXPECT_EQ(TestUtil::sha256(path), before); // read, never written
    }
}

TEST(BadInput, AbsurdHeadersAreRefusedFromTheHeader)
{
    QTemporaryDir dir;
    for (const BadFile& file : corpus(dir.filePath("scratch.jpg"))) {
        if (!file.name.startsWith(QLatin1String("huge")))
            continue;
        SCOPED_TRACE(file.name.toStdString());
        const QString path = dir.filePath(file.name);
        TestUtil::writeAll(path, file.bytes);
        EXPECT_EQ(imageSize(path), QSize(65000, 65000));
        EXPECT_TRUE(load(path).error.contains(QLatin1String("too large"))) << load(path).error.toStdString();
    }
}
