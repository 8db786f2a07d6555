// SPDX-License-Identifier: MIT
#include "components/sheetfile.h"
#include "components/workerpool.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFileDevice>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <atomic>
#include <vector>

#include "components/wholefile.h"

// File layout, all integers big-endian:
//   magic "LMVSHEET" (8 bytes) | version (quint32) | payload length (quint64) | SHA-256 of payload (32 bytes)
//   payload (QDataStream Qt_6_4):
//     width count (quint32), widths (qint32 each, twips)
//     row count (quint32), then per row:
//       image    picture record: pixel format (qint32), then a blob of PNG bytes (empty: no picture)
//       picture  picture record; format SameAsImage (-1) with an empty blob: the very image of column 1
//       path, file name, model, date, Tv, Av  (UTF-8 blobs)
//       rotation (qint32, 0..3)
//       caption  (UTF-8 blob)
//   A blob is a quint32 byte count followed by the bytes.
// Nothing is taken from a file before the whole of it has been checked, pictures decoded
// included, so a refused file never changes the caller's list.

namespace
{

constexpr char Magic[8] = {'L', 'M', 'V', 'S', 'H', 'E', 'E', 'T'};
constexpr quint32 Version = 1;
constexpr int HashSize = 32;
constexpr qint64 HeaderSize = sizeof(Magic) + 4 + 8 + HashSize;
constexpr qint64 MaxFileSize = qint64(1) << 30; // far above 999 rows of two thumbnails each
constexpr quint32 MaxRows = 100000;
constexpr quint32 MaxWidths = 64;
constexpr qint32 MaxWidthTwips = 1000000;
constexpr quint32 MaxTextBytes = 1u << 20;
constexpr quint32 MaxPictureBytes = 16u << 20;
constexpr int MaxPictureSide = 8192;
constexpr qint32 SameAsImage = -1;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// A picture as stored: its format code and its PNG bytes, checked only once the whole payload
// has been read, then taken as they are.
struct StoredPicture {
    qint32 format = QImage::Format_Invalid;
    QByteArray png;
    ListPicture picture;
    bool ok = true;
};

void decodePicture(StoredPicture& p, SheetFile::Pictures mode)
{
    if (p.png.isEmpty())
        return;
    QBuffer buffer;
    buffer.setData(p.png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxPictureSide || size.height() > MaxPictureSide) {
        p.ok = false;
        return;
    }
    if (mode == SheetFile::Pictures::Checked)
        return;
    // Decoded once to know the bytes are sound; the list keeps the bytes, not the pixels.
    const QImage image = reader.read();
    if (image.isNull() || image.size() != size) {
        p.ok = false;
        return;
    }
    const auto format = p.format != QImage::Format_Invalid ? QImage::Format(p.format) : image.format();
    p.picture = ListPicture::fromPng(p.png, size, format);
}

void writeBlob(QDataStream& out, const QByteArray& bytes)
{
    out << quint32(bytes.size());
    out.writeRawData(bytes.constData(), int(bytes.size()));
}

/// Reads the payload; every read is checked against the stream's status and the bounds.
class PayloadReader
{
public:
    explicit PayloadReader(const QByteArray& payload)
        : m_data(payload.constData()), m_size(payload.size()), m_in(payload)
    {
        m_in.setVersion(StreamVersion);
        m_in.setByteOrder(QDataStream::BigEndian);
    }

    bool ok() const { return m_ok && m_in.status() == QDataStream::Ok; }
    bool atEnd() const { return m_in.atEnd(); }
    QString error() const { return m_error; }

    quint32 count(quint32 max, const char* what)
    {
        quint32 value = 0;
        m_in >> value;
        if (m_in.status() != QDataStream::Ok || value > max)
            fail(QStringLiteral("bad %1").arg(QLatin1String(what)));
        return ok() ? value : 0;
    }

    qint32 integer(qint32 min, qint32 max, const char* what)
    {
        qint32 value = 0;
        m_in >> value;
        if (m_in.status() != QDataStream::Ok || value < min || value > max)
            fail(QStringLiteral("bad %1").arg(QLatin1String(what)));
        return ok() ? value : 0;
    }

    QByteArray blob(quint32 max, const char* what)
    {
        const quint32 size = count(max, what);
        if (!ok())
            return {};
        if (qint64(size) > m_size - m_in.device()->pos()) {
            fail(QStringLiteral("truncated %1").arg(QLatin1String(what)));
            return {};
        }
        // A view into the payload, not a copy: the payload outlives every blob taken from it.
        const QByteArray bytes = QByteArray::fromRawData(m_data + m_in.device()->pos(), qsizetype(size));
        if (m_in.skipRawData(int(size)) != int(size))
            fail(QStringLiteral("truncated %1").arg(QLatin1String(what)));
        return bytes;
    }

