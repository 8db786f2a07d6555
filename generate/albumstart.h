// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "generate/albumoptions.h"

/// What both the window and lumivert-cli check before a generation starts, so that a run that
/// cannot make an album touches nothing and says why in the system's own words.
namespace AlbumStart
{

enum class Verdict {
    Ready,        // the album folder exists (made now if it was not there)
    NoPhotos,     // an empty list: nothing to make, nothing touched
    FolderFailed, // the album folder could not be made; *reason says why
};

/// Checks the list's size and makes options.albumFolder() when it is missing. reason gets the
/// system's English text ("Permission denied") when the folder could not be made.
Verdict prepare(const AlbumOptions& options, int photoCount, QString* reason = nullptr);

/// Whether new files can be made in folder; false with the system's English reason when not
/// (a read-only folder of someone else's, a read-only medium). A missing folder is not writable.
bool folderWritable(const QString& folder, QString* reason = nullptr);

} // namespace AlbumStart
