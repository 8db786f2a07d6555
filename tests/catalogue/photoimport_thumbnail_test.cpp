// SPDX-License-Identifier: MIT
// The import takes a camera's embedded EXIF thumbnail instead of decoding the photo, but only when
// that thumbnail is large enough and of the photo's shape.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>

#include "catalogue/photoimport.h"
#include "common/testutil.h"
#include "components/exifthumbnail.h"

namespace
{

QByteArray jpegBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

void put16(QByteArray& b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}
void put32(QByteArray& b, int at, qint64 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A little-endian EXIF block as cameras write it: IFD0 with Make and Model, IFD1 with the JPEG
// thumbnail's offset and length.
QByteArray exifWithThumbnail(const QByteArray& thumbnail)
{
    const QByteArray make("Maker\0", 6), model("Cam 7\0", 6);
    const int ifd0 = 8, ifd1 = ifd0 + 2 + 2 * 12 + 4, data = ifd1 + 2 + 3 * 12 + 4;
    const int makeAt = data, modelAt = makeAt + 6, thumbAt = modelAt + 6;
    QByteArray tiff(thumbAt, '\0');
    tiff[0] = 'I';
    tiff[1] = 'I';
    put16(tiff, 2, 42);
    put32(tiff, 4, 8);
    auto entry = [&](int at, int tag, int type, qint64 count, qint64 value) {
        put16(tiff, at, tag);
        put16(tiff, at + 2, type);
        put32(tiff, at + 4, count);
        put32(tiff, at + 8, value);
    };
    put16(tiff, ifd0, 2);
    entry(ifd0 + 2, 0x010F, 2, 6, makeAt);
    entry(ifd0 + 14, 0x0110, 2, 6, modelAt);
    put32(tiff, ifd0 + 26, ifd1);
    put16(tiff, ifd1, 3);
    entry(ifd1 + 2, 0x0103, 3, 1, 6);
    entry(ifd1 + 14, 0x0201, 4, 1, thumbAt);
    entry(ifd1 + 26, 0x0202, 4, 1, thumbnail.size());
    tiff.replace(makeAt, 6, make);
    tiff.replace(modelAt, 6, model);
    tiff.append(thumbnail);
    const int length = 2 + 6 + int(tiff.size());
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char(length >> 8)).append(char(length & 0xFF)).append(QByteArray("Exif\0\0", 6)).append(tiff);
    return app1;
}

QImage solid(QSize size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A blue photo whose embedded thumbnail is red: the thumbnail's colour shows which was used.
QString photoWithThumbnail(const QString& path, QSize photo, const QByteArray& thumbnailBytes, bool progressive)
{
    TestUtil::writeJpeg(path, solid(photo, Qt::blue), progressive);
    QByteArray bytes = TestUtil::readAll(path);
    bytes.insert(2, exifWithThumbnail(thumbnailBytes));
    TestUtil::writeAll(path, bytes);
    return path;
}

bool isRed(const QImage& image)
{
    const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
    return c.red() > 200 && c.blue() < 60;
}
bool isBlue(const QImage& image)
{
    const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
    return c.blue() > 200 && c.red() < 60;
}

} // namespace

TEST(ImportThumbnail, EmbeddedThumbnailOnlyWhenLargeEnoughAndOfThePhotosShape)
{
    QTemporaryDir dir;
    struct Case {
        const char* what;
        QSize photo;
        QSize thumbnail;
        bool progressive;
        bool taken;
        QSize fitted;
    };
    const Case cases[] = {
        {"camera-like 4:3", {800, 600}, {160, 120}, false, true, {120, 90}},
        {"progressive photo", {800, 600}, {160, 120}, true, true, {120, 90}},
        {"exactly the fitted size", {800, 600}, {120, 90}, false, true, {120, 90}},
        {"shape within 1 %", {645, 480}, {160, 120}, false, true, {120, 89}},
        {"too small", {800, 600}, {100, 75}, false, false, {120, 90}},
        {"3:2 photo with a 4:3 thumbnail", {600, 400}, {160, 120}, false, false, {120, 80}},
        {"shape off by 2 %", {653, 480}, {160, 120}, false, false, {120, 88}},
        {"portrait photo, landscape thumbnail", {600, 800}, {160, 120}, false, false, {68, 90}},
        {"portrait photo and thumbnail", {600, 800}, {120, 160}, false, true, {68, 90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = photoWithThumbnail(dir.filePath("p.jpg"), c.photo,
                                                jpegBytes(solid(c.thumbnail, Qt::red)), c.progressive);
        const PhotoRow row = PhotoImport::readPhotoRow(path);
        ASSERT_FALSE(row.image.isNull());
        EXPECT_EQ(row.image.size(), c.fitted);
        EXPECT_EQ(row.picture.size(), c.fitted);
        EXPECT_TRUE(c.taken ? isRed(row.image.toImage()) : isBlue(row.image.toImage()));
        // The shooting information comes from the same EXIF block either way.
        EXPECT_EQ(row.model, QStringLiteral("Maker Cam 7"));
        const Imaging::Photo photo = Imaging::loadPhotoThumbnail(path, QSize(120, 90));
        EXPECT_EQ(photo.load.fullSize, c.photo);
    }
}

TEST(ImportThumbnail, DamagedThumbnailFallsBackToThePhoto)
{
    QTemporaryDir dir;
    for (const QByteArray& thumbnail :
         {QByteArray("\xFF\xD8\xFF garbage", 12), QByteArray(), jpegBytes(solid({160, 120}, Qt::red)).left(200)}) {
        SCOPED_TRACE(thumbnail.size());
        const QString path = photoWithThumbnail(dir.filePath("p.jpg"), {800, 600}, thumbnail, false);
        const PhotoRow row = PhotoImport::readPhotoRow(path);
        ASSERT_FALSE(row.image.isNull());
        EXPECT_EQ(row.image.size(), QSize(120, 90));
        EXPECT_TRUE(isBlue(row.image.toImage()));
    }
}
