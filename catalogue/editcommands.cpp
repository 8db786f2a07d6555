// SPDX-License-Identifier: MIT
#include "catalogue/editcommands.h"

#include "components/imaging.h"
#include "components/photorow.h"
#include "components/photolistmodel.h"

namespace EditCommands
{

int moveTop(PhotoListModel& model, int r)
{
    const int n = model.photoCount();
    if (r > 1 && r <= n)
        model.movePhoto(r, 1);
    // Row 1 becomes active even when nothing moved; an empty list has no row to activate.
    return n > 0 ? 1 : 0;
}

int moveUp(PhotoListModel& model, int r)
{
    if (r <= 1 || r > model.photoCount())
        return 0;
    model.swapPhotos(r, r - 1);
    return r - 1;
}

int moveDown(PhotoListModel& model, int r)
{
    if (r < 1 || r >= model.photoCount())
        return 0;
    model.swapPhotos(r, r + 1);
    return r + 1;
}

int moveBottom(PhotoListModel& model, int r)
{
    const int n = model.photoCount();
    if (r >= 1 && r < n)
        model.movePhoto(r, n);
    return n;
}

void sortByFileName(PhotoListModel& model, bool ascending)
{
    model.sortPhotos(PhotoColumn::FileName, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void sortByDate(PhotoListModel& model, bool ascending)
{
    // The date text's fixed-width digits sort in time order; "不明" sorts after every digit and an
    // empty date before them.
    model.sortPhotos(PhotoColumn::DateTime, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

bool remove(PhotoListModel& model, int r)
{
    if (r < 1 || r > model.photoCount())
        return false;
    model.removePhotos(r);
    return true;
}

QImage rotatedPicture(const QImage& image, int code)
{
    if (image.isNull())
        return {};
    const QImage turned = Imaging::rotateByCode(image, code);
    if (turned.isNull())
        return {};
    return Imaging::fit(turned, QSize(ThumbnailBoxWidth, ThumbnailBoxHeight));
}

void applyRotation(PhotoListModel& model, int r)
{
    if (r < 1 || r > model.photoCount())
        return;
    const ListPicture source = model.photoAt(r).image;
    const QImage image = source.toImage();
    const QImage picture = rotatedPicture(image, model.photoAt(r).rotation);
    // Column 2 keeps its picture when there is nothing to turn.
    if (picture.isNull())
        return;
    // Unturned, column 2 is then the very picture of column 1: shared, not stored twice.
    if (picture == image)
        model.setCellPicture(r, PhotoColumn::Picture, source);
    else
        model.setCellPicture(r, PhotoColumn::Picture, picture);
}

} // namespace EditCommands
