// SPDX-License-Identifier: MIT
#include "app/cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include "app/programinfo.h"
#include "catalogue/cgetfiles.h"
#include "catalogue/photoimport.h"
#include "catalogue/photolistfile.h"
#include "components/photolistmodel.h"
#include "design/ccolor.h"
#include "generate/albumoptionsfile.h"

namespace Cli
{

namespace
{

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// The first "*.css" of the program folder in name order: what cboTheme selects at start-up.
QString firstTheme(const QString& programFolder)
{
    CGetFiles files;
    files.setRecMax(999);
    (void)files.GetFiles(programFolder, QStringLiteral("*.css"));
    const clsGetFiles* first = files.Record().Item(1);
    return first ? first->FileName : QString();
}

bool parseDetails(const QString& list, const QStringList& names, QList<bool*> flags, QString* error)
{
    for (bool* flag : flags)
        *flag = false;
    const QString trimmed = list.trimmed().toLower();
    if (trimmed == QLatin1String("none"))
        return true;
    if (trimmed == QLatin1String("all")) {
        for (bool* flag : flags)
            *flag = true;
        return true;
    }
    for (const QString& item : trimmed.split(QLatin1Char(','))) {
        const qsizetype at = names.indexOf(item.trimmed());
        if (at < 0)
            return fail(error, QStringLiteral("unknown detail \"%1\" (one of %2, or all, none)")
                                   .arg(item.trimmed(), names.join(QStringLiteral(", "))));
        *flags[at] = true;
    }
    return true;
}

} // namespace

QString defaultProgramFolder()
{
    const QString overridden = qEnvironmentVariable("LUMIVERT_PROGRAM_DIR");
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

QString usage()
{
    return QStringLiteral("Usage: lumivert-cli FOLDER [options]\n"
                          "Writes the web album of the photos in FOLDER into FOLDER/Lumivert.\n"
                          "Photos are its *.jpg, *.jpeg, *.heic, *.heif, *.hif and *.avif files (JPEG or HEIF).\n"
                          "Options default to those of the last album made in FOLDER (FOLDER/Lumivert.opt,\n"
                          "by the window or by this tool), else to the values in parentheses; the flags\n"
                          "given override them, and a written album remembers its options.\n"
                          "  --title TEXT             album title (Lumivert)\n"
                          "  --width 480|640|800      page width (480)\n"
                          "  --quality low|standard|high  JPEG quality (standard)\n"
                          "  --progressive            progressive JPEG page and cover images\n"
                          "  --density 1|2            2: second images at twice the size for high-density\n"
                          "                           screens, offered through srcset; 1: none (2)\n"
                          "  --colour NAME            one of the sixteen colour names (navy)\n"
                          "  --theme FILE.css         style sheet template (the first in name order)\n"
                          "  --background FILE.jpg|none  background image, a path or a name in 背景画像 (none)\n"
                          "  --cover N                cover photo number (1)\n"
                          "  --effect 0-5             cover effect (0, none)\n"
                          "  --index-details LIST     no,filename,caption,date or all or none (no)\n"
                          "  --page-details LIST      filename,caption,date,model,tv,av or all or none (caption)\n"
                          "  --japanese-navi          Japanese navigation bar\n"
                          "  --slideshow SECONDS      turn the pages automatically (1 to 99 seconds)\n"
                          "  --page-style-only        keep the images, rewrite the pages and style\n"
                          "  --list-only              only import (or load) and save the list file\n"
                          "  --reimport               read the photos afresh; an existing list file\n"
                          "                           (order, rotations, captions) is left as it is\n"
                          "  --replace-list           with --reimport: write the new list over it\n"
                          "  -h, --help               print this help and exit\n"
                          "  --version                print the version and exit\n"
                          "Exit status: 0 album written, 1 a page could not be written, 2 bad arguments or input.\n");
}

namespace
{

// Reads the flags onto a's options and finds the folder; false, with the reason, on a mistake.
bool parseOnto(Arguments& a, const QStringList& arguments, const QString& programFolder, QString& folder,
               QString* error)
{
    AlbumOptions& o = a.options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString arg = arguments.at(i);
        std::optional<QString> inlineValue;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            inlineValue = arg.mid(arg.indexOf(QLatin1Char('=')) + 1);
            arg = arg.left(arg.indexOf(QLatin1Char('=')));
        }
        auto value = [&](QString* v) {
            if (inlineValue) {
                *v = *inlineValue;
                return true;
            }
            if (i + 1 >= arguments.size())
                return fail(error, QStringLiteral("%1 needs a value").arg(arg));
            *v = arguments.at(++i);
            return true;
        };
        auto flag = [&](bool* target) {
            if (inlineValue)
                return fail(error, QStringLiteral("%1 takes no value").arg(arg));
            *target = true;
            return true;
        };
        QString v;
        bool ok = true;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            a.help = true;
            return true;
        } else if (arg == QLatin1String("--version")) {
            a.version = true;
            return true;
        } else if (arg == QLatin1String("--title")) {
            ok = value(&v);
            if (ok && v.size() > 80)
                ok = fail(error, QStringLiteral("--title: at most 80 characters"));
            o.title = v;
        } else if (arg == QLatin1String("--width")) {
            ok = value(&v);
            const QStringList widths{"480", "640", "800"};
            if (ok && !widths.contains(v))
                ok = fail(error, QStringLiteral("--width: 480, 640 or 800"));
            o.pageWidthIndex = int(widths.indexOf(v));
        } else if (arg == QLatin1String("--quality")) {
            ok = value(&v);
            const QStringList qualities{"low", "standard", "high"};
            if (ok && !qualities.contains(v))
                ok = fail(error, QStringLiteral("--quality: low, standard or high"));
            o.qualityIndex = int(qualities.indexOf(v));
        } else if (arg == QLatin1String("--progressive")) {
            ok = flag(&o.progressive);
        } else if (arg == QLatin1String("--density")) {
            ok = value(&v);
            if (ok && v != QLatin1String("1") && v != QLatin1String("2"))
                ok = fail(error, QStringLiteral("--density: 1 or 2"));
            o.highDensity = v == QLatin1String("2");
        } else if (arg == QLatin1String("--colour") || arg == QLatin1String("--color")) {
            ok = value(&v);
            if (ok && CColor().indexOf(v) == 0)
                ok = fail(error, QStringLiteral("--colour: unknown colour \"%1\"").arg(v));
            o.colorName = v;
        } else if (arg == QLatin1String("--theme")) {
            ok = value(&v);
            // A bare name is a file of the program folder, as the style sheet list holds them;
            // a path is taken relative to it, so the options keep naming a file in one place.
            const QFileInfo info(v.contains(QLatin1Char('/')) || v.contains(QDir::separator())
                                     ? QFileInfo(v)
                                     : QFileInfo(QDir(programFolder), v));
            if (ok && !info.isFile())
                ok = fail(error, QStringLiteral("--theme: no style sheet \"%1\"").arg(v));
            o.themeFile = QDir::toNativeSeparators(QDir(programFolder).relativeFilePath(info.absoluteFilePath()));
        } else if (arg == QLatin1String("--background")) {
            ok = value(&v);
            if (ok && v == QLatin1String("none")) {
                o.background = false;
                o.backgroundFile.clear();
            } else if (ok) {
                QFileInfo info(v);
                if (!info.isFile())
                    info = QFileInfo(QDir(programFolder).filePath(QStringLiteral("背景画像/") + v));
                if (!info.isFile())
                    ok = fail(error, QStringLiteral("--background: no image \"%1\"").arg(v));
                o.background = true;
                o.backgroundFile = QDir::toNativeSeparators(info.absoluteFilePath());
            }
        } else if (arg == QLatin1String("--cover")) {
            ok = value(&v);
            a.coverGiven = true;
            o.coverNumber = v.toInt(&ok);
            if (!ok || o.coverNumber < 0 || o.coverNumber > MaxPhotos)
                ok = fail(error, QStringLiteral("--cover: a photo number"));
        } else if (arg == QLatin1String("--effect")) {
            ok = value(&v);
            o.coverEffect = v.toInt(&ok);
            if (!ok || o.coverEffect < 0 || o.coverEffect > 5)
                ok = fail(error, QStringLiteral("--effect: 0 to 5"));
        } else if (arg == QLatin1String("--index-details")) {
            ok = value(&v) && parseDetails(v, {"no", "filename", "caption", "date"},
                                           {&o.indexNo, &o.indexFileName, &o.indexCaption, &o.indexDate}, error);
        } else if (arg == QLatin1String("--page-details")) {
            ok =
                value(&v) &&
                parseDetails(v, {"filename", "caption", "date", "model", "tv", "av"},
                             {&o.pageFileName, &o.pageCaption, &o.pageDate, &o.pageModel, &o.pageTv, &o.pageAv}, error);
        } else if (arg == QLatin1String("--japanese-navi")) {
            ok = flag(&o.japaneseNavi);
        } else if (arg == QLatin1String("--slideshow")) {
            ok = value(&v);
            // The show-time box's rule: one or two digits, at least 1.
            static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
            if (ok && (!digits.match(v).hasMatch() || v.toInt() < 1))
                ok = fail(error, QStringLiteral("--slideshow: 1 to 99 seconds"));
            o.slideShow = true;
            o.showTime = v;
        } else if (arg == QLatin1String("--page-style-only")) {
            bool on = false;
            ok = flag(&on);
            a.mode = GenerationMode::PageStyleOnly;
        } else if (arg == QLatin1String("--list-only")) {
            ok = flag(&a.listOnly);
        } else if (arg == QLatin1String("--reimport")) {
            ok = flag(&a.reimport);
        } else if (arg == QLatin1String("--replace-list")) {
            ok = flag(&a.replaceList);
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            ok = fail(error, QStringLiteral("unknown option %1").arg(arg));
        } else if (folder.isEmpty()) {
            folder = arg;
        } else {
            ok = fail(error, QStringLiteral("only one folder may be given"));
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

std::optional<Arguments> parseArguments(const QStringList& arguments, const QString& programFolder, QString* error)
{
    // The flags are read twice: onto the start values, to find the folder and every mistake, then
    // onto the options remembered for that folder, which they override.
    Arguments a;
    a.options.programFolder = QDir::toNativeSeparators(programFolder);
    QString folder;
    if (!parseOnto(a, arguments, programFolder, folder, error))
        return std::nullopt;
    if (a.help || a.version)
        return a;
    if (folder.isEmpty()) {
        fail(error, QStringLiteral("no photo folder given"));
        return std::nullopt;
    }
    if (a.replaceList && !a.reimport) {
        fail(error, QStringLiteral("--replace-list goes with --reimport"));
        return std::nullopt;
    }
    const QString photoFolder = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    Arguments remembered;
    remembered.options = AlbumOptionsFile::load(photoFolder, a.options.programFolder);
    folder.clear();
    (void)parseOnto(remembered, arguments, programFolder, folder, error);
    AlbumOptions& o = remembered.options;
    if (o.themeFile.isEmpty())
        o.themeFile = firstTheme(programFolder);
    if (o.coverNumber == 0 && !remembered.coverGiven)
        o.coverNumber = 1;
    return remembered;
}

namespace
{

// What the user should know after an import: photos that could not be read and why, photos
// left out beyond the limit, a folder without photos.
void reportImport(QTextStream& err, const ImportResult& imported, const QString& folder)
{
    if (imported.folderUnreadable) {
        err << "lumivert-cli: the folder " << folder << " cannot be read: permission denied\n";
    } else if (imported.rows.isEmpty()) {
        err << "lumivert-cli: no photos (*.jpg, *.jpeg, *.heic, *.heif, *.hif, *.avif) in " << folder
            << "; the album has no photos\n";
    }
    if (!imported.problems.isEmpty()) {
        const bool one = imported.problems.size() == 1;
        err << "lumivert-cli: " << imported.problems.size() << (one ? " photo" : " photos") << " could not be read ("
            << (one ? "it stays in the list; the album shows a note in its place"
                    : "they stay in the list; the album shows a note in their place")
            << "):\n";
        for (const ImportProblem& problem : imported.problems)
            err << "  " << problem.fileName << ": " << PhotoCheck::describe(problem.finding) << "\n";
    }
    if (imported.leftOut > 0) {
        err << "lumivert-cli: " << imported.leftOut << (imported.leftOut == 1 ? " photo was" : " photos were")
            << " left out: an album holds at most " << MaxPhotos << " photos (left out: " << imported.firstLeftOut;
        if (imported.leftOut > 1)
            err << " to " << imported.lastLeftOut;
        err << ")\n";
    }
}

} // namespace

int run(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err)
{
    QString error;
    const auto parsed = parseArguments(arguments, programFolder, &error);
    if (!parsed) {
        err << "lumivert-cli: " << error << "\n" << usage();
        err.flush();
        return BadInput;
    }
    if (parsed->help || parsed->version) {
        out << (parsed->help ? usage() : ProgramInfo::versionText(QStringLiteral("lumivert-cli")));
        out.flush();
        return Written;
    }
    AlbumOptions options = parsed->options;
    const QString folder = options.photoFolder;
    if (!QFileInfo(folder).isDir()) {
        err << "lumivert-cli: the folder " << folder << " does not exist\n";
        err.flush();
        return BadInput;
    }

    PhotoListModel model;
    QList<int> widths;
    const bool listFile = PhotoListFile::exists(folder);
    const bool loaded = listFile && !parsed->reimport;
    if (loaded) {
        // The tool never shows the thumbnails and does not write a loaded list back, so they are
        // only checked, not decoded: a long list costs neither their time nor their memory.
        if (!PhotoListFile::load(model, folder, &widths, &error, SheetFile::Pictures::Checked)) {
            err << "lumivert-cli: cannot read " << PhotoListFile::path(folder) << ": " << error
                << "\n(it is left as it is; --reimport reads the photos instead, --reimport --replace-list\n"
                   "also writes their new list over it)\n";
            err.flush();
            return BadInput;
        }
        err << "Loaded " << model.photoCount() << " photos from " << PhotoListFile::path(folder) << "\n";
    } else {
        const ImportResult imported = PhotoImport::run(folder, {}, [&err](int i, int n) {
            err << "写真一覧の読み込み " << i << "/" << n << "\n";
            err.flush();
        });
        model.setRows(imported.rows);
        err << "Imported " << imported.rows.size() << " photos";
        if (imported.failed > 0)
            err << " (" << imported.failed << " could not be decoded)";
        err << "\n";
        reportImport(err, imported, folder);
    }
    err.flush();

    // As the create command: an empty list writes nothing and keeps an older file. A list just
    // loaded from the file is what the file holds already, so the file is left as it is; so is a
    // file the user's work lives in when the photos were read afresh, unless told to replace it.
    bool saved = true;
    if (listFile && parsed->reimport && !parsed->replaceList) {
        err << PhotoListFile::path(folder) << " is left as it is (--replace-list writes the new list over it)\n";
    } else if (!loaded) {
        saved = PhotoListFile::save(model, folder, widths, &error);
        if (!saved)
            err << "lumivert-cli: cannot save " << PhotoListFile::path(folder) << ": " << error << "\n";
    }
    if (parsed->listOnly) {
        err.flush();
        return saved ? Written : PagesFailed;
    }

    // A remembered cover the list no longer reaches is the first photo, as in the window.
    if (!parsed->coverGiven && (options.coverNumber < 1 || options.coverNumber > model.photoCount()))
        options.coverNumber = 1;
    const GenerationResult result =
        AlbumGenerator::run(options, model.rows(), parsed->mode, {}, [&err](int step, int i, int n) {
            err << AlbumGenerator::progressText(step, i, n) << "\n";
            err.flush();
        });
    for (const QString& image : result.failedImages)
        err << "no image: " << image << "\n";
    const QString top = QDir::toNativeSeparators(options.albumFolder() + QDir::separator() + QStringLiteral("top.htm"));
    if (!result.failedPages.isEmpty()) {
        err << result.errorText.trimmed() << "\n";
        if (!result.failureReason.isEmpty())
            err << "Reason: " << result.failureReason << "\n";
        for (const QString& page : result.failedPages)
            err << "  " << page << "\n";
        err.flush();
        return PagesFailed;
    }
    // The album was made: its options become the folder's defaults (a failure costs only those).
    if (!AlbumOptionsFile::save(options, &error))
        err << "lumivert-cli: cannot remember the options in " << AlbumOptionsFile::path(folder) << ": " << error
            << "\n";
    err.flush();
    out << top << "\n";
    out.flush();
    return Written;
}

} // namespace Cli
