// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVector>

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
QString WriteSimpleIndex(const basResOutPrn::SlotTable& slots, const AlbumOptions& options,
                         const QVector<PhotoRow>& photos);
[[nodiscard]] bool WriteSimpleIndex(const AlbumOptions& options, const QVector<PhotoRow>& photos,
                                    const QString& outputFileName, QString* error = nullptr);
} // namespace basResOutSimpleIndex
