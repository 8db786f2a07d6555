// SPDX-License-Identifier: MIT
#include "components/imaging.h"

#include <algorithm>
#include <cstring>

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QPainter>

#include "components/imaging_internal.h"
#include "components/photocheck.h"
#include "components/wholefile.h"

Q_LOGGING_CATEGORY(lcImaging, "lumivert.components.imaging", QtWarningMsg)

namespace Imaging
{

namespace
{

// A file larger than this is not a photo we can hold; refusing it keeps memory bounded.
constexpr qint64 kMaxFileBytes = qint64(512) << 20;
// Decodes above this size are checked against the file's size (see loadBytes).
constexpr qint64 kBombFloorPixels = 16'000'000;

struct FileBytes {
    QByteArray bytes;
    QString error;
};

FileBytes readFile(const QString& path)
{
    FileBytes result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("cannot open: %1").arg(file.errorString());
        return result;
    }
    result.bytes = readAll(file, &result.error);
    return result;
}

// libjpeg can decode at 1/2, 1/4 or 1/8 of the stored size. The smallest scale whose output
// still covers the target keeps the final area resize a true reduction, so a reduced decode
// gives the same size (and nearly the same pixels) as a full decode followed by the same resize.
int dctDivisorFor(QSize full, QSize target)
{
    for (const int d : {8, 4, 2}) {
        if (qint64(full.width()) >= qint64(target.width()) * d && qint64(full.height()) >= qint64(target.height()) * d)
            return d;
    }
    return 1;
}

QImage toSrgb(QImage image, const QColorSpace& space)
{
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        image.setColorSpace(space);
        image.convertToColorSpace(QColorSpace::SRgb);
    }
    return image;
}

LoadResult loadBytes(const QByteArray& bytes, QSize fitBox, JpegScans scans)
{
    LoadResult result;
    result.format = Internal::formatOfBytes(bytes);
    if (result.format == FileFormat::Unknown) {
        result.error = QStringLiteral("not an image");
        return result;
    }
    if (result.format == FileFormat::Heif)
        return Internal::loadHeif(bytes, fitBox);
    result.cutShort = result.format == FileFormat::Jpeg && PhotoCheck::cutShort(bytes);

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false); // pixels as stored; the photo list carries its own rotation

    // A JPEG's header is read by libjpeg directly: Qt's reader would also gather its metadata
    // segments, and a JPEG it cannot read falls to Qt's reader below anyway.
    QSize full = result.format == FileFormat::Jpeg ? Internal::jpegSize(bytes) : QSize();
    if (!full.isValid())
        full = reader.size();
    if (full.isValid() && qint64(full.width()) * full.height() > Internal::kMaxPixels) {
        result.error = QStringLiteral("picture too large: %1 x %2").arg(full.width()).arg(full.height());
        return result;
    }
    // A big header over a few bytes is a decompression bomb: even a flat-colour JPEG or GIF needs
    // far more than a byte per 1024 pixels, so such a file cannot hold the picture it claims.
    if (full.isValid() && qint64(full.width()) * full.height() > 16'000'000 &&
        bytes.size() < qint64(full.width()) * full.height() / 1024) {
        result.error = QStringLiteral("picture too large for its file: %1 x %2 in %3 bytes")
                           .arg(full.width())
                           .arg(full.height())
                           .arg(bytes.size());
        return result;
    }

    QSize target;
    int divisor = 1; // decoded at 1 / divisor
    if (fitBox.isValid() && !fitBox.isEmpty() && full.isValid() && !full.isEmpty()) {
        target = fitSize(full, fitBox);
        if (result.format == FileFormat::Jpeg)
            divisor = dctDivisorFor(full, target);
        if (divisor > 1) {
            // libjpeg's reduced output is ceil(size / d) pixels, the last one padded. A clip
            // rectangle rounded up to whole multiples of d makes Qt ask libjpeg for exactly that
            // and skip its own smooth rescale; the resize below allows for the padding.
            const int cw = int((qint64(full.width()) + divisor - 1) / divisor);
            const int ch = int((qint64(full.height()) + divisor - 1) / divisor);
            reader.setClipRect(QRect(0, 0, cw * divisor, ch * divisor));
            reader.setScaledSize(QSize(cw, ch));
        }
    }

    // A header can promise far more pixels than its bytes could ever hold (a few hundred bytes
    // claiming 15000 x 15000): decoding that takes a gigabyte and seconds of filling in. No whole
    // JPEG holds more than 512 pixels a byte (at least one bit per 8 x 8 block) nor a GIF more than
    // about 2,700 (12-bit codes of at most 4,096 pixels), so a decode of more than 16 megapixels
    // from more than 4,096 pixels a byte is refused.
    // Qt reports a GIF's first frame as its size but allocates the whole logical screen.
    QSize canvas = full;
    if (result.format == FileFormat::Gif && bytes.size() >= 10)
        canvas =
            canvas.expandedTo(QSize(uchar(bytes[6]) | uchar(bytes[7]) << 8, uchar(bytes[8]) | uchar(bytes[9]) << 8));
    if (canvas.isValid()) {
        const qint64 pixels = qint64(canvas.width()) * canvas.height();
        if (pixels / (qint64(divisor) * divisor) > kBombFloorPixels && pixels / 4096 > bytes.size()) {
            result.error = QStringLiteral("picture too large for its file: %1 x %2 in %3 bytes")
                               .arg(canvas.width())
                               .arg(canvas.height())
                               .arg(bytes.size());
            return result;
        }
    }

    // A reduced JPEG decode goes to libjpeg directly (a progressive one at 1/8, or at 1/4 when
    // asked, reads only its first scans); a full-size decode, another format or a JPEG libjpeg refuses go through Qt.
    QImage image;
    if (divisor > 1 && result.format == FileFormat::Jpeg)
        image = Internal::decodeJpegScaled(bytes, divisor, scans);
    if (image.isNull())
        image = reader.read();
    if (image.isNull()) {
        result.error = reader.errorString();
        return result;
    }
    result.fullSize = full.isValid() ? full : image.size();
    const QColorSpace space = image.colorSpace();
    image = Internal::to32Bit(image);

    if (fitBox.isValid() && !fitBox.isEmpty()) {
        if (!target.isValid())
            target = fitSize(result.fullSize, fitBox);
        const QSize decoded((result.fullSize.width() + divisor - 1) / divisor,
                            (result.fullSize.height() + divisor - 1) / divisor);
        if (divisor > 1 && image.size() == decoded) {
            // The real content spans fullSize / divisor pixels of the decoded image.
            image = Internal::resizeRegion(image, target, result.fullSize.width(), divisor, result.fullSize.height(),
                                           divisor);
        } else if (image.size() != target) {
            image = resize(image, target);
        }
        if (image.isNull()) {
            result.error = QStringLiteral("cannot fit the picture");
            return result;
        }
    }
    result.image = toSrgb(std::move(image), space);
    return result;
}

