// SPDX-License-Identifier: MIT
#include "catalogue/photoimport.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <numeric>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include "catalogue/cgetfiles.h"
#include "catalogue/editcommands.h"
#include "catalogue/shootingtext.h"
#include "components/imaging.h"
#include "components/sharppictures.h"
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
    // One pass per name pattern, each in its own order; a listing that fails (an unreadable
    // folder) simply adds nothing: the import shows an empty list. What a file holds is judged
    // from its content when it is read, not from its name.
    for (const QString& pattern : PhotoPatterns) {
        if (!files.GetFiles(folder, pattern))
            qCDebug(lcImport) << "cannot list" << folder << "error" << files.Error();
    }
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

int rotationForOrientation(int orientation)
{
    switch (orientation) {
    case 6: // the picture's top is stored on the right: turn it right
    case 5: // the same, mirrored: upright after the turn, left and right swapped
        return 2;
    case 8: // top stored on the left: turn it left
    case 7:
        return 1;
    case 3: // upside down
    case 4:
        return 3;
    default: // 1, 2 (mirrored only), absent or out of range
        return 0;
    }
}

PhotoRow readPhotoRow(const QString& path)
{
    const QSize box(ThumbnailBoxWidth, ThumbnailBoxHeight);
    PhotoRow row;
    row.pathName = path;
    row.fileName = colGetFiles::GetFileName(path);
    row.rotation = 0;
    row.model = row.dateTime = row.tv = row.av = ShootingText::Unknown;

    // The picture comes from the photo's own pixels: an embedded EXIF thumbnail is not refreshed
    // by every editing program and may show another picture. (A HEIF file's thumbnail image, which
    // the camera wrote with the photo, may serve when it has the photo's size and shape.)
    // On a scaled desktop the window keeps a sharper picture of its own: the photo is decoded
    // reduced to that size (a photo of 2 megapixels or more decodes to at least 240 x 180 at the
    // smallest scale anyway) and the list's picture is reduced from it.
    SharpPictures& sharp = SharpPictures::instance();
    const QSize sharpBox = sharp.deviceBox(box);
    const bool keepSharp = sharpBox != box;
    Imaging::Photo photo = Imaging::loadPhoto(path, keepSharp ? sharpBox : box);
    if (keepSharp && photo.load.ok()) {
        sharp.insert(path, photo.load.image);
        const QSize full = photo.load.fullSize.isValid() ? photo.load.fullSize : photo.load.image.size();
        photo.load.image = Imaging::resize(photo.load.image, Imaging::fitSize(full, box));
    }
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
    row.image = photo.load.image;
    // A photo stored sideways with an orientation tag comes in upright, as if the user had
    // chosen the turn: column 1 stays as stored, column 2 is turned, the album follows the code.
    const int rotation = rotationForOrientation(photo.info.orientation);
    const QImage turned = rotation == 0 ? QImage() : EditCommands::rotatedPicture(photo.load.image, rotation);
    if (turned.isNull()) {
        row.picture = row.image;
    } else {
        row.rotation = rotation;
        row.picture = turned;
    }
    return row;
}

ImportResult readPhotos(const QStringList& paths, std::stop_token stop, const ImportProgress& progress)
{
    const int n = int(paths.size());
    QVector<PhotoRow> rows(n);
    std::vector<PhotoCheck::Finding> findings(static_cast<size_t>(n));

    // The largest files first: a photo's reading time follows its size, and the cores then run
    // out of work together instead of one finishing a big photo alone at the end.
    std::vector<int> order(size_t(n), 0);
    std::iota(order.begin(), order.end(), 0);
    {
        std::vector<qint64> sizes(size_t(n), 0);
        for (int i = 0; i < n; ++i)
            sizes[size_t(i)] = QFileInfo(paths.at(i)).size();
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return sizes[size_t(a)] > sizes[size_t(b)]; });
    }

    // Photos are handed out one at a time under a lock: the handing out reports progress(k, n),
    // k = 1..n in order, and checks the stop token, so once a stop is seen no further photo is
    // started, while photos already being read finish (and are then thrown away with the rest).
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
                i = order[size_t(next++)];
                if (progress)
                    progress(next, n);
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
    WorkerPool::forEach(
        size_t(readers), [&](std::size_t) { worker(); }, readers);

    ImportResult result;
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
    result.rows = std::move(rows);
    return result;
}

ImportResult run(const QString& folder, std::stop_token stop, const ImportProgress& progress)
{
    const PhotoListing listing = listAllPhotoFiles(folder);
    // The album's file names have three digits: photos beyond the limit are left out, and the
    // result says which.
    ImportResult result = readPhotos(listing.paths.mid(0, MaxPhotos), stop, progress);
    result.folderMissing = listing.folderMissing;
    result.folderUnreadable = listing.folderUnreadable;
    if (!result.cancelled)
        noteLeftOut(result, listing.paths, MaxPhotos);
    return result;
}

void noteLeftOut(ImportResult& result, const QStringList& paths, int taken)
{
    result.leftOut = int(paths.size()) - taken;
    if (result.leftOut > 0) {
        result.firstLeftOut = colGetFiles::GetFileName(paths.at(taken));
        result.lastLeftOut = colGetFiles::GetFileName(paths.constLast());
    } else {
        result.leftOut = 0;
    }
}

} // namespace PhotoImport
