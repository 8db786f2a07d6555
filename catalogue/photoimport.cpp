// SPDX-License-Identifier: MIT
#include "catalogue/photoimport.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include "catalogue/cgetfiles.h"
#include "catalogue/shootingtext.h"
#include "components/exifthumbnail.h"
#include "components/imaging.h"
#include "components/workerpool.h"

Q_LOGGING_CATEGORY(lcImport, "lumivert.catalogue.import")

namespace PhotoImport
{

namespace
{

QStringList listed(const QString& folder, int recMax)
{
    CGetFiles files;
    files.setRecMax(recMax);
    files.Record().Clear();
    // A listing that fails (an unreadable folder) simply adds nothing: the import shows an empty list.
    if (!files.GetFiles(folder, QStringLiteral("*.jpg")))
        qCDebug(lcImport) << "cannot list" << folder << "error" << files.Error();
    if (!files.GetFiles(folder, QStringLiteral("*.jpeg")))
        qCDebug(lcImport) << "cannot list" << folder << "error" << files.Error();
    QStringList paths;
    paths.reserve(files.Record().Count());
    for (const clsGetFiles& entry : files.Record())
        paths << entry.PathName;
    return paths;
}

} // namespace

QStringList listPhotoFiles(const QString& folder)
{
    return listed(folder, MaxPhotos);
}

PhotoListing listAllPhotoFiles(const QString& folder)
{
    PhotoListing listing;
    const QFileInfo info(folder);
    listing.folderMissing = folder.isEmpty() || !info.isDir();
    if (listing.folderMissing)
        return listing;
    listing.paths = listed(folder, std::numeric_limits<int>::max());
    listing.folderUnreadable = listing.paths.isEmpty() && !QDir(folder).isReadable();
    return listing;
}

PhotoRow readPhotoRow(const QString& path)
{
    const QSize box(ThumbnailBoxWidth, ThumbnailBoxHeight);
    PhotoRow row;
    row.pathName = path;
    row.fileName = colGetFiles::GetFileName(path);
    row.rotation = 0;
    row.model = row.dateTime = row.tv = row.av = ShootingText::Unknown;

    // A camera's embedded thumbnail, when it is large enough and of the photo's shape, spares
    // decoding the photo (a progressive one costs nearly a full decode at any scale).
    const Imaging::Photo photo = Imaging::loadPhotoThumbnail(path, box);
    if (!photo.load.ok()) {
        qCDebug(lcImport) << "cannot read" << path << photo.load.error;
        return row;
    }
    if (photo.info.hasInfo) {
        const Imaging::ShootingInfo& info = photo.info;
        row.model = ShootingText::modelText(info.maker, info.model);
        row.dateTime = ShootingText::dateText(info.dateTime);
        row.tv = ShootingText::shutterText(info.exposureNum, info.exposureDen);
        row.av = ShootingText::apertureText(info.fNumberNum, info.fNumberDen);
    }
    // The thumbnail's size follows from the photo's full size, not from the reduced decode.
    QImage thumbnail = photo.load.image;
    const QSize wanted = Imaging::fitSize(photo.load.fullSize.isValid() ? photo.load.fullSize : thumbnail.size(), box);
    if (wanted.isValid() && thumbnail.size() != wanted)
        thumbnail = Imaging::resize(thumbnail, wanted);
    row.image = thumbnail;
    row.picture = row.image;
    return row;
}

ImportResult run(const QString& folder, std::stop_token stop, const ImportProgress& progress)
{
    const PhotoListing listing = listAllPhotoFiles(folder);
    // The album's file names have three digits: photos beyond the limit are left out, and the
    // result says which.
    const QStringList paths = listing.paths.mid(0, MaxPhotos);
    const int n = int(paths.size());
    QVector<PhotoRow> rows(n);
    std::vector<PhotoCheck::Finding> findings(static_cast<size_t>(n));

    // Photos are handed out one at a time under a lock: the handing out reports progress(i, n) in
    // photo order and checks the stop token, so once a stop is seen no further photo is started,
    // while photos already being read finish (and are then thrown away with the rest).
    std::mutex handOut;
    int next = 0;
    bool stopped = false;
    const auto worker = [&] {
        for (;;) {
            int i = 0;
            {
                const std::lock_guard lock(handOut);
                if (stopped || next >= n)
                    return;
                i = next++;
                if (progress)
                    progress(i + 1, n);
                if (stop.stop_requested()) {
                    stopped = true;
                    return;
                }
            }
            rows[i] = readPhotoRow(paths.at(i));
            findings[size_t(i)] =
                rows[i].image.isNull() ? PhotoCheck::diagnose(paths.at(i)) : PhotoCheck::checkDecoded(paths.at(i));
        }
    };
    // One reader per core (the calling thread is one of them), never more than there are photos.
    const int readers = std::clamp(WorkerPool::coreCount(), 1, std::max(1, n));
    WorkerPool::forEach(size_t(readers), [&](std::size_t) { worker(); }, readers);

    ImportResult result;
    result.folderMissing = listing.folderMissing;
    result.folderUnreadable = listing.folderUnreadable;
    if (stopped) {
        result.cancelled = true;
        return result;
    }
    for (int i = 0; i < n; ++i) {
        if (rows[i].image.isNull())
            ++result.failed;
        if (findings[size_t(i)].problem != PhotoCheck::Problem::None)
            result.problems.append({rows[i].fileName, findings[size_t(i)]});
    }
    result.leftOut = int(listing.paths.size()) - n;
    if (result.leftOut > 0) {
        result.firstLeftOut = colGetFiles::GetFileName(listing.paths.at(n));
        result.lastLeftOut = colGetFiles::GetFileName(listing.paths.constLast());
    }
    result.rows = std::move(rows);
    return result;
}

} // namespace PhotoImport
