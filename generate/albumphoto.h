// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <vector>

#include "components/imaging.h"

/// What a file is: its size, modification time (ns) and a hash of its first and last 64 KB.
struct FileStamp {
    qint64 size = -1;
    qint64 modified = 0;
    QByteArray hash;
    bool valid() const { return size >= 0 && !hash.isEmpty(); }
    bool operator==(const FileStamp&) const = default;
};

/// One album image of a photo, from the plan to the file in the album.
struct AlbumPhotoImage {
    /// The design's two images of a photo and their second images for high-density screens.
    enum Kind { Index = 0, Page = 1, Index2x = 2, Page2x = 3 };
    static constexpr int KindCount = 4;
    /// What becomes of the image in the run's "make" step.
    enum Outcome {
        Missing, // neither kept nor made (the photo cannot be read, or the write failed)
        Kept,    // the last album's image is taken again
        Made,    // made afresh and written under the working name
    };
    /// The last album's image this one may take: an entry of the reuse record. It is taken when
    /// the photo's content still hashes to source.
    struct Keep {
        int entry = -1;       // -1: nothing to take, the image is made
        bool inPlace = false; // that image already has this one's name; else it waits under the working name
        QByteArray source;    // hash of the photo it was made from
        FileStamp file;       // the image file's stamp
    };

    Kind kind = Index;
    QSize box; // the photo is turned and fitted into it
    Imaging::SaveKind saveKind = Imaging::SaveKind::BaselineJpeg;
    QString fileName; // in the album folder: "index003.jpg"
    Keep keep;        // decided before anything is made
    Outcome outcome = Missing;
    FileStamp file;      // the kept or made file's stamp (invalid: not recorded)
    bool placed = false; // in the album under fileName

    bool second() const { return kind == Index2x || kind == Page2x; }
    /// The hidden name the image waits under until the run puts it in place.
    QString workingName() const { return QLatin1Char('.') + fileName + QStringLiteral(".part"); }
};

/// One photo of a new album: its place, its file and the images made from it. One read of the
/// file gives its stamp and, when any image must be made, one decode gives every image.
struct AlbumPhoto {
    int number = 0; // album position, from 1
    QString path;
    int rotation = 0;
    std::vector<AlbumPhotoImage> images; // page, index, and with second images page2x, index2x
    FileStamp source;                    // the photo as this run read it (invalid: not recorded)
};
