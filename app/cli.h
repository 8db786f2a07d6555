// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "generate/albumgenerator.h"
#include "generate/albumoptions.h"

class QTextStream;

/// lumivert-cli: the album generation without a window.
///
///   lumivert-cli FOLDER [--title TEXT] [--width 480|640|800] [--quality low|standard|high]
///                [--progressive] [--colour NAME] [--theme FILE.css] [--background FILE.jpg|none]
///                [--cover N] [--effect 0-5] [--index-details LIST] [--page-details LIST]
///                [--japanese-navi] [--slideshow SECONDS] [--page-style-only] [--list-only] [--reimport]
///
/// Loads FOLDER's list file (imports the folder when there is none, or with --reimport), saves the
/// list file as the create command does, then generates the album. Every option defaults to the
/// main window's initial value.
namespace Cli
{

enum ExitCode { Written = 0, PagesFailed = 1, BadInput = 2 };

struct Arguments {
    AlbumOptions options; // photoFolder and programFolder filled in
    GenerationMode mode = GenerationMode::NewAlbum;
    bool listOnly = false;
    bool reimport = false;
    bool help = false;
    bool version = false;
};

/// The program folder: $LUMIVERT_PROGRAM_DIR when set, else the executable's folder.
QString defaultProgramFolder();

/// Parses the arguments (without the program name). Theme and background names are looked up in
/// programFolder. Nothing on error, with the reason in *error.
std::optional<Arguments> parseArguments(const QStringList& arguments, const QString& programFolder,
                                        QString* error = nullptr);

/// The whole run; progress and messages go to err, the written cover page's path to out.
int run(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err);

QString usage();

} // namespace Cli
