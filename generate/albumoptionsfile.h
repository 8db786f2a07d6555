// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "generate/albumgenerator.h"
#include "generate/albumoptions.h"

/// The album options remembered per photo folder: "Lumivert.opt" beside the list file, written
/// when an album is created there and read when the folder's list is read or loaded, so a later
/// run (or lumivert-cli) rewrites the album with the options it was made with.
///
/// The file is UTF-8 text: the line "Lumivert album options 1", then one "key=value" line per
/// option (every key once, in any order; keys this version does not know are ignored). The key of an
/// option added later (AlbumOptions' addedLater rows, such as "highDensity") may be missing, as in
/// files written before it existed: the album is then re-created as it was made (a switch reads
/// "no", a choice its first word). String values escape "\" as "\\", line feed as "\n" and carriage
/// return as "\r". The style sheet is stored as its file name in the program folder and the background
/// image as its file name in 背景画像; a file of the user's as "./" and its path from the photo folder
/// when it lies inside, else as its full path; never as a position in a list. Any thread; every call
/// stands alone.
namespace AlbumOptionsFile
{

inline constexpr char FileName[] = "Lumivert.opt";

QString path(const QString& photoFolder);

/// Remembered files that load() did not use, as the file names them; "" where nothing was refused.
struct Refused {
    QString theme;
    QString background;
};

/// The options remembered for photoFolder, with photoFolder and programFolder filled in. A missing
/// or damaged file gives the start values (AlbumOptions{}) and is left as it is. A remembered style
/// sheet or background image is used only when it is one the program ships (stored by name) or a
/// file inside photoFolder, and exists: any other gives themeFile "" (the caller's default, the
/// first in name order), or no background and backgroundFile "", and is named in *refused; the
/// rest of the file still counts. The cover number is taken as stored: the caller checks it
/// against its photo list.
AlbumOptions load(const QString& photoFolder, const QString& programFolder, Refused* refused = nullptr);

/// Writes the options to path(options.photoFolder) whole or not at all (QSaveFile).
[[nodiscard]] bool save(const AlbumOptions& options, QString* error = nullptr);

/// What a creation leaves for the next one, the same for the window and lumivert-cli: the options
/// are remembered only for an album made whole (not cancelled, every page written), with the cover
/// number the list of photoCount photos reaches. NotWhole when nothing was to be saved.
enum class Remembered { Saved, NotWhole, Failed };
Remembered rememberCreation(AlbumOptions options, int photoCount, const GenerationResult& result,
                            QString* error = nullptr);

/// The file's bytes for the options, and back (nothing when damaged). The style sheet and the
/// background image are checked against the program folder by load(), not here.
QByteArray encode(const AlbumOptions& options);
std::optional<AlbumOptions> decode(const QByteArray& bytes, const QString& programFolder);

} // namespace AlbumOptionsFile
