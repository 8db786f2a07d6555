// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVector>

#include "components/photorow.h"

#include "generate/albumoptions.h"
#include "generate/basresoutprn.h"

/// The cover page "top.htm" from the template section "SimpleTop".
namespace basResOutSimpleTop
{
inline const QString SectionName = QStringLiteral("SimpleTop");
/// Printed in place of slot 35 when there is no cover image; its mark gets "index.htm".
inline constexpr int MissingImageSlot = 41;

/// The page's text: slots 1-40, 11 and 26 with the width text, 15 with the title, 35 with "index.htm"
/// and then the cover image's text alternative (that of photo options.coverNumber of photos, see
/// basResOutPrn::altText; empty when there is no such photo). Without hasCoverImage, slot 41 (when
/// the template has it) stands in place of slot 35.
/// A third mark in slot 35, when the template has one, takes the cover's size and second image
/// (basResOutPrn::imageAttributes of "top.jpg") with options.highDensity, else nothing.
QString WriteSimpleTop(const basResOutPrn::SlotTable& slots, const AlbumOptions& options,
                       const QVector<PhotoRow>& photos = {}, bool hasCoverImage = true,
                       const basResOutPrn::ImageSizes& coverSizes = {});
} // namespace basResOutSimpleTop
