// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "generate/albumoptions.h"

/// The preview: the sample album shown with the options' style sheet and background. The sample
/// that ships under the program folder is only read; the preview works on the user's own copy of
/// it, so it shows the options whether or not the program folder is writable.
namespace Preview
{
QString folder(const QString& programFolder); // the shipped sample: programFolder/Preview/Lumivert
/// The user's copy: the cache folder's lumivert/Preview/Lumivert ("" when there is no cache folder).
QString userFolder();
/// Brings the copy in copyFolder up to date with the shipped sample, replaces its style sheet and
/// background with the options' ones and returns the path of its "top.htm" for the caller to open.
/// When the copy cannot be made: "" and the reason in *error.
QString run(const AlbumOptions& options, const QString& copyFolder = userFolder(), QString* error = nullptr);
} // namespace Preview
