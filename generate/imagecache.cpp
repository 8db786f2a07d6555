// SPDX-License-Identifier: MIT
#include "generate/imagecache.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "components/imaging.h"
#include "components/wholefile.h"
#include "components/workerpool.h"

Q_LOGGING_CATEGORY(lcImageCache, "lumivert.generate.cache")

namespace
{

// Raise it whenever a change to the imaging code or the image steps changes an album image's
// bytes: records of another value are ignored. Qt's version goes in too (its JPEG writer).
// 2: with second images for high-density screens the design's images come from the larger decode.
constexpr int ImageCodeVersion = 2;
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
    Stamp s;
    qint64 size = 0;
    qint64 modified = 0;
    if (!statFile(path, size, modified))
        return s;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return s;
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    QByteArray head = file.read(HashedEnd);
    hash.addData(head);
    if (size > HashedEnd) {
        const qint64 from = std::max(HashedEnd, size - HashedEnd);
        if (!file.seek(from))
            return s;
        hash.addData(file.read(size - from));
    }
    if (file.error() != QFileDevice::NoError)
        return s;
    s.size = size;
    s.modified = modified;
    s.hash = hash.result();
    return s;
}

bool ImageCache::unchanged(const Stamp& stamp, const QString& path)
{
    qint64 size = 0;
    qint64 modified = 0;
    return stamp.valid() && statFile(path, size, modified) && size == stamp.size && modified == stamp.modified;
}

ImageCache::ImageCache(const QString& albumFolder, const AlbumOptions& options, const QVector<PhotoRow>& photos)
    : m_album(albumFolder), m_canonicalAlbum(QFileInfo(albumFolder).canonicalFilePath()), m_options(options),
      m_photos(photos), m_taken(size_t(KindCount * photos.size()), -1)
{
    m_version = QStringLiteral("Lumivert %1.%2.%3; album images %4; Qt %5")
                    .arg(LUMIVERT_VERSION_MAJOR)
                    .arg(LUMIVERT_VERSION_MINOR)
                    .arg(LUMIVERT_VERSION_PATCH)
                    .arg(ImageCodeVersion)
                    .arg(QString::fromLatin1(qVersion()));
    cleanWorkingFolder();
}

ImageCache::~ImageCache()
{
    cleanWorkingFolder();
}

void ImageCache::cleanWorkingFolder() const
{
    QDir working(QDir(m_album).filePath(QString::fromLatin1(WorkingFolder)));
    if (working.exists())
        working.removeRecursively();
}

