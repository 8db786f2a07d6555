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

/// What a loaded list needs to be brought up to date: the rows matched to the folder's photos, and
/// the photos to read (changed, then new). Cheap: a listing and a look at each photo's time.
struct ListUpdatePlan {
    QVector<PhotoRow> rows;
    QStringList toRead;         // the changed photos (refreshedRows, in order), then the new ones
    QVector<int> refreshedRows; // 0-based rows whose photo is read afresh
    QStringList fresh;          // every photo no row matches, in listing order (beyond the limit too)
    ListNews news;              // vanished filled in
    ImportResult listingOnly;   // folderMissing/folderUnreadable: nothing to do
};

/// Brings a photo list loaded from a folder's list file up to date with the folder's photos.
/// Runs on any thread; touches no model or widget.
namespace PhotoListUpdate
{
/// listed: the rows as PhotoListFile::load gave them (each path the file of its name in folder).
/// A listed name matches the folder's photo of that name, else the one photo whose name differs
/// only in letter case; a row matching none is vanished and keeps its place. A matched photo
/// modified after listSaved is to be read afresh. The folder's photos no row matches are to be
/// read and added at the end, in the import's listing order, up to MaxPhotos rows in all. A folder
/// whose photos cannot be listed changes nothing.
ListUpdatePlan plan(const QVector<PhotoRow>& listed, const QString& folder, const QDateTime& listSaved);
/// Reads what the plan names: a photo read afresh keeps its place, turn and caption and gets new
/// pictures and shooting texts; new photos are added at the end. progress and stop as for the
/// import, over the photos read.
ListUpdate apply(const ListUpdatePlan& plan, std::stop_token stop = {}, const ImportProgress& progress = {});
/// plan, then apply.
ListUpdate run(const QVector<PhotoRow>& listed, const QString& folder, const QDateTime& listSaved,
               std::stop_token stop = {}, const ImportProgress& progress = {});
} // namespace PhotoListUpdate
