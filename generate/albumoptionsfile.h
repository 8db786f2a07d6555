// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "generate/albumoptions.h"

/// The album options remembered per photo folder: "Lumivert.opt" beside the list file, written
/// when an album is created there and read when the folder's list is read or loaded, so a later
/// run (or lumivert-cli) rewrites the album with the options it was made with.
///
/// The file is UTF-8 text: the line "Lumivert album options 1", then one "key=value" line per
/// option (every key once, in any order; keys this version does not know are ignored; a missing
/// "highDensity", as in files written before it existed, reads as "no"). String
/// values escape "\" as "\\", line feed as "\n" and carriage return as "\r". The style sheet is
/// stored as its file name in the program folder and the background image as its file name in
/// 背景画像 (a full path when it lies elsewhere), never as a position in a list.
/// Any thread; every call stands alone.
namespace AlbumOptionsFile
{

inline constexpr char FileName[] = "Lumivert.opt";

QString path(const QString& photoFolder);

/// The options remembered for photoFolder, with photoFolder and programFolder filled in. A missing
/// or damaged file gives the start values (AlbumOptions{}) and is left as it is. A remembered style
/// sheet that no longer exists gives themeFile "" (the caller's default, the first in name order);
/// a remembered background image that no longer exists gives no background and backgroundFile "".
/// The cover number is taken as stored: the caller checks it against its photo list.
AlbumOptions load(const QString& photoFolder, const QString& programFolder);

/// Writes the options to path(options.photoFolder) whole or not at all (QSaveFile).
[[nodiscard]] bool save(const AlbumOptions& options, QString* error = nullptr);

/// The file's bytes for the options, and back (nothing when damaged). The style sheet and the
/// background image are checked against the program folder by load(), not here.
QByteArray encode(const AlbumOptions& options);
std::optional<AlbumOptions> decode(const QByteArray& bytes, const QString& programFolder);

} // namespace AlbumOptionsFile