qint64 divideRoundHalfEven(qint64 n, qint64 d)
{
    const qint64 q = n / d;
    const qint64 r2 = (n % d) * 2;
    if (r2 > d || (r2 == d && (q & 1)))
        return q + 1;
    return q;
}

// Opaque copy for JPEG: transparent parts become white rather than whatever the encoder guesses.
// The copy carries no image text, which Qt's writer would store as comments: a source photo's
// comment, or our own working notes, must not reach the album.
QImage flattened(const QImage& image)
{
    QImage out(image.size(), QImage::Format_RGB32);
    if (out.isNull())
        return {};
    if (!image.hasAlphaChannel()) {
        const QImage rgb = Internal::to32Bit(image);
        for (int y = 0; y < rgb.height(); ++y)
            std::memcpy(out.scanLine(y), rgb.constScanLine(y), size_t(rgb.width()) * 4);
        return out;
    }
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    painter.end();
    return out;
}

// Quarter and half turns, pixel for pixel. turns: 1 = left (counter-clockwise), 2 = half, 3 = right.
QImage turned(const QImage& source, int turns)
{
    const QImage src = Internal::to32Bit(source);
    const int w = src.width();
    const int h = src.height();
    QImage dst(turns == 2 ? QSize(w, h) : QSize(h, w), src.format());
    if (dst.isNull())
        return {};
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (turns) {
            case 1: // the top right corner becomes the top left one
                reinterpret_cast<QRgb*>(dst.scanLine(w - 1 - x))[y] = line[x];
                break;
            case 2:
                reinterpret_cast<QRgb*>(dst.scanLine(h - 1 - y))[w - 1 - x] = line[x];
                break;
            default: // the top left corner becomes the top right one
                reinterpret_cast<QRgb*>(dst.scanLine(x))[h - 1 - y] = line[x];
                break;
            }
        }
    }
    dst.setColorSpace(src.colorSpace());
    dst.setDotsPerMeterX(src.dotsPerMeterY());
    dst.setDotsPerMeterY(src.dotsPerMeterX());
    return dst;
}

} // namespace

namespace Internal
{

FileFormat formatOfBytes(const QByteArray& head)
{
    if (head.size() >= 3 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0xD8 && uchar(head[2]) == 0xFF)
        return FileFormat::Jpeg;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return FileFormat::Gif;
    if (head.isEmpty())
        return FileFormat::Unknown;
    if (isHeif(head))
        return FileFormat::Heif;
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer).isEmpty() ? FileFormat::Unknown : FileFormat::Other;
}

QImage to32Bit(const QImage& image)
{
    if (image.isNull())
        return {};
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

} // namespace Internal

