// SPDX-License-Identifier: MIT
#include "components/exifthumbnail.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <exiv2/exiv2.hpp>

#include "components/imaging_internal.h"

namespace Imaging
{

namespace
{

// Enough for the JPEG headers of any camera photo: an EXIF block is at most 64 KB, and the frame
// header follows it (with perhaps an ICC profile or an XMP block before).
constexpr qint64 kHeadBytes = 256 * 1024;

QImage embeddedThumbnail(const QByteArray& head)
{
    try {
        auto image =
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(head.constData()), long(head.size()));
        if (image.get() == nullptr || image->mimeType() != "image/jpeg")
            return {};
        image->readMetadata();
        const Exiv2::ExifThumbC thumb(image->exifData());
        if (std::string(thumb.mimeType()) != "image/jpeg")
            return {};
        const Exiv2::DataBuf data = thumb.copy();
        // A cut thumbnail would still decode, grey where its data ends: ask for its end marker
        // (some cameras pad the thumbnail with zeros after it).
        long end = data.size_;
        while (end > 0 && data.pData_[end - 1] == 0)
            --end;
        if (end < 4 || data.pData_[end - 2] != 0xFF || data.pData_[end - 1] != 0xD9)
            return {};
        QImage picture;
        if (!picture.loadFromData(reinterpret_cast<const uchar*>(data.pData_), int(data.size_), "JPEG"))
            return {};
        return picture;
    } catch (...) {
        return {};
    }
}

} // namespace

Photo loadPhotoThumbnail(const QString& path, QSize box)
{
    QFile file(path);
    if (box.isValid() && !box.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(kHeadBytes);
        if (Internal::formatOfBytes(head) == FileFormat::Jpeg) {
            QBuffer buffer;
            buffer.setData(head);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "jpeg");
            reader.setAutoTransform(false);
            const QSize full = reader.size();
            const QSize want = fitSize(full, box);
            const QImage thumbnail = want.isValid() ? embeddedThumbnail(head) : QImage();
            const qint64 tw = thumbnail.width(), th = thumbnail.height();
            // |tw / th - W / H| <= 1 % of W / H, in integers.
            const bool fits = !thumbnail.isNull() && tw >= want.width() && th >= want.height() &&
                              100 * std::abs(tw * full.height() - th * full.width()) <= th * full.width();
            if (fits) {
                Photo photo;
                photo.load.image = resize(Internal::to32Bit(thumbnail), want);
                photo.load.fullSize = full;
                photo.load.format = FileFormat::Jpeg;
                photo.info = Internal::shootingInfoFromBytes(head);
                if (photo.load.ok())
                    return photo;
            }
        }
    }
    return loadPhoto(path, box);
}

} // namespace Imaging