    QString text(const char* what)
    {
        const QByteArray bytes = blob(MaxTextBytes, what);
        return ok() ? QString::fromUtf8(bytes) : QString();
    }

    StoredPicture picture(bool mayBeSameAsImage, const char* what)
    {
        StoredPicture p;
        p.format = integer(mayBeSameAsImage ? SameAsImage : 0, QImage::NImageFormats - 1, what);
        p.png = blob(MaxPictureBytes, what);
        if (ok() && p.format == SameAsImage && !p.png.isEmpty())
            fail(QStringLiteral("bad %1").arg(QLatin1String(what)));
        return p;
    }

    void fail(const QString& why)
    {
        if (m_ok)
            m_error = why;
        m_ok = false;
    }

private:
    const char* m_data;
    qint64 m_size;
    QDataStream m_in;
    bool m_ok = true;
    QString m_error;
};

} // namespace

namespace SheetFile
{

namespace
{

// One row's pictures as PNG bytes, read from the pictures' spool on several threads.
struct EncodedRow {
    QByteArray image;
    QByteArray picture;
    bool sameAsImage = false;
    bool ok = true;
};

EncodedRow encodeRow(const PhotoRow& row)
{
    EncodedRow e;
    if (!row.image.isNull())
        e.image = row.image.png();
    e.sameAsImage = !row.image.isNull() && row.picture == row.image;
    if (!e.sameAsImage && !row.picture.isNull())
        e.picture = row.picture.png();
    e.ok =
        (row.image.isNull() || !e.image.isEmpty()) && (e.sameAsImage || row.picture.isNull() || !e.picture.isEmpty());
    return e;
}

void setUpPayloadStream(QDataStream& out)
{
    out.setVersion(StreamVersion);
    out.setByteOrder(QDataStream::BigEndian);
}

// Writes the whole file to a seekable device: a blank header first, the payload in chunks of a few
// rows (so only those rows' PNG bytes are held at once, whatever the list's length), then the
// header with the payload's length and checksum over the blank. False when a picture cannot be
// encoded or the device refuses a write.
bool writeSheet(QIODevice& device, const Sheet& sheet)
{
    const qint64 start = device.pos();
    if (device.write(QByteArray(HeaderSize, '\0')) != HeaderSize)
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    quint64 length = 0;
    const auto put = [&](const QByteArray& bytes) {
        hash.addData(bytes);
        length += quint64(bytes.size());
        return device.write(bytes) == bytes.size();
    };

    QByteArray chunk;
    {
        QDataStream out(&chunk, QIODevice::WriteOnly);
        setUpPayloadStream(out);
        out << quint32(sheet.columnWidths.size());
        for (int width : sheet.columnWidths)
            out << qint32(width);
        out << quint32(sheet.rows.size());
    }
    if (!put(chunk))
        return false;

    const qsizetype rowCount = sheet.rows.size();
    const qsizetype chunkRows = 8 * qsizetype(WorkerPool::coreCount());
    std::vector<EncodedRow> encoded;
    for (qsizetype first = 0; first < rowCount; first += chunkRows) {
        const qsizetype count = std::min(chunkRows, rowCount - first);
        encoded.assign(size_t(count), {});
        WorkerPool::forEach(size_t(count),
                            [&](std::size_t k) { encoded[k] = encodeRow(sheet.rows.at(first + qsizetype(k))); });
        chunk = QByteArray();
        {
            QDataStream out(&chunk, QIODevice::WriteOnly);
            setUpPayloadStream(out);
            for (qsizetype k = 0; k < count; ++k) {
                const PhotoRow& row = sheet.rows.at(first + k);
                const EncodedRow& e = encoded.at(size_t(k));
                if (!e.ok)
                    return false;
                out << qint32(e.image.isEmpty() ? QImage::Format_Invalid : row.image.format());
                writeBlob(out, e.image);
                out << qint32(e.sameAsImage ? SameAsImage
                                            : (e.picture.isEmpty() ? QImage::Format_Invalid : row.picture.format()));
                writeBlob(out, e.picture);
                for (const QString* text : {&row.pathName, &row.fileName, &row.model, &row.dateTime, &row.tv, &row.av})
                    writeBlob(out, text->toUtf8());
                out << qint32(row.rotation);
                writeBlob(out, row.caption.toUtf8());
            }
        }
        if (!put(chunk))
            return false;
    }

    QByteArray header;
    {
        QDataStream out(&header, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::BigEndian);
        out.writeRawData(Magic, sizeof(Magic));
        out << Version << length;
        const QByteArray digest = hash.result();
        out.writeRawData(digest.constData(), int(digest.size()));
    }
    const qint64 end = device.pos();
    return device.seek(start) && device.write(header) == header.size() && device.seek(end);
}

} // namespace

QByteArray encode(const Sheet& sheet)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    if (!writeSheet(buffer, sheet))
        return {};
    buffer.close();
    return bytes;
}

