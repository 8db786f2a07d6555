// SPDX-License-Identifier: MIT
#include "generate/basresoutsimpletop.h"

#include "generate/albumwords.h"

namespace basResOutSimpleTop
{

using basResOutPrn::ReplaceMark;

QString WriteSimpleTop(const basResOutPrn::SlotTable& slots, const AlbumOptions& options,
                       const QVector<PhotoRow>& photos, bool hasCoverImage, const basResOutPrn::ImageSizes& coverSizes)
{
    const QString widthText = options.widthText();
    basResOutPrn::PageText out;
    out.printHead(slots, widthText, options.title);
    out.printSlots(slots, 27, 34);
    const int cover = options.coverNumber;
    const QString coverAlt =
        cover >= 1 && cover <= photos.size() ? basResOutPrn::altText(photos.at(cover - 1), cover) : QString();
    if (!hasCoverImage && !slots.text(MissingImageSlot).isEmpty())
        out.print(ReplaceMark(slots.text(MissingImageSlot), QStringLiteral("index.htm")));
    else
        out.print(ReplaceMark(ReplaceMark(ReplaceMark(slots.text(35), QStringLiteral("index.htm")), coverAlt),
                              options.highDensity ? basResOutPrn::imageAttributes(QStringLiteral("top.jpg"), coverSizes)
                                                  : QString()));
    out.printSlots(slots, 36, 40);
    return AlbumWords::inAlbumLanguage(out.text(), options);
}

} // namespace basResOutSimpleTop
