// SPDX-License-Identifier: MIT
#include "catalogue/photolistupdate.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "catalogue/cgetfiles.h"
#include "catalogue/editcommands.h"

namespace PhotoListUpdate
{

ListUpdate run(const QVector<PhotoRow>& listed, const QString& folder, const QDateTime& listSaved, std::stop_token stop,
               const ImportProgress& progress)
{
    ListUpdate update;
    QVector<PhotoRow> rows = listed;
    const PhotoListing listing = PhotoImport::listAllPhotoFiles(folder);
    if (listing.folderMissing || listing.folderUnreadable) {
        // Nothing can be told about photos that cannot be listed: the list stays as it was loaded.
        update.read.folderMissing = listing.folderMissing;
        update.read.folderUnreadable = listing.folderUnreadable;
        update.read.rows = std::move(rows);
        return update;
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
    QStringList toRead;
    QVector<int> refreshedRows;
    for (int r = 0; r < rows.size(); ++r) {
        if (match[r] < 0) {
            update.news.vanished.append(rows.at(r).fileName);
            update.news.vanishedPositions.append(r + 1);
            continue;
        }
        const QString path = listing.paths.at(match[r]);
        rows[r].pathName = path;
        rows[r].fileName = colGetFiles::GetFileName(path);
        if (!listSaved.isValid() || QFileInfo(path).lastModified() > listSaved) {
            toRead.append(path);
            refreshedRows.append(r);
        }
    }
    QStringList fresh;
    for (int k = 0; k < listing.paths.size(); ++k)
        if (!taken.contains(k))
            fresh.append(listing.paths.at(k));
    const int room = std::max(0, MaxPhotos - int(rows.size()));
    const QStringList added = fresh.mid(0, room);
    toRead += added;

    ImportResult read = PhotoImport::readPhotos(toRead, stop, progress);
    if (read.cancelled) {
        update.read.cancelled = true;
        return update;
    }
    for (int j = 0; j < refreshedRows.size(); ++j) {
        PhotoRow& row = rows[refreshedRows.at(j)];
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
    for (qsizetype j = refreshedRows.size(); j < read.rows.size(); ++j) {
        update.news.added.append(read.rows.at(j).fileName);
        rows.append(read.rows.at(j));
    }
    PhotoImport::noteLeftOut(read, fresh, int(added.size()));
    read.rows = std::move(rows);
    update.read = std::move(read);
    return update;
}

} // namespace PhotoListUpdate
