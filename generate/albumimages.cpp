// SPDX-License-Identifier: MIT
#include "generate/albumimages.h"

#include <QDir>

#include <algorithm>

#include "design/covereffect.h"
#include "generate/basresoutprn.h"

namespace AlbumImages
{

namespace
{
bool turnsQuarter(int code)
{
    return code == 1 || code == 2;
}
QSize transposed(QSize s)
{
    return QSize(s.height(), s.width());
}
// The decoded photo fitted into the box and turned by the code (the photo was decoded for the
// box turned with it). A JPEG cut short decodes with its missing part grey; like a photo that
// cannot be read, it gets no album images (its pages show the template's note instead).
QImage fittedAndTurned(const Imaging::LoadResult& loaded, int rotationCode, QSize box)
{
    if (!loaded.ok() || loaded.cutShort)
        return {};
    const QSize want =
        albumImageSize(loaded.fullSize.isValid() ? loaded.fullSize : loaded.image.size(), rotationCode, box);
    if (!want.isValid())
        return {};
    const QSize unturned = turnsQuarter(rotationCode) ? transposed(want) : want;
    QImage fitted = loaded.image;
    if (fitted.size() != unturned)
        fitted = Imaging::resize(fitted, unturned);
    if (fitted.isNull())
        return {};
    return Imaging::rotateByCode(fitted, rotationCode);
}
// Fitting before turning is only the same as turning first when the box is turned too: the scale
// factor min(BH / W, BW / H) is then the one of the turned photo, operand for operand.
QSize decodeBox(int rotationCode, QSize box)
{
    return turnsQuarter(rotationCode) ? transposed(box) : box;
}
bool validRequest(int rotationCode, const std::vector<QSize>& boxes)
{
    return rotationCode >= 0 && rotationCode <= 3 && !boxes.empty() &&
           std::none_of(boxes.begin(), boxes.end(), [](QSize box) { return box.isEmpty(); });
}
} // namespace

QSize albumImageSize(QSize photoSize, int rotationCode, QSize box)
{
    if (rotationCode < 0 || rotationCode > 3)
        return {};
    return Imaging::fitSize(turnsQuarter(rotationCode) ? transposed(photoSize) : photoSize, box);
}

QImage makeAlbumImage(const QString& photoPath, int rotationCode, QSize box)
{
    if (!validRequest(rotationCode, {box}))
        return {};
    return fittedAndTurned(Imaging::load(photoPath, decodeBox(rotationCode, box)), rotationCode, box);
}

std::vector<QImage> makeAlbumImages(const QByteArray& photoBytes, int rotationCode, const std::vector<QSize>& boxes)
{
    std::vector<QImage> images(boxes.size());
    if (!validRequest(rotationCode, boxes))
        return images;
    const Imaging::LoadResult loaded = Imaging::decode(photoBytes, decodeBox(rotationCode, boxes[0]));
    images[0] = fittedAndTurned(loaded, rotationCode, boxes[0]);
    if (images[0].isNull())
        return images;
    // Another image is an area reduction of the first when that is smaller on both sides (every
    // preset's index image) and the first is itself a reduction of the photo. A photo smaller than
    // the first box, or an odd pair of boxes, is decoded again: enlarging and then reducing would
    // blur, and such a photo is cheap to decode.
    const QSize full = loaded.fullSize.isValid() ? loaded.fullSize : loaded.image.size();
    const QSize turnedFull = turnsQuarter(rotationCode) ? transposed(full) : full;
    const QSize first = images[0].size();
    const bool firstReduces = first.width() <= turnedFull.width() && first.height() <= turnedFull.height();
    for (size_t k = 1; k < boxes.size(); ++k) {
        const QSize want = albumImageSize(full, rotationCode, boxes[k]);
        if (want == first)
            images[k] = images[0];
        else if (firstReduces && want.width() <= first.width() && want.height() <= first.height())
            images[k] = Imaging::resize(images[0], want);
        else
            images[k] =
                fittedAndTurned(Imaging::decode(photoBytes, decodeBox(rotationCode, boxes[k])), rotationCode, boxes[k]);
    }
    return images;
}

bool produceAlbumImage(const QString& photoPath, int rotationCode, QSize box, const QString& target,
                       Imaging::SaveKind kind, int quality)
{
    const QImage image = makeAlbumImage(photoPath, rotationCode, box);
    return !image.isNull() && Imaging::save(image, target, kind, quality);
}

QImage makeCoverImage(const QString& albumFolder, int coverNumber, int effectIndex)
{
    if (effectIndex < 0 || effectIndex > 5 || coverNumber < 1)
        return {};
    const QString source =
        QDir(albumFolder).filePath(QStringLiteral("page%1.jpg").arg(basResOutPrn::photoNumberText(coverNumber)));
    const Imaging::LoadResult loaded = Imaging::load(source);
    if (!loaded.ok())
        return {};
    return CoverEffect::album(loaded.image, effectIndex);
}

bool produceCoverImage(const QString& albumFolder, int coverNumber, int effectIndex, Imaging::SaveKind kind,
                       int quality)
{
    const QImage cover = makeCoverImage(albumFolder, coverNumber, effectIndex);
    return !cover.isNull() &&
           Imaging::save(cover, QDir(albumFolder).filePath(QStringLiteral("top.jpg")), kind, quality);
}

QString produceBackgroundImage(const QString& sourcePath, const QString& targetFolder)
{
    if (sourcePath.isEmpty())
        return {};
    const Imaging::LoadResult loaded = Imaging::load(sourcePath);
    if (!loaded.ok())
        return {};
    QString target;
    bool ok = false;
    if (loaded.format == Imaging::FileFormat::Jpeg) {
        target = QDir(targetFolder).filePath(QStringLiteral("background.jpg"));
        ok = Imaging::save(loaded.image, target, Imaging::SaveKind::BaselineJpeg, 75);
    } else if (loaded.format == Imaging::FileFormat::Gif) {
        target = QDir(targetFolder).filePath(QStringLiteral("background.gif"));
        ok = Imaging::save(loaded.image, target, Imaging::SaveKind::Gif);
    }
    return ok ? target : QString();
}

} // namespace AlbumImages
