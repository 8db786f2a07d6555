// SPDX-License-Identifier: MIT
#include "generate/albumimages.h"

#include <QDir>

#include "components/photocheck.h"
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
// A JPEG cut short decodes with its missing part grey; like a photo that cannot be read, it gets
// no album images (its pages show the template's note instead).
bool damaged(const QString& photoPath)
{
    return PhotoCheck::checkDecoded(photoPath).problem != PhotoCheck::Problem::None;
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
    if (rotationCode < 0 || rotationCode > 3 || box.isEmpty())
        return {};
    // Fitting before turning is only the same as turning first when the box is turned too: the
    // scale factor min(BH / W, BW / H) is then the one of the turned photo, operand for operand.
    const bool quarter = turnsQuarter(rotationCode);
    if (damaged(photoPath))
        return {};
    const Imaging::LoadResult loaded = Imaging::load(photoPath, quarter ? transposed(box) : box);
    if (!loaded.ok())
        return {};
    QImage fitted = loaded.image;
    const QSize want =
        albumImageSize(loaded.fullSize.isValid() ? loaded.fullSize : loaded.image.size(), rotationCode, box);
    if (!want.isValid())
        return {};
    const QSize unturned = quarter ? transposed(want) : want;
    if (fitted.size() != unturned)
        fitted = Imaging::resize(fitted, unturned);
    if (fitted.isNull())
        return {};
    return Imaging::rotateByCode(fitted, rotationCode);
}

AlbumImagePair makeAlbumImages(const QString& photoPath, int rotationCode, QSize indexBox, QSize pageBox)
{
    if (rotationCode < 0 || rotationCode > 3 || indexBox.isEmpty() || pageBox.isEmpty())
        return {};
    const bool quarter = turnsQuarter(rotationCode);
    if (damaged(photoPath))
        return {};
    const Imaging::LoadResult loaded = Imaging::load(photoPath, quarter ? transposed(pageBox) : pageBox);
    if (!loaded.ok())
        return {};
    const QSize full = loaded.fullSize.isValid() ? loaded.fullSize : loaded.image.size();
    const QSize wantPage = albumImageSize(full, rotationCode, pageBox);
    const QSize wantIndex = albumImageSize(full, rotationCode, indexBox);
    if (!wantPage.isValid() || !wantIndex.isValid())
        return {};
    QImage fitted = loaded.image;
    const QSize unturned = quarter ? transposed(wantPage) : wantPage;
    if (fitted.size() != unturned)
        fitted = Imaging::resize(fitted, unturned);
    if (fitted.isNull())
        return {};
    AlbumImagePair pair;
    pair.page = Imaging::rotateByCode(fitted, rotationCode);
    if (pair.page.isNull())
        return {};
    // The index image is an area reduction of the page image when that is smaller on both sides
    // (every preset) and the page image is itself a reduction of the photo. A photo smaller than
    // the page box, or an odd pair of boxes, is decoded again: enlarging and then reducing would
    // blur, and such a photo is cheap to decode.
    const QSize turnedFull = quarter ? transposed(full) : full;
    const bool pageReduces = wantPage.width() <= turnedFull.width() && wantPage.height() <= turnedFull.height();
    if (wantIndex == wantPage)
        pair.index = pair.page;
    else if (pageReduces && wantIndex.width() <= wantPage.width() && wantIndex.height() <= wantPage.height())
        pair.index = Imaging::resize(pair.page, wantIndex);
    else
        pair.index = makeAlbumImage(photoPath, rotationCode, indexBox);
    return pair;
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
