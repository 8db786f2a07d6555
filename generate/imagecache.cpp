// SPDX-License-Identifier: MIT
#include "generate/imagecache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "components/imaging.h"
#include "components/wholefile.h"
#include "components/workerpool.h"
#include "generate/albumimages.h"

Q_LOGGING_CATEGORY(lcImageCache, "lumivert.generate.cache")

namespace
{

// Raise it whenever a change to the imaging code or the image steps changes an album image's
// bytes: records of another value are ignored. Qt's version goes in too (its JPEG writer).
// 2: with second images for high-density screens the design's images come from the larger decode.
// 3: that decode reads a progressive photo at 1/4 scale only to its first pass of scans.
constexpr int ImageCodeVersion = 3;
constexpr qint64 HashedEnd = 64 * 1024; // bytes hashed at each end of a file
constexpr int MaxRecords = 64;          // records of album folders kept in the cache folder
constexpr qint64 MaxRecordSize = 16 * 1024 * 1024;
const QByteArray RecordMagic = QByteArrayLiteral("LumivertAlbumImages\n");
constexpr quint32 RecordFormat = 1;

QByteArray digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256);
}

std::filesystem::path fsPath(const QString& path)
{
    return QFileInfo(path).filesystemAbsoluteFilePath();
}

bool statFile(const QString& path, qint64& size, qint64& modified)
{
    std::error_code error;
    const auto p = fsPath(path);
    const auto status = std::filesystem::status(p, error);
    if (error || !std::filesystem::is_regular_file(status))
        return false;
    const auto bytes = std::filesystem::file_size(p, error);
    if (error)
        return false;
    const auto time = std::filesystem::last_write_time(p, error);
    if (error)
        return false;
    size = qint64(bytes);
    modified = qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
    return true;
}

QDataStream& operator<<(QDataStream& out, const ImageCache::Stamp& s)
{
    return out << s.size << s.modified << s.hash;
}
QDataStream& operator>>(QDataStream& in, ImageCache::Stamp& s)
{
    return in >> s.size >> s.modified >> s.hash;
}

} // namespace

ImageCache::Stamp ImageCache::stamp(const QString& path)
{
    PhotoFile file(path);
    return file.stamp();
}

bool ImageCache::unchanged(const Stamp& stamp, const QString& path)
{
    qint64 size = 0;
    qint64 modified = 0;
    return stamp.valid() && statFile(path, size, modified) && size == stamp.size && modified == stamp.modified;
}

ImageCache::PhotoFile::PhotoFile(const QString& path) : m_file(path)
{
    // Stated before it is read: a file changed meanwhile no longer matches its stamp.
    m_statted = statFile(path, m_size, m_modified);
    if (!m_file.open(QIODevice::ReadOnly))
        m_statted = false;
}

const QByteArray& ImageCache::PhotoFile::bytes()
{
    if (!m_read && m_file.isOpen())
        m_bytes = Imaging::readAll(m_file);
    m_read = true;
    return m_bytes;
}

QSize ImageCache::PhotoFile::headerSize()
{
    QBuffer buffer;
    QIODevice* device = &m_file;
    if (m_read) {
        buffer.setData(m_bytes);
        device = &buffer;
        buffer.open(QIODevice::ReadOnly);
    } else if (!m_file.isOpen() || !m_file.seek(0)) {
        return {};
    }
    QImageReader reader(device);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    return size.isValid() && !size.isEmpty() ? size : QSize();
}

ImageCache::Stamp ImageCache::PhotoFile::stamp()
{
    Stamp s;
    if (!m_statted)
        return s;
    const qint64 tailFrom = std::max(HashedEnd, m_size - HashedEnd);
    QByteArray head;
    QByteArray tail;
    if (m_read) { // the bytes a decode holds anyway
        if (m_bytes.size() != m_size)
            return s;
        head = m_bytes.left(HashedEnd);
        if (m_size > HashedEnd)
            tail = m_bytes.sliced(tailFrom);
    } else {
        if (!m_file.seek(0))
            return s;
        head = m_file.read(HashedEnd);
        if (m_size > HashedEnd && (!m_file.seek(tailFrom) || (tail = m_file.read(m_size - tailFrom)).isNull()))
            return s;
        if (m_file.error() != QFileDevice::NoError)
            return s;
    }
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    hash.addData(head);
    hash.addData(tail);
    s.size = m_size;
    s.modified = m_modified;
    s.hash = hash.result();
    return s;
}

