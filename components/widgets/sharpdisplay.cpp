// SPDX-License-Identifier: MIT
#include "components/widgets/sharpdisplay.h"

#include <cmath>

#include "components/photolistmodel.h"
#include "components/sharppictures.h"

namespace SharpDisplay
{

QPixmap fitted(const QImage& picture, QSize box, bool shrinkOnly)
{
    if (picture.isNull() || box.isEmpty())
        return {};
    const qreal ratio = SharpPictures::instance().devicePixelRatio();
    // The picture's size in logical pixels: a sharp picture of ratio 2 counts half.
    const QSizeF logical = QSizeF(picture.size()) / picture.devicePixelRatio();
    QSizeF want = logical.scaled(QSizeF(box), Qt::KeepAspectRatio);
    if (shrinkOnly && logical.width() <= box.width() && logical.height() <= box.height())
        want = logical;
    const QSize device(std::max(1, int(std::lround(want.width() * ratio))),
                       std::max(1, int(std::lround(want.height() * ratio))));
    QImage image =
        picture.size() == device ? picture : picture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

QImage listPicture(const PhotoListModel& model, int r, QObject* receiver, std::function<void()> whenSharp)
{
    if (r < 1 || r > model.photoCount())
        return {};
    const PhotoRow& row = model.photoAt(r);
    QImage sharp = SharpPictures::instance().picture(row.pathName, row.rotation);
    if (sharp.isNull()) {
        if (receiver && whenSharp && !row.pathName.isEmpty())
            SharpPictures::instance().request(row.pathName, receiver, std::move(whenSharp));
        return model.cellPicture(r, PhotoColumn::Picture);
    }
    sharp.setDevicePixelRatio(1.0);
    return sharp;
}

} // namespace SharpDisplay
