// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>

#include "components/imaging.h"

namespace Imaging
{

/// loadPhoto(path, box) for a list thumbnail, taking the photo's embedded EXIF thumbnail when it
/// will do: a JPEG at least fitSize(fullSize, box) on both sides whose aspect ratio is within 1 %
/// of the photo's (a thumbnail with bars, or of a cropped photo, fails that). The picture is then
/// that thumbnail fitted to the box, and only the photo's headers are read; otherwise the photo is
/// decoded as loadPhoto does. fullSize is always the photo's own size.
[[nodiscard]] Photo loadPhotoThumbnail(const QString& path, QSize box);

} // namespace Imaging
