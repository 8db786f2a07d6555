// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QStringList>
#include <QVector>

#include <stop_token>

#include "catalogue/photoimport.h"

/// What a saved list found in its folder when it was loaded.
struct ListNews {
    QStringList added;              // photos added at the end, in the import's listing order
    QStringList vanished;           // listed photos that are not files of the folder, in list order
    QVector<int> vanishedPositions; // their rows (1-based), ascending
    QStringList refreshed;          // listed photos changed since the list was saved, read afresh
    bool any() const { return !added.isEmpty() || !vanished.isEmpty() || !refreshed.isEmpty(); }
};

/// A loaded list brought up to date with its folder.
struct ListUpdate {
    /// rows: the listed rows in their order (turns and captions kept), then the new photos.
    /// problems, failed: of the photos read (new or changed); leftOut and its names: new photos
    /// beyond MaxPhotos. cancelled: the reading was stopped, rows is empty.
    ImportResult read;
    ListNews news;
};

/// Brings a photo list loaded from a folder's list file up to date with the folder's photos.
/// Runs on any thread; touches no model or widget.
namespace PhotoListUpdate
{
/// listed: the rows as PhotoListFile::load gave them (each path the file of its name in folder).
/// A listed name matches the folder's photo of that name, else the one photo whose name differs
/// only in letter case; a row matching none is vanished and keeps its place. A matched photo
/// modified after listSaved is read afresh: its pictures and shooting texts are replaced, its
/// place, turn and caption stay. The folder's photos no row matches are read and added at the end,
/// in the import's listing order, up to MaxPhotos rows in all. A folder whose photos cannot be
/// listed changes nothing. progress and stop as for the import, over the photos read.
ListUpdate run(const QVector<PhotoRow>& listed, const QString& folder, const QDateTime& listSaved,
               std::stop_token stop = {}, const ImportProgress& progress = {});
} // namespace PhotoListUpdate