ImageCache::ImageCache(const QString& albumFolder, const AlbumOptions& options)
    : m_album(albumFolder), m_canonicalAlbum(QFileInfo(albumFolder).canonicalFilePath()), m_options(options)
{
    m_version = QStringLiteral("Lumivert %1.%2.%3; album images %4; Qt %5")
                    .arg(LUMIVERT_VERSION_MAJOR)
                    .arg(LUMIVERT_VERSION_MINOR)
                    .arg(LUMIVERT_VERSION_PATCH)
                    .arg(ImageCodeVersion)
                    .arg(QString::fromLatin1(qVersion()));
    QDir working(QDir(m_album).filePath(QString::fromLatin1(WorkingFolder)));
    if (working.exists())
        working.removeRecursively();
}

QByteArray ImageCache::recipe(const AlbumPhoto& photo, const AlbumPhotoImage& image, qint64 sourceSize,
                              qint64 sourceModified) const
{
    // Everything an album image's bytes follow from, but the photo's content (checked apart, when
    // the photo is read). The index image is made from the page image, so both boxes go into both
    // recipes.
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << m_version << qint32(image.kind) << QFileInfo(photo.path).absoluteFilePath() << sourceSize << sourceModified
        << qint32(photo.rotation) << m_options.indexBox() << m_options.pageBox() << qint32(m_options.jpegQuality())
        << qint32(image.saveKind) << m_options.highDensity;
    return digest(bytes);
}

QByteArray ImageCache::coverRecipe(const QString& sourceName, const Stamp& source) const
{
    // A cover image follows from its page image (known by its stamp), the effect and the JPEG
    // settings.
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << m_version << QStringLiteral("cover") << sourceName << source << qint32(m_options.coverEffect)
        << qint32(m_options.jpegQuality()) << m_options.progressive;
    return digest(bytes);
}

QStringList ImageCache::keptCovers(const QStringList& inPlace) const
{
    QStringList kept;
    const QDir album(m_album);
    for (const bool second : {false, true}) {
        const QString source = AlbumImages::coverSource(m_options.coverNumber, second);
        const QString name = AlbumImages::coverName(second);
        if ((second && !m_options.highDensity) || !inPlace.contains(source))
            continue;
        // A page image kept in place was checked against its old entry's stamp by decide().
        const auto named = [this](const QString& fileName) {
            return std::find_if(m_old.begin(), m_old.end(), [&](const Entry& e) { return e.fileName == fileName; });
        };
        const auto old = named(name);
        const auto page = named(source);
        if (old != m_old.end() && page != m_old.end() && old->recipe == coverRecipe(source, page->image) &&
            stamp(album.filePath(name)) == old->image)
            kept << name;
    }
    return kept;
}

QString ImageCache::recordPath(const QString& albumFolder)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    QString canonical = QFileInfo(albumFolder).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QFileInfo(albumFolder).absoluteFilePath();
    return cache + QStringLiteral("/lumivert/albums/") +
           QString::fromLatin1(digest(canonical.toUtf8()).left(16).toHex()) + QStringLiteral(".images");
}

bool ImageCache::readRecord(std::vector<Entry>& entries) const
{
    const QString path = recordPath(m_album);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).size() > MaxRecordSize) {
        qCInfo(lcImageCache) << "record too large, ignored:" << path;
        return false;
    }
    const std::optional<QByteArray> read = WholeFile::read(path);
    if (!read)
        return false;
    const QByteArray& bytes = *read;
    // Magic, format, payload, then the payload's hash: anything else is not ours or is damaged.
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    QByteArray magic;
    quint32 format = 0;
    QByteArray payload;
    QByteArray check;
    in >> magic >> format >> payload >> check;
    if (in.status() != QDataStream::Ok || !in.atEnd() || magic != RecordMagic || format != RecordFormat ||
        check != digest(payload)) {
        qCInfo(lcImageCache) << "damaged or foreign record, ignored:" << path;
        return false;
    }
    QDataStream body(payload);
    body.setVersion(QDataStream::Qt_6_4);
    QString version;
    QString album;
    quint32 count = 0;
    body >> version >> album >> count;
    if (body.status() != QDataStream::Ok || version != m_version || album != m_canonicalAlbum ||
        count > quint32(2 * AlbumPhotoImage::KindCount * MaxPhotos)) {
        qCInfo(lcImageCache) << "record of another album or version, ignored:" << path;
        return false;
    }
    entries.resize(count);
    for (Entry& e : entries)
        body >> e.fileName >> e.image >> e.recipe >> e.sourceHash;
    if (body.status() != QDataStream::Ok || !body.atEnd()) {
        entries.clear();
        return false;
    }
    return true;
}

