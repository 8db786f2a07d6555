// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVector>

#include "components/photorow.h"
#include "generate/albumoptions.h"
#include "generate/basresoutprn.h"

/// The page of one photo, "pageNNN.htm", from the section "SimplePage" ("SimplePageJ" for the
/// Japanese navigation bar): title, page image, detail lines and the navigation bar twice.
namespace basResOutSimplePage
{

/// The five links of the navigation bar. They do not wrap: page 1's previous link and the last
/// page's next link point at the page itself.
struct NaviLinks {
    QString first;
    QString previous;
    QString counter; // "003/012"
    QString next;
    QString last;
};

NaviLinks naviLinks(int n, int count);
QString sectionName(const AlbumOptions& options);
/// The camera line: model, shutter speed, aperture as switched on, one blank between values, each
/// value HTML-escaped (they come from the photo file).
QString cameraLine(const AlbumOptions& options, const PhotoRow& photo);
/// Every CR LF pair of a caption becomes "<BR>"; a lone CR or LF stays.
QString captionLine(const QString& caption);

/// Slots 27-33: the bar, with slot 30's five marks filled first, previous, counter, next, last.
void WriteNaviBar(basResOutPrn::PageText& out, const QString& widthText, const basResOutPrn::SlotTable& slots,
                  const NaviLinks& links);
/// Printed in place of slot 37 (the page image) for a photo that has no page image.
inline constexpr int MissingImageSlot = 39;

/// Page n of photos.size() (n from 1). Slot 37 takes the page image, then the image's text
/// alternative (basResOutPrn::altText). Without hasImage, slot 39 (when the template has it)
/// stands in place of the page image. A third mark in slot 37, when the template has one, takes
/// the image's size and second image (basResOutPrn::imageAttributes) with options.highDensity,
/// else nothing.
QString WriteSimplePage(const basResOutPrn::SlotTable& slots, const AlbumOptions& options,
                        const QVector<PhotoRow>& photos, int n, bool hasImage = true,
                        const basResOutPrn::ImageSizes& imageSizes = {});
} // namespace basResOutSimplePage