QByteArray readAll(QIODevice& device, QString* error)
{
    QByteArray bytes;
    if (!device.isSequential() && !device.seek(0)) {
        if (error)
            *error = device.errorString();
        return bytes;
    }
    // Read at most one byte past the limit: a device that never ends (a pipe, /dev/zero named
    // as a photo) is cut off as well as a huge file. In chunks, since QIODevice::read(n) reserves
    // n bytes at once (half a gigabyte for every photo).
    if (!device.isSequential())
        bytes.reserve(qMin(device.size(), kMaxFileBytes + 1));
    while (bytes.size() <= kMaxFileBytes) {
        const QByteArray chunk = device.read(qMin<qint64>(qint64(4) << 20, kMaxFileBytes + 1 - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    QString why;
    if (bytes.size() > kMaxFileBytes) {
        bytes.clear();
        why = QStringLiteral("file too large");
    } else if (bytes.isEmpty()) {
        why = QStringLiteral("empty file");
    }
    if (error)
        *error = why;
    return bytes;
}

LoadResult decode(const QByteArray& bytes, QSize fitBox, JpegScans scans)
{
    return loadBytes(bytes, fitBox, scans);
}

LoadResult load(const QString& path, QSize fitBox)
{
    const FileBytes file = readFile(path);
    if (!file.error.isEmpty()) {
        LoadResult result;
        result.error = file.error;
        return result;
    }
    LoadResult result = loadBytes(file.bytes, fitBox, JpegScans::All);
    if (!result.ok())
        qCDebug(lcImaging) << "cannot load" << path << result.error;
    return result;
}

Photo loadPhoto(const QString& path, QSize fitBox)
{
    Photo photo;
    const FileBytes file = readFile(path);
    if (!file.error.isEmpty()) {
        photo.load.error = file.error;
        return photo;
    }
    photo.load = loadBytes(file.bytes, fitBox, JpegScans::All);
    photo.info = Internal::shootingInfoFromBytes(file.bytes);
    return photo;
}

QSize imageSize(const QString& path)
{
    if (fileFormat(path) == FileFormat::Heif) {
        const FileBytes file = readFile(path);
        return file.error.isEmpty() ? Internal::heifSize(file.bytes) : QSize();
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    return size.isValid() && !size.isEmpty() ? size : QSize();
}

FileFormat fileFormat(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileFormat::Unknown;
    const QByteArray head = file.read(4096);
    return Internal::formatOfBytes(head);
}

bool save(const QImage& image, const QString& path, SaveKind kind, int quality)
{
    if (image.isNull() || path.isEmpty())
        return false;
    QByteArray bytes;
    switch (kind) {
    case SaveKind::BaselineJpeg:
    case SaveKind::ProgressiveJpeg: {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(std::clamp(quality, 1, 100));
        writer.setProgressiveScanWrite(kind == SaveKind::ProgressiveJpeg);
        writer.setOptimizedWrite(true);
        if (!writer.write(flattened(image))) {
            qCDebug(lcImaging) << "cannot encode" << path << writer.errorString();
            return false;
        }
        break;
    }
    case SaveKind::Gif:
        bytes = Internal::encodeGif(image);
        break;
    }
    if (bytes.isEmpty())
        return false;
    const QString reason = WholeFile::write(path, bytes);
    if (!reason.isEmpty())
        qCDebug(lcImaging) << "cannot write" << path << reason;
    return reason.isEmpty();
}

QSize fitSize(QSize source, QSize box)
{
    if (source.isEmpty() || box.isEmpty())
        return {};
    const qint64 w = source.width(), h = source.height();
    const qint64 bw = box.width(), bh = box.height();
    // min(bw / w, bh / h) in exact arithmetic: bw / w < bh / h  <=>  bw * h < bh * w.
    qint64 nw, nh;
    if (bw * h < bh * w) {
        nw = bw;
        nh = divideRoundHalfEven(h * bw, w);
    } else {
        nh = bh;
        nw = divideRoundHalfEven(w * bh, h);
    }
    // A very thin picture would round to nothing; one pixel keeps it visible.
    return QSize(int(std::max<qint64>(nw, 1)), int(std::max<qint64>(nh, 1)));
}

QImage copy(const QImage& image)
{
    return image.copy();
}

QImage fit(const QImage& image, QSize box)
{
    if (image.isNull())
        return {};
    return resize(image, fitSize(image.size(), box));
}

QImage rotate(const QImage& image, int angleHundredths)
{
    if (image.isNull())
        return {};
    switch (angleHundredths) {
    case 9000:
    case -27000:
        return turned(image, 1);
    case 18000:
    case -18000:
        return turned(image, 2);
    case -9000:
    case 27000:
        return turned(image, 3);
    default:
        return {};
    }
}

QImage rotateByCode(const QImage& image, int code)
{
    switch (code) {
    case 0:
        return copy(image);
    case 1:
        return rotate(image, 9000);
    case 2:
        return rotate(image, -9000);
    case 3:
        return rotate(image, 18000);
    default:
        return {};
    }
}

} // namespace Imaging
