// SPDX-License-Identifier: MIT
#include "generate/albumimages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <iterator>

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
// The picture's size from the header in the bytes; invalid when it says nothing.
QSize headerSize(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    return size.isValid() && !size.isEmpty() ? size : QSize();
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
    return fittedAndTurned(Imaging::load(photoPath, decodeBox(rotationCode, box)), rotationCode, box);
}

QSize secondImageSize(QSize photoSize, int rotationCode, QSize box)
{
    const QSize design = albumImageSize(photoSize, rotationCode, box);
    if (!design.isValid())
        return {};
    const QSize turned = turnsQuarter(rotationCode) ? transposed(photoSize) : photoSize;
    QSize second = Imaging::fitSize(turned, box * 2);
    if (second.width() > turned.width() || second.height() > turned.height())
        second = turned; // never enlarged: the photo at its own size
    if (second.width() <= design.width() || second.height() <= design.height())
        return {};
    return second;
}

namespace
{
// An image of the wanted size (turned already) reduced from the smallest of the candidates that
// is at least that large on both sides; the candidates are ordered small to large.
QImage reducedFrom(std::initializer_list<const QImage*> candidates, QSize want)
{
    for (const QImage* from : candidates) {
        if (from->isNull() || from->width() < want.width() || from->height() < want.height())
            continue;
        return from->size() == want ? *from : Imaging::resize(*from, want);
    }
    // Only a design image that enlarges a small photo gets here: from the largest.
    const QImage* largest = *std::prev(candidates.end());
    return Imaging::resize(*largest, want);
}

// All four images from one decode at the scale of the page image's second image (or of the whole
// photo when it has fewer pixels than that).
AlbumImagePair makeWithSeconds(const QByteArray& photoBytes, int rotationCode, QSize indexBox, QSize pageBox)
{
    const bool quarter = turnsQuarter(rotationCode);
    // The header's size (no decode) settles the scale; a photo whose header says nothing is
    // decoded at the doubled box.
    const QSize header = headerSize(photoBytes);
    QSize decodeTurned = pageBox * 2;
    if (header.isValid()) {
        const QSize turnedHeader = quarter ? transposed(header) : header;
        const QSize fitted = Imaging::fitSize(turnedHeader, decodeTurned);
        if (fitted.width() > turnedHeader.width() || fitted.height() > turnedHeader.height())
            decodeTurned = turnedHeader; // fewer pixels than the doubled box: the whole photo
    }
    const QSize decodeBox = quarter ? transposed(decodeTurned) : decodeTurned;
    // A progressive photo at 1/4 scale is read only to its first pass of scans: the full read
    // costs four to five times as much for a difference of a few levels, and without it a 480
    // album with second images cost four times one without.
    const Imaging::LoadResult loaded = Imaging::decode(photoBytes, decodeBox, Imaging::JpegScans::FirstPass);
    if (!loaded.ok() || loaded.cutShort)
        return {};
    const QSize full = loaded.fullSize.isValid() ? loaded.fullSize : loaded.image.size();
    const QImage decoded = Imaging::rotateByCode(loaded.image, rotationCode);
    const QSize wantPage = albumImageSize(full, rotationCode, pageBox);
    const QSize wantIndex = albumImageSize(full, rotationCode, indexBox);
    if (decoded.isNull() || !wantPage.isValid() || !wantIndex.isValid())
        return {};
    AlbumImagePair images;
    const QSize page2x = secondImageSize(full, rotationCode, pageBox);
    if (page2x.isValid())
        images.page2x = reducedFrom({&decoded}, page2x);
    images.page = reducedFrom({&images.page2x, &decoded}, wantPage);
    const QSize index2x = secondImageSize(full, rotationCode, indexBox);
    if (index2x.isValid())
        images.index2x = reducedFrom({&images.page, &images.page2x, &decoded}, index2x);
    images.index = reducedFrom({&images.index2x, &images.page, &images.page2x, &decoded}, wantIndex);
    if (images.page.isNull() || images.index.isNull())
        return {};
    return images;
}
} // namespace

