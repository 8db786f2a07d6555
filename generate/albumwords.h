// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "generate/albumoptions.h"

/// The words an album says in the language of its navigation bar: the Japanese bar keeps the
/// photo list's own texts, the English bar says them in English.
namespace AlbumWords
{

/// The unknown word of the album's language: "不明", or "Unknown" in an English album.
QString unknown(const AlbumOptions& options);

/// A shooting text from the photo list as the album shows it: the list's "不明" in the album's
/// language, and an exposure time of "0/0sec" (a photo whose EXIF has no exposure) as unknown, since
/// no shutter is open 0/0 seconds. An empty text (no shooting date) stays empty. Not escaped.
QString shooting(const QString& text, const AlbumOptions& options);

/// A whole page with its <html> element's lang attribute in the album's language ("en" for an
/// English navigation bar), so the cover's and the index's bilingual texts are read in it.
QString inAlbumLanguage(const QString& page, const AlbumOptions& options);

} // namespace AlbumWords