QByteArray ImageCache::recipe(int i, Kind kind, qint64 sourceSize, qint64 sourceModified) const
{
    // Everything an album image's bytes follow from, but the photo's content (checked apart, so
    // that only photos that may match are read). The index image is made from the page image, so
    // both boxes go into both recipes.
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    const PhotoRow& photo = m_photos.at(i - 1);
    const bool page = kind == Page || kind == Page2x;
    const Imaging::SaveKind saveKind =
        page && m_options.progressive ? Imaging::SaveKind::ProgressiveJpeg : Imaging::SaveKind::BaselineJpeg;
    out << m_version << qint32(kind) << QFileInfo(photo.pathName).absoluteFilePath() << sourceSize << sourceModified
        << qint32(photo.rotation) << m_options.indexBox() << m_options.pageBox() << qint32(m_options.jpegQuality())
        << qint32(saveKind) << m_options.highDensity;
    return digest(bytes);
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
        count > quint32(2 * KindCount * MaxPhotos)) {
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

void ImageCache::writeRecord() const
{
    const QString path = recordPath(m_album);
    if (path.isEmpty() || m_new.empty())
        return;
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        return;
    QByteArray payload;
    {
        QDataStream body(&payload, QIODevice::WriteOnly);
        body.setVersion(QDataStream::Qt_6_4);
        body << m_version << m_canonicalAlbum << quint32(m_new.size());
        for (const Entry& e : m_new)
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

void ImageCache::takeAside()
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

    std::multimap<QByteArray, int> byRecipe;
    for (int k = 0; k < int(old.size()); ++k)
        byRecipe.emplace(old[size_t(k)].recipe, k);

    // Which photos may have images in the old album: path, size and time match a recipe, and
    // the old image is still there with its size and time. Only these are read below.
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
    const int n = int(m_photos.size());
    std::vector<std::vector<int>> candidates(size_t(KindCount * n));
    constexpr Kind Kinds[] = {Index, Page, Index2x, Page2x};
    std::vector<int> toHash;
    for (int i = 1; i <= n; ++i) {
        qint64 size = 0;
        qint64 modified = 0;
        if (!statFile(m_photos.at(i - 1).pathName, size, modified))
            continue;
        bool any = false;
        for (const Kind kind : Kinds) {
            const auto [from, to] = byRecipe.equal_range(recipe(i, kind, size, modified));
            for (auto it = from; it != to; ++it) {
                if (isPresent(it->second)) {
                    candidates[size_t(KindCount * (i - 1) + kind)].push_back(it->second);
                    any = true;
                }
            }
        }
        if (any)
            toHash.push_back(i);
    }
    // Their contents, and the old images' own stamps, read on every core.
    std::vector<QByteArray> sourceHash(static_cast<size_t>(n));
    WorkerPool::forEach(toHash.size(), [&](size_t k) {
        const int i = toHash[k];
        sourceHash[size_t(i - 1)] = stamp(m_photos.at(i - 1).pathName).hash;
    });
    std::vector<char> wanted(old.size(), 0);
    for (int i : toHash)
        for (const Kind kind : Kinds)
            for (int k : candidates[size_t(KindCount * (i - 1) + kind)])
                if (!sourceHash[size_t(i - 1)].isEmpty() && old[size_t(k)].sourceHash == sourceHash[size_t(i - 1)])
                    wanted[size_t(k)] = 1;
    std::vector<char> intact(old.size(), 0);
    WorkerPool::forEach(old.size(), [&](size_t k) {
        if (wanted[k])
            intact[k] = stamp(album.filePath(old[k].fileName)) == old[k].image;
    });

    // Each image takes an old file of its recipe that no earlier image took, else shares one.
    m_usesLeft.assign(old.size(), 0);
    for (int i = 1; i <= n; ++i) {
        for (const Kind kind : Kinds) {
            int pick = -1;
            for (int k : candidates[size_t(KindCount * (i - 1) + kind)]) {
                if (!intact[size_t(k)] || old[size_t(k)].sourceHash != sourceHash[size_t(i - 1)])
                    continue;
                pick = k;
                if (m_usesLeft[size_t(k)] == 0)
                    break;
            }
            if (pick >= 0) {
                m_taken[size_t(KindCount * (i - 1) + kind)] = pick;
                ++m_usesLeft[size_t(pick)];
            }
        }
    }

    // Out of the way of the deletion that follows.
    const QString working = album.filePath(QString::fromLatin1(WorkingFolder));
    bool haveFolder = false;
    for (size_t k = 0; k < old.size(); ++k) {
        if (m_usesLeft[k] == 0)
            continue;
        haveFolder = haveFolder || QDir().mkpath(working);
        std::error_code error;
        if (haveFolder)
            std::filesystem::rename(fsPath(album.filePath(old[k].fileName)),
                                    fsPath(QDir(working).filePath(old[k].fileName)), error);
        if (!haveFolder || error) {
            qCInfo(lcImageCache) << "cannot take aside" << old[k].fileName << error.message().c_str();
            m_usesLeft[k] = 0;
            for (int& taken : m_taken)
                if (taken == int(k))
                    taken = -1;
        }
    }
    m_old = std::move(old);
}

bool ImageCache::reusable(int i, Kind kind) const
{
    return m_taken[size_t(KindCount * (i - 1) + kind)] >= 0;
}

bool ImageCache::place(int i, Kind kind, const QString& target)
{
    const int k = m_taken[size_t(KindCount * (i - 1) + kind)];
    if (k < 0)
        return false;
    const Entry& old = m_old[size_t(k)];
    const QString source = QDir(QDir(m_album).filePath(QString::fromLatin1(WorkingFolder))).filePath(old.fileName);
    Entry placed = old;
    placed.fileName = QFileInfo(target).fileName();
    std::error_code error;
    if (--m_usesLeft[size_t(k)] == 0) {
        std::filesystem::rename(fsPath(source), fsPath(target), error);
    } else {
        // Written whole under its hidden working name, then renamed, like every album image (no
        // worker writes that name: this photo's image of this kind is not made).
        const QString part =
            QFileInfo(target).dir().filePath(QLatin1Char('.') + placed.fileName + QStringLiteral(".part"));
        QFile::remove(part);
        if (!QFile::copy(source, part))
            error = std::make_error_code(std::errc::io_error);
        else
            std::filesystem::rename(fsPath(part), fsPath(target), error);
        QFile::remove(part);
        placed.image = stamp(target);
    }
    if (error || !placed.image.valid()) {
        qCInfo(lcImageCache) << "cannot place" << old.fileName << "as" << target << error.message().c_str();
        return false;
    }
    m_new.push_back(placed);
    ++m_reused;
    return true;
}

void ImageCache::made(int i, Kind kind, const QString& target, const Stamp& source, const Stamp& image)
{
    if (!source.valid() || !image.valid())
        return;
    m_new.push_back(
        Entry{QFileInfo(target).fileName(), image, recipe(i, kind, source.size, source.modified), source.hash});
}

void ImageCache::finish()
{
    cleanWorkingFolder();
    writeRecord();
}
