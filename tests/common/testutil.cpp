// SPDX-License-Identifier: MIT
#include "testutil.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImageWriter>
#include <algorithm>
#include <memory>

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

#include <gtest/gtest.h>

namespace TestUtil
{

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

namespace
{

void fillExif(Exiv2::ExifData& data, const Exif& exif)
{
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
}

} // namespace

void setExif(const QString& path, const Exif& exif)
{
    try {
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        Exiv2::ExifData& data = image->exifData();
        fillExif(data, exif);
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

QString binDir()
{
    return QString::fromUtf8(LUMIVERT_BIN_DIR);
}
QString dataDir()
{
    return QString::fromUtf8(LUMIVERT_TEST_DATA);
}

} // namespace TestUtil

// ---- HEIF

namespace TestUtil
{

namespace
{

void check(const heif_error& error, const char* what)
{
    ASSERT_EQ(error.code, heif_error_Ok) << what << ": " << (error.message ? error.message : "");
}

heif_image* heifImageOf(const QImage& source, int bits)
{
    const bool alpha = source.hasAlphaChannel();
    const QImage rgba = source.convertToFormat(QImage::Format_RGBA8888);
    heif_image* image = nullptr;
    const heif_chroma chroma = bits > 8
                                   ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                                   : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    EXPECT_EQ(heif_image_create(rgba.width(), rgba.height(), heif_colorspace_RGB, chroma, &image).code, heif_error_Ok);
    EXPECT_EQ(heif_image_add_plane(image, heif_channel_interleaved, rgba.width(), rgba.height(), bits).code,
              heif_error_Ok);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const int channels = alpha ? 4 : 3;
    const int top = (1 << bits) - 1;
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar* in = rgba.constScanLine(y);
        uint8_t* out = plane + qint64(y) * stride;
        for (int x = 0; x < rgba.width(); ++x) {
            for (int c = 0; c < channels; ++c) {
                const int v = in[x * 4 + c];
                if (bits > 8) {
                    const int wide = (v * top + 127) / 255;
                    out[(x * channels + c) * 2] = uint8_t(wide & 0xff);
                    out[(x * channels + c) * 2 + 1] = uint8_t(wide >> 8);
                } else {
                    out[x * channels + c] = uint8_t(v);
                }
            }
        }
    }
    return image;
}

QByteArray exifBlock(const Exif& exif)
{
    Exiv2::ExifData data;
    fillExif(data, exif);
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::bigEndian, data);
    return QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
}

} // namespace

QString writeHeif(const QString& path, const QImage& picture, const Heif& heif)
{
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(), heif_context_free);
    heif_encoder* rawEncoder = nullptr;
    check(heif_context_get_encoder_for_format(context.get(), heif.av1 ? heif_compression_AV1 : heif_compression_HEVC,
                                              &rawEncoder),
          "encoder");
    std::unique_ptr<heif_encoder, decltype(&heif_encoder_release)> encoder(rawEncoder, heif_encoder_release);
    if (!encoder)
        return path;
    heif_encoder_set_lossy_quality(encoder.get(), heif.quality);
    if (heif.av1)
        heif_encoder_set_parameter(encoder.get(), "speed", "8");

    std::unique_ptr<heif_image, decltype(&heif_image_release)> image(heifImageOf(picture, heif.bits),
                                                                     heif_image_release);
    if (!heif.icc.isEmpty()) {
        heif_image_set_raw_color_profile(image.get(), "prof", heif.icc.constData(), size_t(heif.icc.size()));
    } else if (heif.nclxPrimaries != 0) {
        heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
        nclx->color_primaries = heif_color_primaries(heif.nclxPrimaries);
        nclx->transfer_characteristics = heif_transfer_characteristics(heif.nclxTransfer);
        nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
        nclx->full_range_flag = 1;
        heif_image_set_nclx_color_profile(image.get(), nclx);
        heif_nclx_color_profile_free(nclx);
    }
    std::unique_ptr<heif_encoding_options, decltype(&heif_encoding_options_free)> options(heif_encoding_options_alloc(),
                                                                                          heif_encoding_options_free);
    options->image_orientation = heif_orientation(heif.orientation);
    heif_image_handle* rawHandle = nullptr;
    check(heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(), &rawHandle), "encode");
    std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)> handle(rawHandle,
                                                                                    heif_image_handle_release);
    if (!heif.thumbnail.isNull()) {
        // libheif scales a picture down into a box for a thumbnail: given the thumbnail at twice its
        // size, it comes out at its own.
        const QImage twice = heif.thumbnail.scaled(heif.thumbnail.size() * 2);
        std::unique_ptr<heif_image, decltype(&heif_image_release)> thumb(heifImageOf(twice, 8), heif_image_release);
        std::unique_ptr<heif_encoding_options, decltype(&heif_encoding_options_free)> plain(
            heif_encoding_options_alloc(), heif_encoding_options_free);
        heif_image_handle* rawThumb = nullptr;
        check(heif_context_encode_thumbnail(context.get(), thumb.get(), handle.get(), encoder.get(), plain.get(),
                                            std::max(heif.thumbnail.width(), heif.thumbnail.height()), &rawThumb),
              "thumbnail");
        heif_image_handle_release(rawThumb);
    }
    if (heif.exif) {
        const QByteArray block = exifBlock(*heif.exif);
        check(heif_context_add_exif_metadata(context.get(), handle.get(), block.constData(), int(block.size())),
              "exif");
    }
    check(heif_context_write_to_file(context.get(), QFile::encodeName(path).constData()), "write");
    return path;
}

double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull()) {
        ADD_FAILURE() << "pictures empty or of different sizes: " << a.width() << "x" << a.height() << " and " << b.width()
                      << "x" << b.height();
        return 255;
    }
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace TestUtil
