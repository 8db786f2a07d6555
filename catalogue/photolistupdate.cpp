// SPDX-License-Identifier: MIT
#include "catalogue/photolistupdate.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "catalogue/cgetfiles.h"
#include "catalogue/editcommands.h"

namespace PhotoListUpdate
{

ListUpdatePlan plan(const QVector<PhotoRow>& listed, const QString& folder, const QDateTime& listSaved)
{
    ListUpdatePlan plan;
    QVector<PhotoRow>& rows = plan.rows = listed;
    const PhotoListing listing = PhotoImport::listAllPhotoFiles(folder);
    if (listing.folderMissing || listing.folderUnreadable) {
        // Nothing can be told about photos that cannot be listed: the list stays as it was loaded.
        plan.listingOnly.folderMissing = listing.folderMissing;
        plan.listingOnly.folderUnreadable = listing.folderUnreadable;
        return plan;
    }

    QHash<QString, int> exact;               // file name -> index in listing.paths
    QHash<QString, QVector<int>> foldedCase; // lower-case name -> indexes
    for (int k = 0; k < listing.paths.size(); ++k) {
        const QString name = colGetFiles::GetFileName(listing.paths.at(k));
        exact.insert(name, k);
        foldedCase[name.toLower()].append(k);
    }
    // Exact names first, so a photo a row names exactly is never taken by another row's case match.
    QVector<int> match(rows.size(), -1);
    QSet<int> taken;
    for (int r = 0; r < rows.size(); ++r) {
        const auto at = exact.constFind(rows.at(r).fileName);
        if (at != exact.constEnd() && !rows.at(r).pathName.isEmpty()) {
            match[r] = *at;
            taken.insert(*at);
        }
    }
    for (int r = 0; r < rows.size(); ++r) {
        if (match[r] >= 0 || rows.at(r).pathName.isEmpty())
            continue;
        QVector<int> candidates;
        for (int k : foldedCase.value(rows.at(r).fileName.toLower()))
            if (!taken.contains(k))
                candidates.append(k);
        if (candidates.size() == 1) {
            match[r] = candidates.first();
            taken.insert(match[r]);
        }
    }

    // What is read: the listed photos changed since the save, then the new ones within the limit.
    for (int r = 0; r < rows.size(); ++r) {
        if (match[r] < 0) {
            plan.news.vanished.append(rows.at(r).fileName);
            plan.news.vanishedPositions.append(r + 1);
            continue;
        }
        const QString path = listing.paths.at(match[r]);
        rows[r].pathName = path;
        rows[r].fileName = colGetFiles::GetFileName(path);
        if (!listSaved.isValid() || QFileInfo(path).lastModified() > listSaved) {
            plan.toRead.append(path);
            plan.refreshedRows.append(r);
        }
    }
    for (int k = 0; k < listing.paths.size(); ++k)
        if (!taken.contains(k))
            plan.fresh.append(listing.paths.at(k));
    const int room = std::max(0, MaxPhotos - int(rows.size()));
    plan.toRead += plan.fresh.mid(0, room);
    return plan;
}

ListUpdate apply(const ListUpdatePlan& plan, std::stop_token stop, const ImportProgress& progress)
{
    ListUpdate update;
    update.news = plan.news;
    ImportResult read = PhotoImport::readPhotos(plan.toRead, stop, progress);
    if (read.cancelled) {
        update.read.cancelled = true;
        return update;
    }
    QVector<PhotoRow> rows = plan.rows;
    const qsizetype refreshed = plan.refreshedRows.size();
    for (qsizetype j = 0; j < refreshed; ++j) {
        PhotoRow& row = rows[plan.refreshedRows.at(j)];
        const PhotoRow& again = read.rows.at(j);
        row.image = again.image;
        row.model = again.model;
        row.dateTime = again.dateTime;
        row.tv = again.tv;
        row.av = again.av;
        // The user's turn stays: column 2 is column 1 turned by it, as the rotation command draws it.
        const QImage turned =
            row.rotation == 0 ? QImage() : EditCommands::rotatedPicture(again.image.toImage(), row.rotation);
        row.picture = turned.isNull() ? row.image : ListPicture(turned);
        update.news.refreshed.append(row.fileName);
    }
    for (qsizetype j = refreshed; j < read.rows.size(); ++j) {
        update.news.added.append(read.rows.at(j).fileName);
        rows.append(read.rows.at(j));
    }
    PhotoImport::noteLeftOut(read, plan.fresh, int(read.rows.size() - refreshed));
    read.folderMissing = plan.listingOnly.folderMissing;
    read.folderUnreadable = plan.listingOnly.folderUnreadable;
    read.rows = std::move(rows);
    update.read = std::move(read);
    return update;
}

ListUpdate run(const QVector<PhotoRow>& listed, const QString& folder, const QDateTime& listSaved, std::stop_token stop,
               const ImportProgress& progress)
{
    return apply(plan(listed, folder, listSaved), stop, progress);
}

} // namespace PhotoListUpdate
