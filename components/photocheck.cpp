// SPDX-License-Identifier: MIT
#include "components/photocheck.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "components/imaging.h"
#include "components/imaging_internal.h"

namespace PhotoCheck
{

namespace
{

constexpr uchar kMarker = 0xFF;
constexpr uchar kSoi = 0xD8;
constexpr uchar kEoi = 0xD9;
constexpr uchar kSos = 0xDA;

bool isRestart(uchar m)
{
    return m >= 0xD0 && m <= 0xD7;
}

bool startsLikeJpeg(const uchar* p, qint64 size)
{
    return size >= 3 && p[0] == kMarker && p[1] == kSoi && p[2] == kMarker;
}

// Walks the markers from the start of image to its end: segments are skipped by their length,
// coded data (after each start of scan) up to the next marker that is neither a stuffed 0xFF nor
// a restart marker. Stray bytes between markers are passed over, as libjpeg does with a warning.
JpegEnd walk(const uchar* p, qint64 size)
{
    if (!startsLikeJpeg(p, size))
        return JpegEnd::NotJpeg;
    qint64 at = 2;
    for (;;) {
        const void* found = std::memchr(p + at, kMarker, size_t(size - at));
        if (!found)
            return JpegEnd::CutShort;
        at = static_cast<const uchar*>(found) - p;
        while (at < size && p[at] == kMarker) // fill bytes
            ++at;
        if (at >= size)
            return JpegEnd::CutShort;
        const uchar m = p[at++];
        if (m == kEoi)
            return JpegEnd::Complete;
        if (m == 0x00 || m == 0x01 || isRestart(m))
            continue;
        if (at + 2 > size)
            return JpegEnd::CutShort;
        const int length = p[at] << 8 | p[at + 1];
        if (length < 2)
            return JpegEnd::Broken;
        if (at + length > size)
            return JpegEnd::CutShort;
        at += length;
        if (m != kSos)
            continue;
        // Coded data: the next marker that ends it.
        for (;;) {
            const void* ff = std::memchr(p + at, kMarker, size_t(size - at));
            if (!ff)
                return JpegEnd::CutShort;
            at = static_cast<const uchar*>(ff) - p;
            if (at + 1 >= size)
                return JpegEnd::CutShort;
            const uchar next = p[at + 1];
            if (next == 0x00 || isRestart(next)) {
                at += 2;
                continue;
            }
            if (next == kMarker) {
                ++at;
                continue;
            }
            break; // a real marker: the outer loop reads it
        }
    }
}

// A file's bytes, mapped when possible (no copy of a large photo).
struct Mapped {
    QFile file;
    const uchar* data = nullptr;
    qint64 size = 0;
    QByteArray copy;
    explicit Mapped(const QString& path) : file(path)
    {
        if (!file.open(QIODevice::ReadOnly))
            return;
        size = file.size();
        data = size > 0 ? file.map(0, size) : nullptr;
        if (!data && size > 0) {
            copy = file.readAll();
            data = reinterpret_cast<const uchar*>(copy.constData());
            size = copy.size();
        }
    }
};

} // namespace

JpegEnd jpegEnd(const QByteArray& bytes)
{
    return walk(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
}

bool cutShort(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 size = bytes.size();
    // Nearly every whole JPEG ends in its end-of-image marker; only those that do not (cut
    // short, or with data after the marker) are walked through.
    if (size >= 4 && p[size - 2] == kMarker && p[size - 1] == kEoi)
        return false;
    const JpegEnd end = walk(p, size);
    return end == JpegEnd::CutShort || end == JpegEnd::Broken;
}

QString osErrorText(int errnoValue)
{
    // strerror follows LC_MESSAGES, which the application sets from the environment; the tool's
    // messages are English and the window translates the English text, so ask for the C locale.
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QString text = QString::fromLocal8Bit(c ? strerror_l(errnoValue, c) : std::strerror(errnoValue));
    if (c)
        freelocale(c);
    return text;
}

Finding checkDecoded(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 4)
        return {};
    // Nearly every whole JPEG ends in its end-of-image marker; only those that do not (cut
    // short, or with data after the marker) are walked through.
    uchar tail[2] = {};
    if (file.seek(file.size() - 2) && file.read(reinterpret_cast<char*>(tail), 2) == 2 && tail[0] == kMarker &&
        tail[1] == kEoi)
        return {};
    file.close();
    const Mapped bytes(path);
    if (const QByteArray all = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data), bytes.size);
        Imaging::Internal::isHeif(all))
        return Imaging::Internal::heifCutShort(all) ? Finding{Problem::Damaged, {}} : Finding{};
    switch (walk(bytes.data, bytes.size)) {
    case JpegEnd::CutShort:
    case JpegEnd::Broken:
        return {Problem::Damaged, {}};
    default:
        return {};
    }
}

Finding diagnose(const QString& path)
{
    // Opened directly to learn the system's reason (errno) when it refuses.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {Problem::CannotOpen, osErrorText(errno)};
    struct stat info {
    };
    const bool statOk = ::fstat(fd, &info) == 0;
    ::close(fd);
    if (statOk && S_ISDIR(info.st_mode))
        return {Problem::CannotOpen, osErrorText(EISDIR)};
    if (statOk && info.st_size == 0)
        return {Problem::Empty, {}};

    const Mapped bytes(path);
    if (!bytes.data)
        return {Problem::Empty, {}};
    if (const QByteArray all = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data), bytes.size);
        Imaging::Internal::isHeif(all)) {
        switch (Imaging::Internal::heifFault(all)) {
        case Imaging::Internal::HeifFault::NotAPhoto:
            return {Problem::NotJpeg, {}};
        case Imaging::Internal::HeifFault::TooLarge:
            return {Problem::TooLarge, {}};
        default: // it did not decode: damaged, whatever libheif makes of it now
            return {Problem::Damaged, {}};
        }
    }
    switch (walk(bytes.data, bytes.size)) {
    case JpegEnd::CutShort:
    case JpegEnd::Broken:
        return {Problem::Damaged, {}};
    case JpegEnd::Complete: {
        const QSize size = Imaging::imageSize(path);
        if (size.isValid() && qint64(size.width()) * size.height() > Imaging::Internal::kMaxPixels)
            return {Problem::TooLarge, {}};
        return {Problem::Damaged, {}};
    }
    case JpegEnd::NotJpeg:
        break;
    }
    // Another image format that Qt knows but could not decode is damaged; anything else is not
    // a photo at all.
    const QByteArray head(reinterpret_cast<const char*>(bytes.data), int(qMin<qint64>(bytes.size, 64)));
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    return {QImageReader::imageFormat(&buffer).isEmpty() ? Problem::NotJpeg : Problem::Damaged, {}};
}

QString describe(const Finding& finding)
{
    switch (finding.problem) {
    case Problem::None:
        return {};
    case Problem::CannotOpen: {
        QString reason = finding.osReason;
        if (!reason.isEmpty())
            reason[0] = reason[0].toLower();
        return QStringLiteral("cannot be opened: %1").arg(reason);
    }
    case Problem::Empty:
        return QStringLiteral("the file is empty");
    case Problem::NotJpeg:
        return QStringLiteral("not a photo this program can read");
    case Problem::Damaged:
        return QStringLiteral("the file is damaged or cut short");
    case Problem::TooLarge:
        return QStringLiteral("the picture is too large to read");
    }
    return {};
}

} // namespace PhotoCheck
