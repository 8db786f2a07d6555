// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QVector>

#include <functional>
#include <stop_token>

#include "components/photocheck.h"
#include "components/photorow.h"

/// A photo the user should hear about: it could not be read, or it is damaged.
struct ImportProblem {
    QString fileName;
    PhotoCheck::Finding finding;
};

/// The result of an import: the rows in listing order, or nothing when cancelled.
struct ImportResult {
    QVector<PhotoRow> rows;
    int failed = 0;                // photos that could not be decoded (they still have their rows)
    bool cancelled = false;        // cancelled: rows is empty
    bool folderMissing = false;    // no folder by that name (nothing was listed)
    bool folderUnreadable = false; // a folder, but its names cannot be read
    /// Photos that could not be decoded and photos that decoded but are damaged (a JPEG cut
    /// short), in listing order. Every one of them has its row.
    QVector<ImportProblem> problems;
    /// Photos beyond the limit of MaxPhotos, not imported: how many, the first and the last (in
    /// listing order: one group per pattern of PhotoImport::PhotoPatterns).
    int leftOut = 0;
    QString firstLeftOut;
    QString lastLeftOut;
};

/// The folder's photo files in listing order, all of them, and whether the folder was there.
struct PhotoListing {
    QStringList paths;
    bool folderMissing = false;
    bool folderUnreadable = false;
};

/// progress(i, n) is called once per photo, i = 1..n in order, before that photo is read (the
/// photos are read largest file first; i counts them). Calls come one at a time but possibly from
/// different worker threads.
using ImportProgress = std::function<void(int i, int n)>;

namespace PhotoImport
{
/// The listing passes, in order: JPEG names first, then the HEIF family's. Letter case is ignored.
inline const QStringList PhotoPatterns{QStringLiteral("*.jpg"),  QStringLiteral("*.jpeg"), QStringLiteral("*.heic"),
                                       QStringLiteral("*.heif"), QStringLiteral("*.hif"),  QStringLiteral("*.avif")};
/// The files an import takes: one pass per pattern of PhotoPatterns in folder, at most 999 in all.
QStringList listPhotoFiles(const QString& folder);
/// Every file of those passes, without the limit.
PhotoListing listAllPhotoFiles(const QString& folder);
/// The rotation code that turns a photo with this EXIF orientation (1 to 8) upright: 6 -> 2,
/// 8 -> 1, 3 -> 3; a mirrored value takes the turn that makes it upright (2 -> 0, 4 -> 3, 5 -> 2,
/// 7 -> 1), leaving it mirrored; anything else -> 0.
int rotationForOrientation(int orientation);
/// Reads one photo into a row: thumbnail from the photo's pixels (column 1 as stored, column 2
/// turned by the rotation), path, file name, shooting texts, the rotation its EXIF orientation
/// asks for, empty caption. A photo that cannot be decoded gets "不明", rotation 0, no pictures.
PhotoRow readPhotoRow(const QString& path);
/// The whole import. The stop token is checked once per photo, after progress and before the
/// photo is read; a stop empties the result. Runs on any thread; touches no model or widget.
/// Photos are read on the calling thread and one helper thread per further core, largest file
/// first; rows keep listing order.
ImportResult run(const QString& folder, std::stop_token stop = {}, const ImportProgress& progress = {});
/// Reads these photos as run does (same threads, order, progress and stop), with nothing left out
/// and no folder checked: rows in the order of paths, failed and problems filled in.
ImportResult readPhotos(const QStringList& paths, std::stop_token stop = {}, const ImportProgress& progress = {});
/// Records in result that the photos of paths from position taken on (0-based) were left out.
void noteLeftOut(ImportResult& result, const QStringList& paths, int taken);
}  // namespace PhotoImport
