// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "generate/albumoptions.h"

/// The preview: rewrites the sample album's style sheet and background from the options.
namespace Preview {
QString folder(const QString& programFolder);  // programFolder/Preview/Lumivert
/// Deletes the old style sheet and background files of the preview folder, writes the new ones,
/// and returns the path of its "top.htm" for the caller to open. Nothing is reported.
QString run(const AlbumOptions& options);
}  // namespace Preview
