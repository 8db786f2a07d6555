// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <vector>

#include "components/photorow.h"
#include "generate/albumoptions.h"

/// The album images of a folder's last new album that the next new album can take again instead
/// of decoding and encoding them once more. An image is taken only when it would come out byte for
/// byte the same: same photo file (path, size, modification time and a hash of its first and last
/// 64 KB), same rotation, same boxes, same JPEG quality and kind, same imaging code (version).
///
/// The images are the album's own files; what each was made from is recorded in a small file in
/// the user's cache folder (~/.cache/lumivert/albums, one record per album folder), so the album
/// folder holds nothing but the album and nothing of it goes to a web server with it. Before a new
/// album deletes the old files, the images it will take are moved (renamed: same file system) into
/// the hidden working folder ".lumivert-reuse" of the album folder, and from there to their new
/// names; finish() deletes what was not taken and the folder. A record that is damaged, foreign
/// or of another program version is ignored, and every image it names is checked against its own
/// stamp before it is taken, so a changed file is never taken.
///
/// Owned and used by the generation's coordinator thread; reusable() and stamp() may be called
/// from workers once takeAside() has returned.
class ImageCache
{
public:
    /// The design's two images of a photo and their second images for high-density screens.
    enum Kind { Index = 0, Page = 1, Index2x = 2, Page2x = 3 };
    static constexpr int KindCount = 4;

    /// What a file is: its size, modification time (ns) and a hash of its first and last 64 KB.
    struct Stamp {
        qint64 size = -1;
        qint64 modified = 0;
        QByteArray hash;
        bool valid() const { return size >= 0 && !hash.isEmpty(); }
        bool operator==(const Stamp&) const = default;
    };
    /// Invalid when the file cannot be read.
    static Stamp stamp(const QString& path);
    /// True when the file still has the size and modification time of the stamp.
    static bool unchanged(const Stamp& stamp, const QString& path);

    /// photos: the new album's list (row i = photo i). Removes a working folder a killed run left.
    ImageCache(const QString& albumFolder, const AlbumOptions& options, const QVector<PhotoRow>& photos);
    /// Removes the working folder and whatever is still in it.
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    /// Reads the folder's record (and removes it: a new one is written by finish()), finds which
    /// images of the new list the old album holds and moves them aside. Call before the album's
    /// old files are deleted.
    void takeAside();
    /// Whether photo i's (1-based) image of that kind is taken from the old album.
    bool reusable(int i, Kind kind) const;
    /// Puts photo i's taken image at target (renamed for its last use, copied before). False when
    /// it could not be put there.
    [[nodiscard]] bool place(int i, Kind kind, const QString& target);
    /// Notes an image made afresh for photo i, now in the album as target. source is the photo's
    /// stamp taken before it was decoded, image the written file's; invalid ones record nothing.
    void made(int i, Kind kind, const QString& target, const Stamp& source, const Stamp& image);
    /// Deletes what was taken aside and not placed, removes the working folder and writes the
    /// record of the images now in the album.
    void finish();
    int reusedCount() const { return m_reused; }

    /// Where the record of an album folder lives; empty when there is no cache folder.
    static QString recordPath(const QString& albumFolder);
    static constexpr const char* WorkingFolder = ".lumivert-reuse";

private:
    struct Entry {
        QString fileName;  // in the album folder, e.g. "page001.jpg"
        Stamp image;       // the album file's stamp
        QByteArray recipe; // hash of everything the image's bytes follow from, but the photo's content
        QByteArray sourceHash;
    };
    QByteArray recipe(int i, Kind kind, qint64 sourceSize, qint64 sourceModified) const;
    void cleanWorkingFolder() const;
    bool readRecord(std::vector<Entry>& entries) const;
    void writeRecord() const;

    QString m_album;
    QString m_canonicalAlbum;
    AlbumOptions m_options;
    QVector<PhotoRow> m_photos;
    QString m_version;
    std::vector<Entry> m_old;    // the old record's entries
    std::vector<int> m_taken;    // per (photo, kind): index into m_old or -1
    std::vector<int> m_usesLeft; // per m_old entry: placements still to come
    std::vector<Entry> m_new;    // the images now in the album
    int m_reused = 0;
};