void ImageCache::writeRecord(const std::vector<Entry>& entries) const
{
    const QString path = recordPath(m_album);
    if (path.isEmpty() || entries.empty())
        return;
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        return;
    QByteArray payload;
    {
        QDataStream body(&payload, QIODevice::WriteOnly);
        body.setVersion(QDataStream::Qt_6_4);
        body << m_version << m_canonicalAlbum << quint32(entries.size());
        for (const Entry& e : entries)
            body << e.fileName << e.image << e.recipe << e.sourceHash;
    }
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        out << RecordMagic << RecordFormat << payload << digest(payload);
    }
    if (const QString reason = WholeFile::write(path, bytes); !reason.isEmpty()) {
        qCInfo(lcImageCache) << "record not written:" << path << reason;
        return;
    }
    // One record per album folder; the least recently written go beyond MaxRecords.
    QFileInfoList records =
        QDir(folder).entryInfoList({QStringLiteral("*.images")}, QDir::Files, QDir::Time); // newest first
    for (qsizetype k = MaxRecords; k < records.size(); ++k)
        QFile::remove(records.at(k).filePath());
}

void ImageCache::decide(std::vector<AlbumPhoto>& photos)
{
    std::vector<Entry> old;
    if (!readRecord(old))
        old.clear();
    // The record describes the album as it is now; from here on the album changes, and finish()
    // writes the new one.
    if (const QString path = recordPath(m_album); !path.isEmpty())
        QFile::remove(path);
    if (old.empty())
        return;
    const std::vector<Match> matches = findMatches(old, photos);
    // The old images that may be kept are read (on every core) to check that they are unchanged.
    std::vector<char> wanted(old.size(), 0);
    for (const Match& match : matches)
        for (int k : match.entries)
            wanted[size_t(k)] = 1;
    std::vector<char> intact(old.size(), 0);
    const QDir album(m_album);
    WorkerPool::forEach(old.size(), [&](size_t k) {
        if (wanted[k])
            intact[k] = stamp(album.filePath(old[k].fileName)) == old[k].image;
    });
    // Each image keeps an old file of its recipe that no earlier image keeps, else shares one.
    std::vector<int> uses(old.size(), 0);
    for (const Match& match : matches) {
        int pick = -1;
        for (int k : match.entries) {
            if (!intact[size_t(k)])
                continue;
            pick = k;
            if (uses[size_t(k)] == 0)
                break;
        }
        if (pick < 0)
            continue;
        ++uses[size_t(pick)];
        const Entry& e = old[size_t(pick)];
        match.image->keep = AlbumPhotoImage::Keep{pick, false, e.sourceHash, e.image};
    }
    m_old = std::move(old);
}