std::optional<Sheet> decode(const QByteArray& bytes, QString* error, Pictures mode)
{
    if (bytes.size() < HeaderSize || !bytes.startsWith(QByteArray::fromRawData(Magic, sizeof(Magic)))) {
        setError(error, QStringLiteral("not a photo list file"));
        return std::nullopt;
    }
    quint32 version = 0;
    quint64 length = 0;
    {
        QDataStream in(bytes.mid(sizeof(Magic), 12));
        in.setByteOrder(QDataStream::BigEndian);
        in >> version >> length;
    }
    if (version == 0 || version > Version) {
        setError(error, QStringLiteral("photo list file version %1 is not supported").arg(version));
        return std::nullopt;
    }
    if (length != quint64(bytes.size() - HeaderSize)) {
        setError(error, QStringLiteral("photo list file is truncated or has trailing data"));
        return std::nullopt;
    }
    // A view of the payload inside bytes, which outlives everything read from it below.
    const QByteArray payload = QByteArray::fromRawData(bytes.constData() + HeaderSize, bytes.size() - HeaderSize);
    if (QCryptographicHash::hash(payload, QCryptographicHash::Sha256) != bytes.mid(HeaderSize - HashSize, HashSize)) {
        setError(error, QStringLiteral("photo list file is damaged (checksum)"));
        return std::nullopt;
    }

    PayloadReader in(payload);
    Sheet sheet;
    const quint32 widthCount = in.count(MaxWidths, "width count");
    for (quint32 i = 0; in.ok() && i < widthCount; ++i)
        sheet.columnWidths << in.integer(0, MaxWidthTwips, "column width");
    const quint32 rowCount = in.count(MaxRows, "row count");
    QList<StoredPicture> pictures;
    for (quint32 i = 0; in.ok() && i < rowCount; ++i) {
        PhotoRow row;
        pictures << in.picture(false, "image");
        pictures << in.picture(true, "picture");
        row.pathName = in.text("path");
        row.fileName = in.text("file name");
        row.model = in.text("model");
        row.dateTime = in.text("date");
        row.tv = in.text("Tv");
        row.av = in.text("Av");
        row.rotation = in.integer(0, 3, "rotation");
        row.caption = in.text("caption");
        sheet.rows.push_back(std::move(row));
    }
    if (in.ok() && !in.atEnd())
        in.fail(QStringLiteral("unexpected data at the end"));
    if (!in.ok()) {
        setError(error, QStringLiteral("photo list file is damaged: %1").arg(in.error()));
        return std::nullopt;
    }

    std::atomic<bool> decoded = true;
    WorkerPool::forEach(size_t(pictures.size()), [&](std::size_t i) {
        StoredPicture& p = pictures[qsizetype(i)];
        decodePicture(p, mode);
        if (!p.ok)
            decoded = false;
    });
    if (!decoded) {
        setError(error, QStringLiteral("photo list file is damaged: a picture cannot be decoded"));
        return std::nullopt;
    }
    for (qsizetype i = 0; i < sheet.rows.size(); ++i) {
        PhotoRow& row = sheet.rows[i];
        row.image = pictures.at(2 * i).picture;
        row.picture = pictures.at(2 * i + 1).format == SameAsImage ? row.image : pictures.at(2 * i + 1).picture;
    }
    return sheet;
}

bool save(const QString& path, const Sheet& sheet, QString* error)
{
    // Streamed: the file is never held in memory whole (the list's pictures live in spool files).
    bool pictureMissing = false;
    const QString reason = WholeFile::write(path, [&](QIODevice& device) {
        if (writeSheet(device, sheet))
            return true;
        const auto* file = qobject_cast<QFileDevice*>(&device);
        pictureMissing = file && file->error() == QFileDevice::NoError;
        return false;
    });
    if (reason.isEmpty())
        return true;
    setError(error, pictureMissing ? QStringLiteral("a picture of the list cannot be read") : reason);
    return false;
}

std::optional<Sheet> load(const QString& path, QString* error, Pictures mode)
{
    if (QFileInfo(path).size() > MaxFileSize) {
        setError(error, QStringLiteral("photo list file is too large"));
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = WholeFile::read(path, error);
    if (!bytes)
        return std::nullopt;
    return decode(*bytes, error, mode);
}

} // namespace SheetFile
