// SPDX-License-Identifier: MIT
#include "testutil.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImageWriter>
#include <algorithm>

#include <exiv2/exiv2.hpp>

#include <gtest/gtest.h>

namespace TestUtil {

QImage samplePicture(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int r = (x * 255 / std::max(1, width - 1) + seed * 37) & 0xff;
            const int g = (y * 255 / std::max(1, height - 1) + seed * 11) & 0xff;
            const int b = ((x ^ y) * 3 + seed * 53) & 0xff;
            line[x] = qRgb(r, g, b);
        }
    }
    return image;
}

QString writeJpeg(const QString& path, const QImage& image, bool progressive)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << path.toStdString() << ": " << writer.errorString().toStdString();
    return path;
}

QString writeJpeg(const QString& path, int width, int height, const std::optional<Exif>& exif, bool progressive,
                  int seed)
{
    writeJpeg(path, samplePicture(width, height, seed), progressive);
    if (exif)
        setExif(path, *exif);
    return path;
}

void setExif(const QString& path, const Exif& exif)
{
    try {
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        Exiv2::ExifData& data = image->exifData();
        if (exif.make)
            data["Exif.Image.Make"] = exif.make->toStdString();
        if (exif.model)
            data["Exif.Image.Model"] = exif.model->toStdString();
        if (exif.dateTime)
            data["Exif.Image.DateTime"] = exif.dateTime->toStdString();
        if (exif.dateTimeOriginal)
            data["Exif.Photo.DateTimeOriginal"] = exif.dateTimeOriginal->toStdString();
        if (exif.exposureTime)
            data["Exif.Photo.ExposureTime"] = Exiv2::URational(exif.exposureTime->first, exif.exposureTime->second);
        if (exif.fNumber)
            data["Exif.Photo.FNumber"] = Exiv2::URational(exif.fNumber->first, exif.fNumber->second);
        if (exif.orientation)
            data["Exif.Image.Orientation"] = uint16_t(*exif.orientation);
        image->writeMetadata();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "cannot write EXIF to " << path.toStdString() << ": " << e.what();
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray sha256(const QString& path)
{
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256).toHex();
}

QString binDir() { return QString::fromUtf8(LUMIVERT_BIN_DIR); }
QString dataDir() { return QString::fromUtf8(LUMIVERT_TEST_DATA); }

}  // namespace TestUtil