std::vector<ImageCache::Match> ImageCache::findMatches(const std::vector<Entry>& old,
                                                       std::vector<AlbumPhoto>& photos) const
{
    std::multimap<QByteArray, int> byRecipe;
    for (int k = 0; k < int(old.size()); ++k)
        byRecipe.emplace(old[size_t(k)].recipe, k);
    // Old images whose recipe matches a photo's path, size and time, and which are still in the
    // album with their size and time. Only photos are stated here, none is opened.
    const QDir album(m_album);
    std::vector<signed char> present(old.size(), -1);
    const auto isPresent = [&](int k) {
        if (present[size_t(k)] < 0) {
            const QString& name = old[size_t(k)].fileName;
            present[size_t(k)] = !name.contains(QLatin1Char('/')) && !name.startsWith(QLatin1Char('.')) &&
                                 unchanged(old[size_t(k)].image, album.filePath(name));
        }
        return present[size_t(k)] > 0;
    };
    std::vector<Match> matches;
    for (AlbumPhoto& photo : photos) {
        qint64 size = 0;
        qint64 modified = 0;
        if (!statFile(photo.path, size, modified))
            continue;
        for (AlbumPhotoImage& image : photo.images) {
            Match match{&image, {}};
            const auto [from, to] = byRecipe.equal_range(recipe(photo, image, size, modified));
            for (auto it = from; it != to; ++it)
                if (isPresent(it->second))
                    match.entries.push_back(it->second);
            if (!match.entries.empty())
                matches.push_back(std::move(match));
        }
    }
    return matches;
}

QStringList ImageCache::putKeptAside(std::vector<AlbumPhoto>& photos)
{
    // Per old image, the images that keep it.
    std::vector<std::vector<AlbumPhotoImage*>> keepers(m_old.size());
    for (AlbumPhoto& photo : photos)
        for (AlbumPhotoImage& image : photo.images)
            if (image.keep.entry >= 0)
                keepers[size_t(image.keep.entry)].push_back(&image);
    const QDir album(m_album);
    QStringList inPlace;
    for (size_t k = 0; k < m_old.size(); ++k) {
        if (keepers[k].empty())
            continue;
        const QString oldName = m_old[k].fileName;
        const QString oldPath = album.filePath(oldName);
        // The image of the old file's own name keeps it where it is; else the last one gets it
        // renamed, and every other one a copy (made first).
        const auto own = std::find_if(keepers[k].begin(), keepers[k].end(),
                                      [&](const AlbumPhotoImage* image) { return image->fileName == oldName; });
        AlbumPhotoImage* owner = own != keepers[k].end() ? *own : keepers[k].back();
        for (AlbumPhotoImage* image : keepers[k]) {
            if (image == owner)
                continue;
            const QString working = album.filePath(image->workingName());
            QFile::remove(working);
            image->keep.file = QFile::copy(oldPath, working) ? stamp(working) : Stamp{};
            if (!image->keep.file.valid()) {
                qCInfo(lcImageCache) << "cannot copy" << oldName << "to" << working;
                image->keep = {};
            }
        }
        std::error_code error;
        if (owner->fileName == oldName)
            owner->keep.inPlace = true;
        else
            std::filesystem::rename(fsPath(oldPath), fsPath(album.filePath(owner->workingName())), error);
        if (error) {
            qCInfo(lcImageCache) << "cannot move" << oldName << "aside" << error.message().c_str();
            owner->keep = {};
        } else if (owner->keep.inPlace) {
            inPlace << oldName;
        }
    }
    return inPlace;
}

void ImageCache::finish(const std::vector<AlbumPhoto>& photos) const
{
    std::vector<Entry> entries;
    for (const AlbumPhoto& photo : photos) {
        for (const AlbumPhotoImage& image : photo.images) {
            if (!image.placed)
                continue;
            if (image.outcome == AlbumPhotoImage::Kept) {
                Entry kept = m_old[size_t(image.keep.entry)];
                kept.fileName = image.fileName;
                kept.image = image.file;
                entries.push_back(kept);
            } else if (image.outcome == AlbumPhotoImage::Made && photo.source.valid() && image.file.valid()) {
                entries.push_back(Entry{image.fileName, image.file,
                                        recipe(photo, image, photo.source.size, photo.source.modified),
                                        photo.source.hash});
            }
        }
    }
    const QDir album(m_album);
    // The cover images, by the stamps of the page images recorded above.
    for (const bool second : {false, true}) {
        const QString source = AlbumImages::coverSource(m_options.coverNumber, second);
        const auto page =
            std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.fileName == source; });
        const Stamp cover = stamp(album.filePath(AlbumImages::coverName(second)));
        if (page != entries.end() && cover.valid())
            entries.push_back(Entry{AlbumImages::coverName(second), cover, coverRecipe(source, page->image), {}});
    }
    writeRecord(entries);
}
