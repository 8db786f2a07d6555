// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include "components/imaging.h"

/// The album's images: per photo an index image and a page image (turned by the photo's rotation
/// code and fitted into the preset's box), the cover "top.jpg" and the background. Photos are
/// only read. Every function is reentrant: per-photo work may run on worker threads.
namespace AlbumImages
{

/// The size an album image gets: the photo turned by the code, then scaled by
/// min(box.w / w, box.h / h), rounded halves to even. Invalid for a code outside 0..3.
QSize albumImageSize(QSize photoSize, int rotationCode, QSize box);

/// The photo turned by its rotation code and fitted into the box; null when the photo cannot be
/// decoded or the code is outside 0..3. The photo is decoded reduced straight to the fitted size
/// (the box turned with it for codes 1 and 2), which gives the size rotate-then-fit gives.
QImage makeAlbumImage(const QString& photoPath, int rotationCode, QSize box);

/// The size of the second image for a high-density screen: the photo turned and fitted into the
/// box doubled, but never beyond the photo's own pixels. Invalid when there is none, that is when
/// the design's image (albumImageSize for box) already holds all the photo's pixels.
QSize secondImageSize(QSize photoSize, int rotationCode, QSize box);

/// The images of one photo from a single decode of its bytes (the whole file, as read by
/// Imaging::readAll): the photo is decoded at the scale of the page box and the index image is
/// fitted from the page image (a progressive JPEG costs nearly a full decode at any scale, so
/// decoding it once matters); a photo smaller than the page box, or an odd pair of boxes, has its
/// index image decoded again from the same bytes. Each image is what makeAlbumImage gives for its
/// box, up to resampling; all are null when the photo cannot be decoded, is cut short, or the code
/// is outside 0..3. With seconds, the same one decode (at the scale of the doubled page box) also
/// gives the second images index2x and page2x (secondImageSize; null where there is none), and the
/// design's images are reduced from it, so their bytes differ slightly from those made without.
struct AlbumImagePair {
    QImage index;
    QImage page;
    QImage index2x;
    QImage page2x;
};
AlbumImagePair makeAlbumImages(const QByteArray& photoBytes, int rotationCode, QSize indexBox, QSize pageBox,
                               bool seconds = false);

/// makeAlbumImage, saved to target (temporary name, then renamed). False when no image was made.
[[nodiscard]] bool produceAlbumImage(const QString& photoPath, int rotationCode, QSize box, const QString& target,
                                     Imaging::SaveKind kind, int quality);

/// The cover: album folder's "page" + NNN(cover) + ".jpg" with the cover effect; null when that
/// page image cannot be loaded or the effect index is outside 0..5. With second, the cover's own
/// second image: the page image's second image with the effect at that size (its parameters
/// scaled with it); null when there is no such image.
QImage makeCoverImage(const QString& albumFolder, int coverNumber, int effectIndex, bool second = false);
/// The cover images' names ("top.jpg", and "top@2x.jpg" for the second) and the page image each
/// is made from ("page" + NNN(cover) + ".jpg", or its second image).
QString coverName(bool second);
QString coverSource(int coverNumber, bool second);
/// Writes "top.jpg" into the album folder from makeCoverImage, and with seconds also
/// "top@2x.jpg" where the cover photo has a second page image (else an old one is removed).
/// A name in kept stays as it is (an earlier run's, made the same way from the same page image).
/// False when there is no cover.
[[nodiscard]] bool produceCoverImage(const QString& albumFolder, int coverNumber, int effectIndex,
                                     Imaging::SaveKind kind, int quality, bool seconds = false,
                                     const QStringList& kept = {});

/// Decodes the background image and writes it again into targetFolder: a JPEG as
/// "background.jpg" (baseline, quality 75), a GIF as "background.gif". Returns the written path,
/// or "" when the file could not be decoded, is of another format, or the write failed.
QString produceBackgroundImage(const QString& sourcePath, const QString& targetFolder);

} // namespace AlbumImages
