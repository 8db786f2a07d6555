// SPDX-License-Identifier: MIT
#include "components/listpicture.h"

#include <QBuffer>
#include <QCache>
#include <QDir>
#include <QHash>
#include <QImageReader>
#include <QColorSpace>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>

Q_LOGGING_CATEGORY(lcSpool, "lumivert.components.spool")

namespace
{

// Qt maps PNG quality 70 to zlib level 2: within 5 % of the default level's size, about twice as fast.
constexpr int PngQuality = 70;
// Decoded pictures kept at once: a screenful of the grid and then some, whatever the list's length.
constexpr int DecodedCacheSize = 64;

std::atomic<qint64> g_memoryPictures{0};
std::atomic<quint64> g_nextId{1};

// Opened unbuffered, so that a failed write (a full disk) is seen at that write and leaves no
// bytes in Qt's buffer to land somewhere later.
class SpoolFile : public QTemporaryFile
{
public:
    using QTemporaryFile::QTemporaryFile;
    bool openUnbuffered() { return open(QIODevice::ReadWrite | QIODevice::Unbuffered); }
};

// One spool file: pictures' bytes at offsets, freed extents reused first-fit. The file's name is
// removed as soon as it is open where the system allows it, so even a crash leaves nothing behind.
class Spool
{
public:
    explicit Spool(QString folder) : m_folder(std::move(folder)) {}

    // The offset the bytes were written at, or -1 when the spool cannot take them.
    qint64 store(const QByteArray& bytes)
    {
        const std::lock_guard lock(m_mutex);
        if (!open())
            return -1;
        const qint64 length = bytes.size();
        qint64 offset = m_end;
        for (auto it = m_free.begin(); it != m_free.end(); ++it) {
            if (it->second >= length) {
                offset = it->first;
                const qint64 rest = it->second - length;
                m_free.erase(it);
                if (rest > 0)
                    m_free.emplace(offset + length, rest);
                break;
            }
        }
        if (!m_file->seek(offset) || m_file->write(bytes) != length) {
            const int code = errno;
            // Said once: a full disk would otherwise say it for every picture that follows.
            if (!m_warned)
                qCWarning(lcSpool) << "cannot write the picture spool, keeping pictures in memory:"
                                   << qt_error_string(code);
            m_warned = true;
            m_file->unsetError();
            freeExtent(offset, length);
            return -1;
        }
        m_end = std::max(m_end, offset + length);
        m_inUse += length;
        return offset;
    }

    bool read(qint64 offset, qint64 length, QByteArray* bytes)
    {
        const std::lock_guard lock(m_mutex);
        if (!m_file || !m_file->seek(offset)) {
            return false;
        }
        *bytes = m_file->read(length);
        if (bytes->size() != length) {
            qCWarning(lcSpool) << "cannot read the picture spool:" << m_file->errorString();
            m_file->unsetError();
            return false;
        }
        return true;
    }

    void release(quint64 id, qint64 offset, qint64 length)
    {
        const std::lock_guard lock(m_mutex);
        m_decoded.remove(id);
        m_inUse -= length;
        freeExtent(offset, length);
        if (m_inUse == 0 && m_file) {
            // Nothing left in it: give the disk space back.
            m_free.clear();
            m_end = 0;
            (void)m_file->resize(0);
        }
    }

    bool cached(quint64 id, QImage* image)
    {
        const std::lock_guard lock(m_mutex);
        const QImage* found = m_decoded.object(id);
        if (found)
            *image = *found;
        return found != nullptr;
    }

    void cache(quint64 id, const QImage& image)
    {
        const std::lock_guard lock(m_mutex);
        m_decoded.insert(id, new QImage(image));
    }

    void count(PictureSpool::Statistics* statistics)
    {
        const std::lock_guard lock(m_mutex);
        statistics->spoolBytes = m_inUse;
        statistics->spoolFileSize = m_end;
    }

    std::atomic<qint64> pictures{0};

private:
    bool open()
    {
        if (m_file)
            return true;
        if (m_failed)
            return false;
        QStringList folders;
        if (!m_folder.isEmpty()) {
            folders << m_folder;
        } else {
            const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
            if (!cache.isEmpty())
                folders << cache + QStringLiteral("/lumivert");
            folders << QDir::tempPath();
        }
        for (const QString& folder : folders) {
            if (!QDir().mkpath(folder))
                continue;
            auto file = std::make_unique<SpoolFile>(folder + QStringLiteral("/pictures-XXXXXX.spool"));
            if (!file->openUnbuffered())
                continue;
#ifndef Q_OS_WIN
            (void)QFile::remove(file->fileName());
#endif
            m_file = std::move(file);
            return true;
        }
        qCWarning(lcSpool) << "no folder takes the picture spool; the list's pictures stay in memory";
        m_failed = true;
        return false;
    }

    // Adds an extent to the free list, merged with its neighbours; a free tail shortens the file.
    void freeExtent(qint64 offset, qint64 length)
    {
        auto next = m_free.lower_bound(offset);
        if (next != m_free.end() && offset + length == next->first) {
            length += next->second;
            next = m_free.erase(next);
        }
        if (next != m_free.begin()) {
            auto previous = std::prev(next);
            if (previous->first + previous->second == offset) {
                offset = previous->first;
                length += previous->second;
                m_free.erase(previous);
            }
        }
        if (offset + length >= m_end)
            m_end = offset;
        else
            m_free.emplace(offset, length);
    }

