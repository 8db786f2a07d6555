// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

#include "generate/albumphoto.h"
#include "components/photorow.h"
#include "generate/albumoptions.h"

/// The album images of a folder's last new album that the next new album can keep instead of
/// decoding and encoding them once more. An image is kept only when it would come out byte for
/// byte the same: same photo file (path, size, modification time and a hash of its first and last
/// 64 KB), same rotation, same boxes, same JPEG quality and kind, same imaging code (version).
///
/// The images are the album's own files; what each was made from is recorded in a small file in
/// the user's cache folder (~/.cache/lumivert/albums, one record per album folder), so the album
/// folder holds nothing but the album and nothing of it goes to a web server with it. A run first
/// decides which images it may keep (decide(), which also removes the record: from then on the
/// album changes, and a run killed before finish() leaves no record that could name an image as
/// another photo's), then puts the kept images that change name under their working names
/// (putKeptAside()), so that no old image ever sits under a name another photo's image takes. A
/// record that is damaged, foreign or of another program version is ignored, and every image it
/// names is checked against its own stamp before it is kept, so a changed file is never kept.
///
/// Owned and used by the generation's coordinator thread; stamp() and PhotoFile may be used on
/// any thread.
class ImageCache
{
public:
    using Stamp = FileStamp;

    /// Invalid when the file cannot be read.
    static Stamp stamp(const QString& path);
    /// True when the file still has the size and modification time of the stamp.
    static bool unchanged(const Stamp& stamp, const QString& path);

    /// A photo opened once for the whole run: its stamp and, when it must be decoded, its whole
    /// content. The stamp comes from the whole content once that is read, else from the two ends.
    class PhotoFile
    {
    public:
        explicit PhotoFile(const QString& path);
        /// Invalid when the file cannot be read or changed while it was read.
        Stamp stamp();
        /// The whole file (Imaging::readAll); empty when it cannot be read.
        const QByteArray& bytes();
        /// The picture's size from the file's header (no decode); invalid when it says nothing.
        QSize headerSize();

    private:
        QFile m_file;
        bool m_statted = false;
        qint64 m_size = 0;
        qint64 m_modified = 0;
        bool m_read = false;
        QByteArray m_bytes;
    };

    /// Removes the working folder that a run of an earlier version, killed, may have left.
    ImageCache(const QString& albumFolder, const AlbumOptions& options);
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    /// Reads the folder's record and removes it, then sets each image's keep to the old image of
    /// the same recipe that is still in the album, unchanged (one not taken by an earlier image
    /// if there is one). Whether the photo's content still matches is checked when it is read.
    void decide(std::vector<AlbumPhoto>& photos);
    /// Puts each old image that is kept under another name under that image's working name (a
    /// copy for all but one of the images that keep the same old image); an image that keeps its
    /// old name stays in place. Returns the names kept in place. An image whose old one cannot be
    /// moved is made instead.
    QStringList putKeptAside(std::vector<AlbumPhoto>& photos);
    /// The cover images that an earlier run made the same way (effect, JPEG kind and quality) from
    /// the page image that now stays in the album under the same name (one of inPlace, the names
    /// putKeptAside() returned), unchanged since: they stay too. Their names.
    QStringList keptCovers(const QStringList& inPlace) const;
    /// Writes the record of the images now in the album (placed, kept or made from a photo
    /// whose stamp is valid), and of the cover images with the page images they were made from.
    void finish(const std::vector<AlbumPhoto>& photos) const;

    /// Where the record of an album folder lives; empty when there is no cache folder.
    static QString recordPath(const QString& albumFolder);
    /// The hidden working folder in which earlier versions kept the images to take again.
    static constexpr const char* WorkingFolder = ".lumivert-reuse";

private:
    struct Entry {
        QString fileName;  // in the album folder, e.g. "page001.jpg"
        Stamp image;       // the album file's stamp
        QByteArray recipe; // hash of everything the image's bytes follow from, but the photo's content
        QByteArray sourceHash;
    };
    QByteArray recipe(const AlbumPhoto& photo, const AlbumPhotoImage& image, qint64 sourceSize,
                      qint64 sourceModified) const;
    QByteArray coverRecipe(const QString& sourceName, const Stamp& source) const;
    /// An image of the new album and the old images of its recipe that are still in the album.
    struct Match {
        AlbumPhotoImage* image;
        std::vector<int> entries;
    };
    std::vector<Match> findMatches(const std::vector<Entry>& old, std::vector<AlbumPhoto>& photos) const;
    bool readRecord(std::vector<Entry>& entries) const;
    void writeRecord(const std::vector<Entry>& entries) const;

    QString m_album;
    QString m_canonicalAlbum;
    AlbumOptions m_options;
    QString m_version;
    std::vector<Entry> m_old; // the old record's entries
};
