// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "generate/albumgenerator.h"
#include "generate/albumoptions.h"

class QTextStream;
class QTranslator;

/// lumivert-cli: the album generation without a window.
///
///   lumivert-cli FOLDER [--title TEXT] [--width 480|640|800] [--quality low|standard|high]
///                [--progressive] [--colour NAME] [--theme FILE.css] [--background FILE.jpg|none]
///                [--cover N] [--effect 0-5] [--index-details LIST] [--page-details LIST]
///                [--japanese-navi] [--slideshow SECONDS] [--page-style-only] [--list-only]
///                [--reimport [--replace-list]] [--quiet]
///
/// Loads FOLDER's list file, or imports the folder when there is none (then saves the new list as
/// the create command does), then generates the album. --reimport imports the folder even when a
/// list file exists and leaves that file as it is (it holds the user's order, rotations and
/// captions); only --replace-list writes the new list over it. Every option defaults to the one
/// remembered for FOLDER by the last album made there (AlbumOptionsFile), else to the main
/// window's initial value; the flags override them. A created album remembers its options.
/// Its texts are in the language the window would use (English unless the locale or LUMIVERT_LANG
/// says Japanese), through the same translations.
namespace Cli
{

/// LockBusy: another run kept writing the folder's album longer than lumivert-cli waits for it.
enum ExitCode { Written = 0, PagesFailed = 1, BadInput = 2, LockBusy = 3 };

struct Arguments {
    AlbumOptions options; // photoFolder and programFolder filled in
    GenerationMode mode = GenerationMode::NewAlbum;
    bool coverGiven = false; // --cover was given; else the number is the remembered one or 1
    bool listOnly = false;
    bool reimport = false;
    bool replaceList = false; // with reimport: the new list replaces an existing list file
    bool quiet = false;       // only errors and problem reports on standard error
    bool help = false;
    bool version = false;
    QStringList notes; // remembered options not used, and why
};

/// The program folder: $LUMIVERT_PROGRAM_DIR when set, else the executable's folder.
QString defaultProgramFolder();

/// Where the messages go: progress is rewritten in place on a terminal, one line per step elsewhere.
struct Console {
    bool terminal = false;
};

/// The language of the texts: "ja" or "en", decided as the window decides it.
QString language();
/// Loads translations/lumivert_<language>.qm from the first of folders that has it; false for
/// Japanese (the texts' own language) or when none has it.
bool loadTranslation(QTranslator& translator, const QString& language, const QStringList& folders);

/// Parses the arguments (without the program name) onto the options remembered for the folder.
/// Theme and background names are looked up in programFolder. Nothing on error, with the reason in
/// *error.
std::optional<Arguments> parseArguments(const QStringList& arguments, const QString& programFolder,
                                        QString* error = nullptr);

/// The whole run; progress and messages go to err, the written cover page's path to out.
int run(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err,
        const Console& console = {});

/// The --help text, with the exit statuses.
QString usage();

} // namespace Cli
