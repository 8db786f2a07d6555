// SPDX-License-Identifier: MIT
// The component's only door to exiv2: process set-up and shooting information. Every exiv2
// failure (it throws on missing, empty, unknown and damaged files) ends here as "no information".
#include "components/imaging.h"

#include <memory>
#include <string>

#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QStringDecoder>

#include <exiv2/exiv2.hpp>

#include "components/imaging_internal.h"

Q_DECLARE_LOGGING_CATEGORY(lcImaging)

namespace Imaging
{

namespace
{

// Room for full decodes of pictures up to Internal::kMaxPixels at four bytes a pixel.
constexpr int kAllocationLimitMb = 1024;

// EXIF ASCII is meant to be 7-bit; cameras that store something else mostly store Latin-1.
QString exifText(const std::string& raw)
{
    QByteArray bytes = QByteArray::fromStdString(raw);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        text = QString::fromLatin1(bytes);
    return text.trimmed();
}

QString textOf(const Exiv2::ExifData& data, const char* key)
{
    const auto it = data.findKey(Exiv2::ExifKey(key));
    if (it == data.end() || it->count() == 0)
        return {};
    return exifText(it->toString());
}

// The stored numerator and denominator, not reduced. Unsigned rationals above 2^31 come back
// from toRational() wrapped; they are unwrapped here.
bool rationalOf(const Exiv2::ExifData& data, const char* key, qint64& num, qint64& den)
{
    const auto it = data.findKey(Exiv2::ExifKey(key));
    if (it == data.end() || it->count() == 0)
        return false;
    const Exiv2::Rational r = it->toRational(0);
    if (it->typeId() == Exiv2::unsignedRational) {
        num = qint64(uint32_t(r.first));
        den = qint64(uint32_t(r.second));
    } else {
        num = r.first;
        den = r.second;
    }
    return true;
}

// upright: the picture comes upright already (HEIF), and the Orientation tag is not reported.
ShootingInfo infoOf(const Exiv2::ExifData& data, bool upright)
{
    ShootingInfo info;
    if (data.empty())
        return info;
    info.hasInfo = true;
    info.maker = textOf(data, "Exif.Image.Make");
    info.model = textOf(data, "Exif.Image.Model");
    info.dateTime = textOf(data, "Exif.Photo.DateTimeOriginal");
    if (info.dateTime.isEmpty())
        info.dateTime = textOf(data, "Exif.Image.DateTime");
    rationalOf(data, "Exif.Photo.ExposureTime", info.exposureNum, info.exposureDen);
    rationalOf(data, "Exif.Photo.FNumber", info.fNumberNum, info.fNumberDen);
    // A HEIF picture comes upright from its own transformations; its Orientation tag describes
    // that same turn and must not turn it again.
    const auto orientation = data.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (!upright && orientation != data.end() && orientation->count() > 0) {
        const long value = orientation->toLong(0);
        if (value >= 1 && value <= 8)
            info.orientation = int(value);
    }
    return info;
}

ShootingInfo infoOf(Exiv2::Image& image)
{
    image.readMetadata();
    return infoOf(image.exifData(), image.imageType() == Exiv2::ImageType::bmff);
}

// A HEIF file's Exif block as libheif finds it (exiv2's own reader misses some files' blocks).
ShootingInfo heifInfo(const QByteArray& bytes)
{
    const QByteArray tiff = Internal::heifExif(bytes);
    if (tiff.isEmpty())
        return {};
    Exiv2::ExifData data;
    Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte*>(tiff.constData()), uint32_t(tiff.size()));
    return infoOf(data, true);
}

} // namespace

Session::Session()
{
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    // Must run before any thread touches exiv2: its lazy XMP set-up is not thread-safe.
    Exiv2::XmpParser::initialize();
    // exiv2 reads the Exif of HEIF files only when asked to (without, it finds none and says nothing);
    // HEIF shooting information comes from libheif's Exif block, this is for any other use.
    Exiv2::enableBMFF(true);
    // libheif is set up on the first HEIF file (Internal::initHeif).
}

Session::~Session()
{
    Exiv2::XmpParser::terminate();
}

namespace Internal
{

ShootingInfo shootingInfoFromBytes(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    try {
        if (isHeif(bytes))
            return heifInfo(bytes);
        auto image =
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.constData()), long(bytes.size()));
        if (image.get() == nullptr)
            return {};
        return infoOf(*image);
    } catch (const std::exception& e) {
        qCDebug(lcImaging) << "no shooting information:" << e.what();
    } catch (...) {
        qCDebug(lcImaging) << "no shooting information: unknown failure";
    }
    return {};
}

} // namespace Internal

ShootingInfo readShootingInfo(const QString& path)
{
    if (fileFormat(path) == FileFormat::Heif) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? Internal::shootingInfoFromBytes(file.readAll()) : ShootingInfo();
    }
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        if (image.get() == nullptr)
            return {};
        return infoOf(*image);
    } catch (const std::exception& e) {
        qCDebug(lcImaging) << "no shooting information in" << path << e.what();
    } catch (...) {
        qCDebug(lcImaging) << "no shooting information in" << path;
    }
    return {};
}

} // namespace Imaging
