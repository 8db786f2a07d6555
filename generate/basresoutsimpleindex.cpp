// SPDX-License-Identifier: MIT
#include "generate/basresoutsimpleindex.h"

#include "generate/albumwords.h"

#include <functional>

namespace basResOutSimpleIndex
{

using basResOutPrn::escapeHtml;
using basResOutPrn::photoNumberText;
using basResOutPrn::ReplaceMark;

QString imageAttributes(const AlbumOptions& options, const QString& image,
                        const std::vector<basResOutPrn::ImageSizes>& imageSizes, int m)
{
    if (!options.highDensity || size_t(m - 1) >= imageSizes.size())
        return {};
    return basResOutPrn::imageAttributes(image, imageSizes[size_t(m - 1)]);
}

QString WriteSimpleIndex(const basResOutPrn::SlotTable& slots, const AlbumOptions& options,
                         const QVector<PhotoRow>& photos, const std::vector<bool>& missingImages,
                         const std::vector<basResOutPrn::ImageSizes>& imageSizes)
{
    const QString widthText = options.widthText();
    basResOutPrn::PageText out;
    out.printHead(slots, widthText, options.title);
    out.print(slots.text(27));

    const int count = int(photos.size());
    using Detail = std::function<QString(int m)>;
    // The detail lines in their fixed order; the caption goes in as stored, line breaks included,
    // while what the photo file gave is escaped.
    const std::pair<bool, Detail> details[] = {
        {options.indexNo, [](int m) { return photoNumberText(m); }},
        {options.indexFileName, [&](int m) { return escapeHtml(photos.at(m - 1).fileName); }},
        {options.indexCaption, [&](int m) { return photos.at(m - 1).caption; }},
        {options.indexDate,
         [&](int m) { return escapeHtml(AlbumWords::shooting(photos.at(m - 1).dateTime, options)); }},
    };
    for (int r = 1; r <= count; r += 4) {
        out.print(slots.text(28));
        for (int k = 1; k <= 4; ++k) {
            const int m = r + k - 1;
            if (m <= count) {
                const QString nnn = photoNumberText(m);
                const bool missing = size_t(m - 1) < missingImages.size() && missingImages[size_t(m - 1)];
                if (missing && !slots.text(MissingImageSlot).isEmpty()) {
                    out.print(ReplaceMark(slots.text(MissingImageSlot), QStringLiteral("page%1.htm").arg(nnn)));
                } else {
                    QString cell = ReplaceMark(slots.text(29), QStringLiteral("page%1.htm").arg(nnn));
                    const QString image = QStringLiteral("index%1.jpg").arg(nnn);
                    cell = ReplaceMark(cell, image);
                    cell = ReplaceMark(cell, basResOutPrn::altText(photos.at(m - 1), m));
                    out.print(ReplaceMark(cell, imageAttributes(options, image, imageSizes, m)));
                }
            } else {
                out.print(slots.text(30));
            }
        }
        out.print(slots.text(31));
        for (const auto& [on, value] : details) {
            if (!on)
                continue;
            out.print(slots.text(32));
            for (int k = 1; k <= 4; ++k) {
                const int m = r + k - 1;
                out.print(m <= count ? ReplaceMark(slots.text(33), value(m)) : slots.text(34));
            }
            out.print(slots.text(35));
        }
        out.printSlots(slots, 36, 38);
    }
    out.printSlots(slots, 39, 42);
    return AlbumWords::inAlbumLanguage(out.text(), options);
}

} // namespace basResOutSimpleIndex
