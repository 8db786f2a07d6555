// SPDX-License-Identifier: MIT
#include "design/covereffect.h"

#include "components/imaging.h"

namespace CoverEffect
{

namespace
{
// The sepia tone: a warm toning, then the scene's colours faded toward it.
QImage sepia(const QImage& image)
{
    const QImage warm = Imaging::toneAdjust1(image, 40, 30, -30);
    return warm.isNull() ? QImage() : Imaging::toneAdjust2(warm, -50);
}
} // namespace

QStringList names()
{
    return {QStringLiteral("効果なし"),         QStringLiteral("キャンバス地効果"), QStringLiteral("油絵風効果"),
            QStringLiteral("ガラスタイル効果"), QStringLiteral("モノクロ効果"),     QStringLiteral("セピア調効果")};
}

// The preview works on the 120 x 90 grid picture, so its arguments are lighter than the cover's:
// the full-strength ones would flatten a thumbnail into texture.
QImage preview(const QImage& picture, int effectIndex)
{
    if (picture.isNull())
        return {};
    switch (effectIndex) {
    case 0:
        return picture;
    case 1:
        return Imaging::canvasTexture(picture, 0, 5);
    case 2:
        return Imaging::oilPainting(picture, 1, 5);
    case 3:
        return Imaging::glassTile(picture, 2, 2);
    case 4:
        return Imaging::monochrome(picture);
    case 5:
        // Both steps, as on the cover: the warming step alone leaves the scene's own colours
        // (orange skin, green leaves) and does not look like the sepia "top.jpg" gets.
        return sepia(picture);
    default:
        return {};
    }
}

QImage album(const QImage& pageImage, int effectIndex, int scale)
{
    if (pageImage.isNull() || scale < 1)
        return {};
    // The parameters as sizes in pixels: the canvas thread is 4 + p wide, the oil brush's radius
    // (q + 1) / 3, the glass tiles p x q.
    const int thread = 4 * scale;
    const int brush = 3 * scale;
    switch (effectIndex) {
    case 0:
        return Imaging::copy(pageImage);
    case 1:
        return Imaging::canvasTexture(pageImage, thread - 4, 20);
    case 2:
        return Imaging::oilPainting(pageImage, 1, scale == 1 ? 10 : 3 * brush - 1);
    case 3:
        return Imaging::glassTile(pageImage, 20 * scale, 20 * scale);
    case 4:
        return Imaging::monochrome(pageImage);
    case 5:
        return sepia(pageImage);
    default:
        return {};
    }
}

} // namespace CoverEffect
