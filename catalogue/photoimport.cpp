// SPDX-License-Identifier: MIT
#include "catalogue/photoimport.h"

#include <algorithm>
#include <mutex>

#include <QLoggingCategory>

#include "catalogue/cgetfiles.h"
#include "catalogue/shootingtext.h"
#include "components/exifthumbnail.h"
#include "components/imaging.h"
#include "components/workerpool.h"

Q_LOGGING_CATEGORY(lcImport, "lumivert.catalogue.import")

namespace PhotoImport
{

QStringList listPhotoFiles(const QString& folder)
{
    CGetFiles files;
    files.setRecMax(MaxPhotos);
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
    const QStringList paths = listPhotoFiles(folder);
    const int n = int(paths.size());
    QVector<PhotoRow> rows(n);

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
        }
    };
    // One reader per core (the calling thread is one of them), never more than there are photos.
    const int readers = std::clamp(WorkerPool::coreCount(), 1, std::max(1, n));
    WorkerPool::forEach(size_t(readers), [&](std::size_t) { worker(); }, readers);

    ImportResult result;
    if (stopped) {
        result.cancelled = true;
        return result;
    }
    for (const PhotoRow& row : rows) {
        if (row.image.isNull())
            ++result.failed;
    }
    result.rows = std::move(rows);
    return result;
}

} // namespace PhotoImport
