// SPDX-License-Identifier: MIT
#include "catalogue/photoimport.h"

#include <QLoggingCategory>

#include "catalogue/cgetfiles.h"
#include "catalogue/shootingtext.h"
#include "components/imaging.h"

Q_LOGGING_CATEGORY(lcImport, "lumivert.catalogue.import")

namespace PhotoImport {

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

    const Imaging::Photo photo = Imaging::loadPhoto(path, box);
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
    row.picture = thumbnail;
    return row;
}

ImportResult run(const QString& folder, std::stop_token stop, const ImportProgress& progress)
{
    ImportResult result;
    const QStringList paths = listPhotoFiles(folder);
    const int n = int(paths.size());
    result.rows.reserve(n);
    for (int i = 1; i <= n; ++i) {
        if (progress)
            progress(i, n);
        // The only point where a cancel is seen: a photo whose reading has begun is finished.
        if (stop.stop_requested()) {
            result.rows.clear();
            result.failed = 0;
            result.cancelled = true;
            return result;
        }
        PhotoRow row = readPhotoRow(paths.at(i - 1));
        if (row.image.isNull())
            ++result.failed;
        result.rows.push_back(std::move(row));
    }
    return result;
}

}  // namespace PhotoImport