AlbumImagePair makeAlbumImages(const QByteArray& photoBytes, int rotationCode, QSize indexBox, QSize pageBox,
                               bool seconds)
{
    // A photo cut short is known from its bytes before any decode (the check load() flags it with):
    // it gets no images, and the decoder is spared its warnings about the missing data.
    if (rotationCode < 0 || rotationCode > 3 || indexBox.isEmpty() || pageBox.isEmpty() ||
        PhotoCheck::cutShort(photoBytes))
        return {};
    if (seconds)
        return makeWithSeconds(photoBytes, rotationCode, indexBox, pageBox);
    const Imaging::LoadResult loaded = Imaging::decode(photoBytes, decodeBox(rotationCode, pageBox));
    AlbumImagePair pair;
    pair.page = fittedAndTurned(loaded, rotationCode, pageBox);
    if (pair.page.isNull())
        return {};
    // The index image is an area reduction of the page image when that is smaller on both sides
    // (every preset) and the page image is itself a reduction of the photo. A photo smaller than
    // the page box, or an odd pair of boxes, is decoded again: enlarging and then reducing would
    // blur, and such a photo is cheap to decode.
    const QSize full = loaded.fullSize.isValid() ? loaded.fullSize : loaded.image.size();
    const QSize turnedFull = turnsQuarter(rotationCode) ? transposed(full) : full;
    const QSize wantPage = pair.page.size();
    const QSize wantIndex = albumImageSize(full, rotationCode, indexBox);
    const bool pageReduces = wantPage.width() <= turnedFull.width() && wantPage.height() <= turnedFull.height();
    if (wantIndex == wantPage)
        pair.index = pair.page;
    else if (pageReduces && wantIndex.width() <= wantPage.width() && wantIndex.height() <= wantPage.height())
        pair.index = Imaging::resize(pair.page, wantIndex);
    else
        pair.index =
            fittedAndTurned(Imaging::decode(photoBytes, decodeBox(rotationCode, indexBox)), rotationCode, indexBox);
    return pair;
}

bool produceAlbumImage(const QString& photoPath, int rotationCode, QSize box, const QString& target,
                       Imaging::SaveKind kind, int quality)
{
    const QImage image = makeAlbumImage(photoPath, rotationCode, box);
    return !image.isNull() && Imaging::save(image, target, kind, quality);
}

QString coverName(bool second)
{
    const QString name = QStringLiteral("top.jpg");
    return second ? basResOutPrn::secondImageName(name) : name;
}

QString coverSource(int coverNumber, bool second)
{
    const QString name = QStringLiteral("page%1.jpg").arg(basResOutPrn::photoNumberText(coverNumber));
    return second ? basResOutPrn::secondImageName(name) : name;
}

QImage makeCoverImage(const QString& albumFolder, int coverNumber, int effectIndex, bool second)
{
    if (effectIndex < 0 || effectIndex > 5 || coverNumber < 1)
        return {};
    const QString source = QDir(albumFolder).filePath(coverSource(coverNumber, second));
    if (second && !QFileInfo::exists(source))
        return {};
    const Imaging::LoadResult loaded = Imaging::load(source);
    if (!loaded.ok())
        return {};
    return CoverEffect::album(loaded.image, effectIndex, second ? 2 : 1);
}

bool produceCoverImage(const QString& albumFolder, int coverNumber, int effectIndex, Imaging::SaveKind kind,
                       int quality, bool seconds, const QStringList& kept)
{
    const QDir album(albumFolder);
    const QString secondPath = album.filePath(coverName(true));
    const bool keepSecond = seconds && kept.contains(coverName(true));
    if (!keepSecond)
        QFile::remove(secondPath); // an earlier run's, of another cover or effect
    if (!kept.contains(coverName(false))) {
        const QImage cover = makeCoverImage(albumFolder, coverNumber, effectIndex);
        if (cover.isNull() || !Imaging::save(cover, album.filePath(coverName(false)), kind, quality))
            return false;
    }
    if (seconds && !keepSecond) {
        const QImage second = makeCoverImage(albumFolder, coverNumber, effectIndex, true);
        if (!second.isNull())
            (void)Imaging::save(second, secondPath, kind, quality);
    }
    return true;
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
