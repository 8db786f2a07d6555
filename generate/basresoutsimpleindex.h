// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVector>

#include <vector>

#include "components/photorow.h"
#include "generate/albumoptions.h"
#include "generate/basresoutprn.h"

/// The index page "index.htm" from the template section "SimpleIndex": thumbnails four to a row,
/// each row followed by its enabled detail lines (serial number, file name, caption, date).
namespace basResOutSimpleIndex
{
inline const QString SectionName = QStringLiteral("SimpleIndex");
/// photos[n - 1] is photo n. Slot 29 takes the photo page, the thumbnail, then the thumbnail's
/// text alternative (basResOutPrn::altText).
/// Printed in place of slot 29 for a photo without an index image; its mark gets the photo page.
inline constexpr int MissingImageSlot = 43;

/// missingImages[m - 1] true: photo m has no index image, slot 43 (when the template has it)
/// stands in place of its thumbnail cell. A fourth mark in slot 29, when the template has one,
/// takes the thumbnail's size and second image (basResOutPrn::imageAttributes of imageSizes[m - 1])
/// with options.highDensity, else nothing.
QString WriteSimpleIndex(const basResOutPrn::SlotTable& slots, const AlbumOptions& options,
                         const QVector<PhotoRow>& photos, const std::vector<bool>& missingImages = {},
                         const std::vector<basResOutPrn::ImageSizes>& imageSizes = {});

/// The thumbnail attributes of photo m (1-based) for the options: empty with the choice off or
/// without a size for it.
QString imageAttributes(const AlbumOptions& options, const QString& image,
                        const std::vector<basResOutPrn::ImageSizes>& imageSizes, int m);
} // namespace basResOutSimpleIndex