    std::mutex m_mutex;
    QString m_folder;
    std::unique_ptr<SpoolFile> m_file;
    bool m_failed = false;
    bool m_warned = false;
    qint64 m_end = 0;
    qint64 m_inUse = 0;
    std::map<qint64, qint64> m_free; // offset -> length
    QCache<quint64, QImage> m_decoded{DecodedCacheSize};
};

struct Current {
    std::mutex mutex;
    std::shared_ptr<Spool> spool = std::make_shared<Spool>(QString());
};

Current& current()
{
    static Current instance;
    return instance;
}

std::shared_ptr<Spool> currentSpool()
{
    Current& c = current();
    const std::lock_guard lock(c.mutex);
    return c.spool;
}

// The list's pictures' coding: lossless, and the same bytes for the same pixels.
QByteArray encodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(PngQuality);
    // The pixels are sRGB already (the imaging component converts on load). A photo's own ICC
    // profile would go into an iCCP chunk, and libpng complains about several common cameras'
    // sRGB profiles; the picture goes without one.
    QImage pixels = image;
    if (pixels.colorSpace().isValid())
        pixels.setColorSpace(QColorSpace());
    if (!writer.write(pixels))
        return {};
    return bytes;
}

QImage decodePng(const QByteArray& png, QImage::Format format)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image = reader.read();
    // PNG may hand back another pixel format than was encoded; give back the one the picture had.
    if (!image.isNull() && format != QImage::Format_Invalid && image.format() != format)
        image.convertTo(format);
    return image;
}

} // namespace

struct ListPicture::Stored {
    QSize size;
    QImage::Format format = QImage::Format_Invalid;
    quint64 id = g_nextId.fetch_add(1);
    qint64 length = 0;
    size_t hash = 0;
    std::shared_ptr<Spool> spool; // set when the bytes are in a spool file, at offset
    qint64 offset = -1;
    QByteArray bytes;       // otherwise here
    bool ownCoding = false; // coded here from pixels, so equal pixels have equal bytes

    Stored() = default;
    Stored(const Stored&) = delete;
    Stored& operator=(const Stored&) = delete;
    ~Stored()
    {
        if (spool) {
            spool->release(id, offset, length);
            --spool->pictures;
        } else {
            --g_memoryPictures;
        }
    }

    QByteArray png() const
    {
        if (!spool)
            return bytes;
        QByteArray read;
        if (!spool->read(offset, length, &read))
            return {};
        return read;
    }
};

namespace
{

std::shared_ptr<const ListPicture::Stored> storePng(const QByteArray& png, QSize size, QImage::Format format,
                                                    bool ownCoding)
{
    auto stored = std::make_shared<ListPicture::Stored>();
    stored->ownCoding = ownCoding;
    stored->size = size;
    stored->format = format;
    stored->length = png.size();
    stored->hash = qHash(png);
    std::shared_ptr<Spool> spool = currentSpool();
    const qint64 offset = spool->store(png);
    if (offset >= 0) {
        stored->spool = std::move(spool);
        stored->offset = offset;
        ++stored->spool->pictures;
    } else {
        // A deep copy: png may be a view into a caller's buffer.
        stored->bytes = QByteArray(png.constData(), png.size());
        ++g_memoryPictures;
    }
    return stored;
}

} // namespace

ListPicture::ListPicture(const QImage& image)
{
    if (image.isNull())
        return;
    const QByteArray png = encodePng(image);
    if (png.isEmpty()) {
        qCWarning(lcSpool) << "cannot encode a list picture of" << image.size() << "in format" << image.format();
        return;
    }
    m_stored = storePng(png, image.size(), image.format(), true);
}

ListPicture ListPicture::fromPng(const QByteArray& png, QSize size, QImage::Format format)
{
    ListPicture picture;
    if (!png.isEmpty() && size.isValid())
        picture.m_stored = storePng(png, size, format, false);
    return picture;
}

QSize ListPicture::size() const
{
    return m_stored ? m_stored->size : QSize(0, 0); // as a null QImage
}

QImage::Format ListPicture::format() const
{
    return m_stored ? m_stored->format : QImage::Format_Invalid;
}

QByteArray ListPicture::png() const
{
    return m_stored ? m_stored->png() : QByteArray();
}

QImage ListPicture::toImage() const
{
    if (!m_stored)
        return {};
    const Stored& s = *m_stored;
    QImage image;
    if (s.spool && s.spool->cached(s.id, &image))
        return image;
    image = decodePng(s.png(), s.format);
    if (image.isNull()) {
        qCWarning(lcSpool) << "a list picture cannot be read back";
        return image;
    }
    if (s.spool)
        s.spool->cache(s.id, image);
    return image;
}

bool ListPicture::operator==(const ListPicture& other) const
{
    if (m_stored == other.m_stored)
        return true;
    if (!m_stored || !other.m_stored)
        return false;
    const Stored& a = *m_stored;
    const Stored& b = *other.m_stored;
    if (a.size != b.size || a.format != b.format)
        return false;
    // One encoder makes equal bytes of equal pixels; bytes from elsewhere (an older list file)
    // may differ for the same pixels, so only equal bytes settle it without decoding.
    if (a.length == b.length && a.hash == b.hash && a.png() == b.png())
        return true;
    if (a.ownCoding && b.ownCoding)
        return false;
    return toImage() == other.toImage();
}

namespace PictureSpool
{

void setFolder(const QString& folder)
{
    Current& c = current();
    const std::lock_guard lock(c.mutex);
    c.spool = std::make_shared<Spool>(folder);
}

Statistics statistics()
{
    Statistics s;
    const std::shared_ptr<Spool> spool = currentSpool();
    s.spooledPictures = spool->pictures;
    s.memoryPictures = g_memoryPictures;
    spool->count(&s);
    return s;
}

} // namespace PictureSpool
