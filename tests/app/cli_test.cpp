// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTranslator>

#include <thread>

#include "app/cli.h"
#include "catalogue/albumlock.h"
#include "catalogue/photolistfile.h"
#include "common/testutil.h"
#include "common/albumoptionsprinter.h"
#include "generate/albumoptionsfile.h"
#include "components/photolistmodel.h"
#include "components/sheetfile.h"

namespace
{
QString program()
{
    return TestUtil::binDir();
}
} // namespace

TEST(CliArguments, DefaultsAreTheMainWindowsInitialValues)
{
    QTemporaryDir dir;
    const auto a = Cli::parseArguments({dir.path()}, program());
    ASSERT_TRUE(a);
    const AlbumOptions& o = a->options;
    EXPECT_EQ(QDir::cleanPath(o.photoFolder), QDir::cleanPath(dir.path()));
    EXPECT_EQ(o.title, "Lumivert");
    EXPECT_EQ(o.pageWidthIndex, 0);
    EXPECT_EQ(o.qualityIndex, 1);
    EXPECT_FALSE(o.progressive);
    EXPECT_TRUE(o.highDensity);
    EXPECT_EQ(o.colorName, "navy");
    EXPECT_EQ(o.themeFile, "basic.css"); // the first style sheet in name order
    EXPECT_FALSE(o.background);
    EXPECT_EQ(o.coverNumber, 1);
    EXPECT_EQ(o.coverEffect, 0);
    EXPECT_TRUE(o.indexNo);
    EXPECT_FALSE(o.indexFileName || o.indexCaption || o.indexDate);
    EXPECT_TRUE(o.pageCaption);
    EXPECT_FALSE(o.pageFileName || o.pageDate || o.pageModel || o.pageTv || o.pageAv);
    EXPECT_FALSE(o.japaneseNavi);
    EXPECT_FALSE(o.slideShow);
    EXPECT_EQ(a->mode, GenerationMode::NewAlbum);
    EXPECT_FALSE(a->listOnly);
    EXPECT_FALSE(a->reimport);
}

TEST(CliArguments, EveryOption)
{
    const QString bg = QDir(program()).filePath(QStringLiteral("背景画像/01_washi.jpg"));
    const auto a = Cli::parseArguments({"photos",
                                        "--title",
                                        "旅 <1>",
                                        "--width",
                                        "800",
                                        "--quality=high",
                                        "--progressive",
                                        "--density",
                                        "1",
                                        "--colour",
                                        "teal",
                                        "--theme",
                                        "paper.css",
                                        "--background",
                                        "01_washi.jpg",
                                        "--cover",
                                        "3",
                                        "--effect",
                                        "5",
                                        "--index-details",
                                        "filename,date",
                                        "--page-details",
                                        "model,av",
                                        "--japanese-navi",
                                        "--slideshow",
                                        "12",
                                        "--page-style-only",
                                        "--reimport"},
                                       program());
    ASSERT_TRUE(a);
    const AlbumOptions& o = a->options;
    EXPECT_EQ(o.title, "旅 <1>");
    EXPECT_EQ(o.pageWidthIndex, 2);
    EXPECT_EQ(o.qualityIndex, 2);
    EXPECT_TRUE(o.progressive);
    EXPECT_FALSE(o.highDensity);
    EXPECT_EQ(o.colorName, "teal");
    EXPECT_EQ(o.themeFile, "paper.css");
    EXPECT_TRUE(o.background);
    EXPECT_EQ(QDir::cleanPath(o.backgroundFile), QDir::cleanPath(bg));
    EXPECT_EQ(o.coverNumber, 3);
    EXPECT_EQ(o.coverEffect, 5);
    EXPECT_FALSE(o.indexNo);
    EXPECT_TRUE(o.indexFileName && o.indexDate);
    EXPECT_FALSE(o.indexCaption);
    EXPECT_TRUE(o.pageModel && o.pageAv);
    EXPECT_FALSE(o.pageCaption || o.pageTv || o.pageFileName || o.pageDate);
    EXPECT_TRUE(o.japaneseNavi);
    EXPECT_TRUE(o.slideShow);
    EXPECT_EQ(o.showTime, "12");
    EXPECT_EQ(a->mode, GenerationMode::PageStyleOnly);
    EXPECT_TRUE(a->reimport);

    const auto all = Cli::parseArguments({"p", "--index-details", "all", "--page-details", "none"}, program());
    ASSERT_TRUE(all);
    EXPECT_TRUE(all->options.indexNo && all->options.indexFileName && all->options.indexCaption &&
                all->options.indexDate);
    EXPECT_FALSE(all->options.pageCaption);
    // A theme given by path is reached from the program folder.
    QTemporaryDir themes;
    TestUtil::writeAll(themes.filePath("own.css"), "body { color: &color&; }");
    const auto ownTheme = Cli::parseArguments({"p", "--theme", themes.filePath("own.css")}, program());
    ASSERT_TRUE(ownTheme);
    EXPECT_EQ(QFileInfo(ownTheme->options.themePath()).canonicalFilePath(),
              QFileInfo(themes.filePath("own.css")).canonicalFilePath());
    // A background given by path; "none" switches it off again.
    const auto byPath = Cli::parseArguments({"p", "--background", bg, "--background", "none"}, program());
    ASSERT_TRUE(byPath);
    EXPECT_FALSE(byPath->options.background);
}

TEST(CliArguments, BadArgumentsAreRefused)
{
    const QList<QStringList> bad = {
        {},
        {"a", "b"},
        {"p", "--width", "600"},
        {"p", "--width"},
        {"p", "--quality", "best"},
        {"p", "--colour", "orange"},
        {"p", "--theme", "nosuch.css"},
        {"p", "--background", "nosuch.jpg"},
        {"p", "--cover", "x"},
        {"p", "--cover", "-1"},
        {"p", "--effect", "6"},
        {"p", "--index-details", "no,model"},
        {"p", "--page-details", "caption,"},
        {"p", "--slideshow", "0"},
        {"p", "--slideshow", "100"},
        {"p", "--slideshow", "a"},
        {"p", "--progressive=yes"},
        {"p", "--density", "3"},
        {"p", "--density"},
        {"p", "--unknown"},
        {"p", "--title", QString(81, QLatin1Char('x'))},
        {"p", "--replace-list"}, // only a re-import has a new list to write
    };
    for (const QStringList& args : bad) {
        SCOPED_TRACE(args.join(' ').toStdString());
        QString error;
        EXPECT_FALSE(Cli::parseArguments(args, program(), &error));
        EXPECT_FALSE(error.isEmpty());
        QString out, err;
        QTextStream o(&out), e(&err);
        EXPECT_EQ(Cli::run(args, program(), o, e), Cli::BadInput);
    }
}

// The tool's texts in English, as on an English locale (they are written in Japanese).
class CliRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Cli::loadTranslation(english, QStringLiteral("en"), {program()}));
        QCoreApplication::installTranslator(&english);
    }
    void TearDown() override { QCoreApplication::removeTranslator(&english); }
    QTranslator english;
    QTemporaryDir dir;
    QString out, err;
    int run(QStringList args, const QString& programFolder = program(), Cli::Console console = {})
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return Cli::run(args, programFolder, o, e, console);
    }
    QString album(const QString& name) const { return QDir(dir.filePath("Lumivert")).filePath(name); }
    void addPhotos(int count)
    {
        for (int i = 1; i <= count; ++i)
            TestUtil::writeJpeg(dir.filePath(QStringLiteral("IMG_%1.jpg").arg(i)), 640, 480, std::nullopt, false, i);
    }
};

TEST_F(CliRun, ImportsSavesTheListAndGenerates)
{
    addPhotos(3);
    EXPECT_EQ(run({dir.path(), "--title", "CLI album"}), Cli::Written) << err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("Lumivert.bin")));
    for (const char* name :
         {"top.htm", "index.htm", "page003.htm", "index003.jpg", "page003.jpg", "top.jpg", "stylesheet.css"})
        EXPECT_TRUE(QFile::exists(album(name))) << name;
    EXPECT_TRUE(TestUtil::readAll(album("top.htm")).contains("CLI album"));
    EXPECT_TRUE(out.trimmed().endsWith("top.htm"));
    // Not on a terminal: one line per step, not one per photo.
    EXPECT_TRUE(err.contains("Reading the photos (3 photos)\n")) << err.toStdString();
    EXPECT_EQ(err.count("Writing the pages (3 photos)\n"), 1) << err.toStdString();

    // The saved list is used next time: a photo added since then joins the album at the end, and
    // the list file, just loaded, is not written again (the window's next load finds the same news).
    addPhotos(4);
    const QByteArray list = TestUtil::readAll(dir.filePath("Lumivert.bin"));
    const QDateTime listTime = QFileInfo(dir.filePath("Lumivert.bin")).lastModified();
    EXPECT_EQ(run({dir.path()}), Cli::Written);
    EXPECT_TRUE(QFile::exists(album("page004.htm")));
    EXPECT_TRUE(err.contains("1 new photo was added at the end: IMG_4.jpg")) << err.toStdString();
    EXPECT_EQ(TestUtil::readAll(dir.filePath("Lumivert.bin")), list);
    EXPECT_EQ(QFileInfo(dir.filePath("Lumivert.bin")).lastModified(), listTime);
}

TEST_F(CliRun, ReimportLeavesTheListFileUnlessToldToReplaceIt)
{
    // The list file holds the user's work: a caption and an order an import would not give.
    addPhotos(2);
    EXPECT_EQ(run({dir.path(), "--list-only"}), Cli::Written);
    const QString listFile = dir.filePath("Lumivert.bin");
    {
        PhotoListModel model;
        ASSERT_TRUE(PhotoListFile::load(model, dir.path()));
        PhotoRow row = model.photoAt(2);
        row.caption = QStringLiteral("typed in the window");
        model.setPhotoAt(2, row);
        model.movePhoto(2, 1);
        ASSERT_TRUE(PhotoListFile::save(model, dir.path(), {}));
    }
    const QByteArray work = TestUtil::readAll(listFile);
    addPhotos(3);

    EXPECT_EQ(run({dir.path(), "--reimport", "--page-details", "caption,filename"}), Cli::Written);
    EXPECT_TRUE(QFile::exists(album("page003.htm"))); // the album has the photos as they are now
    EXPECT_FALSE(TestUtil::readAll(album("page001.htm")).contains("typed in the window"));
    EXPECT_TRUE(err.contains(QStringLiteral("is left as it is")));
    EXPECT_EQ(TestUtil::readAll(listFile), work);
    EXPECT_EQ(run({dir.path(), "--reimport", "--list-only"}), Cli::Written);
    EXPECT_EQ(TestUtil::readAll(listFile), work);

    EXPECT_EQ(run({dir.path(), "--reimport", "--replace-list", "--list-only"}), Cli::Written);
    PhotoListModel replaced;
    ASSERT_TRUE(PhotoListFile::load(replaced, dir.path()));
    EXPECT_EQ(replaced.photoCount(), 3);
    EXPECT_EQ(replaced.cellText(1, PhotoColumn::Caption), QString());
}

TEST_F(CliRun, ListOnlyWritesNoAlbum)
{
    addPhotos(2);
    EXPECT_EQ(run({dir.path(), "--list-only"}), Cli::Written);
    EXPECT_TRUE(QFile::exists(dir.filePath("Lumivert.bin")));
    EXPECT_FALSE(QDir(dir.filePath("Lumivert")).exists());
}

TEST_F(CliRun, MissingFolderAndDamagedListFile)
{
    EXPECT_EQ(run({dir.filePath("nosuch")}), Cli::BadInput);
    EXPECT_TRUE(err.contains(QStringLiteral("the folder %1 does not exist").arg(dir.filePath("nosuch"))));
    addPhotos(1);
    const QByteArray damaged("this is no list file");
    TestUtil::writeAll(dir.filePath("Lumivert.bin"), damaged);
    EXPECT_EQ(run({dir.path()}), Cli::BadInput);
    EXPECT_EQ(TestUtil::readAll(dir.filePath("Lumivert.bin")), damaged); // left untouched
    EXPECT_FALSE(QDir(dir.filePath("Lumivert")).exists());
    EXPECT_EQ(run({dir.path(), "--reimport"}), Cli::Written); // the photos, read afresh, make the album
    EXPECT_TRUE(QFile::exists(album("page001.htm")));
    EXPECT_EQ(TestUtil::readAll(dir.filePath("Lumivert.bin")), damaged);
    EXPECT_EQ(run({dir.path(), "--reimport", "--replace-list"}), Cli::Written);
    EXPECT_NE(TestUtil::readAll(dir.filePath("Lumivert.bin")), damaged);
}

TEST_F(CliRun, PageThatCannotBeWrittenGivesExitOne)
{
    addPhotos(2);
    QTemporaryDir programDir;
    QFile::copy(QDir(program()).filePath("basic.css"), programDir.filePath("basic.css"));
    TestUtil::writeAll(programDir.filePath("Lumivert.fmt"), "SimpleTop\r\n001 0top\r\nEnd\r\n");
    EXPECT_EQ(run({dir.path()}, programDir.path()), Cli::PagesFailed);
    EXPECT_TRUE(err.contains("The album could not be created\n")) << err.toStdString();
    EXPECT_TRUE(QFile::exists(album("top.htm")));
    EXPECT_TRUE(QFile::exists(album("page002.jpg")));
    EXPECT_FALSE(QFile::exists(album("index.htm")));
}

TEST_F(CliRun, EmptyFolderMakesNothing)
{
    // Nothing to make: no album folder, no list file, a bad-input exit.
    EXPECT_EQ(run({dir.path()}), Cli::BadInput);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("Lumivert")));
    EXPECT_FALSE(QFile::exists(dir.filePath("Lumivert.bin")));
    EXPECT_TRUE(err.contains(QStringLiteral("no photos in %1: there is nothing to make").arg(dir.path())))
        << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(CliRun, LanguageQuietAndTerminal)
{
    addPhotos(2);
    // English: no Japanese word in the progress or the messages.
    EXPECT_EQ(run({dir.path()}), Cli::Written);
    static const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
    EXPECT_FALSE(err.contains(japanese)) << err.toStdString();
    // On a terminal the progress line is rewritten in place up to 100 %.
    EXPECT_EQ(run({dir.path(), "--reimport", "--replace-list"}, program(), {true}), Cli::Written);
    EXPECT_TRUE(err.contains("\rMaking the page pictures 2/2 (100%)")) << err.toStdString();
    EXPECT_EQ(err.count("Making the page pictures"), 2); // 1/2 and 2/2 on one line
    // --quiet: nothing but the album's path.
    EXPECT_EQ(run({dir.path(), "--quiet"}), Cli::Written);
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    EXPECT_TRUE(out.trimmed().endsWith("top.htm"));
    // Japanese (the texts' own language): the same run speaks Japanese.
    QCoreApplication::removeTranslator(&english);
    EXPECT_EQ(run({dir.path(), "--reimport"}), Cli::Written);
    EXPECT_TRUE(err.contains(QStringLiteral("HTML生成（2枚）"))) << err.toStdString();
    EXPECT_EQ(run({dir.filePath("nosuch")}), Cli::BadInput);
    EXPECT_TRUE(err.contains(QStringLiteral("はありません"))) << err.toStdString();
    EXPECT_EQ(run({dir.path(), "--width"}), Cli::BadInput);
    EXPECT_TRUE(err.startsWith(QStringLiteral("lumivert-cli: --width には値が要ります\n使い方:"))) << err.toStdString();
}

TEST_F(CliRun, HelpListsTheOptionsOfTheTableAndTheExitStatuses)
{
    EXPECT_EQ(run({"--help"}), Cli::Written);
    for (const AlbumOptions::Choice& choice : AlbumOptions::choices())
        EXPECT_TRUE(out.contains(QStringLiteral("--%1 <%2>").arg(choice.key, choice.words.join('|')))) << choice.key;
    for (const char* text : {"Usage: lumivert-cli FOLDER [options]", "--quiet", "-h, --help",
                             "Exit status:", "  2  bad arguments or input", "  3  another Lumivert kept writing"})
        EXPECT_TRUE(out.contains(QLatin1String(text))) << text << "\n" << out.toStdString();
}

// In both languages every description starts at one terminal column (a kanji takes two) and no
// option line is wider than a terminal's 79 columns.
TEST_F(CliRun, HelpLinesUpInColumnsInEveryLanguage)
{
    const auto columns = [](const QString& text) {
        int n = 0;
        for (const char32_t c : text.toUcs4())
            n += c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFF9F) ? 2 : 1;
        return n;
    };
    for (const bool japanese : {false, true}) {
        if (japanese)
            QCoreApplication::removeTranslator(&english);
        EXPECT_EQ(run({"--help"}), Cli::Written);
        QSet<int> starts;
        const QStringList lines = out.split('\n');
        const qsizetype from = lines.indexOf(japanese ? QStringLiteral("オプション:") : QStringLiteral("Options:"));
        const qsizetype to =
            lines.indexOf(japanese ? QStringLiteral("終了ステータス:") : QStringLiteral("Exit status:"));
        ASSERT_TRUE(from > 0 && to > from) << out.toStdString();
        for (qsizetype i = from + 1; i < to; ++i) {
            const QString& line = lines.at(i);
            if (line.isEmpty() || line.endsWith(':'))
                continue;
            EXPECT_LE(columns(line), 79) << line.toStdString();
            const auto gap = QRegularExpression(QStringLiteral("^ +\\S+(?:[ ,]\\S+)*  +|^ +")).match(line);
            starts << columns(gap.captured());
        }
        EXPECT_EQ(starts.size(), 1) << out.toStdString();
    }
    QCoreApplication::installTranslator(&english);
}

TEST_F(CliRun, TheFolderNewsAndTheWaitInTheUsersLanguageAndQuiet)
{
    addPhotos(2);
    ASSERT_EQ(run({dir.path(), "--list-only"}), Cli::Written);
    ASSERT_TRUE(QFile::remove(dir.filePath("IMG_1.jpg")));
    TestUtil::writeJpeg(dir.filePath("IMG_3.jpg"), 640, 480, std::nullopt, false, 3);
    static const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
    // --quiet: a photo gone from the folder is a problem of the album and is said; new ones are news.
    EXPECT_EQ(run({dir.path(), "--quiet"}), Cli::Written) << err.toStdString();
    EXPECT_TRUE(err.startsWith(QStringLiteral("lumivert-cli: 1 listed photo is no longer in the folder (kept in the "
                                              "list; the album shows a note in its place): IMG_1.jpg\n")))
        << err.toStdString();
    EXPECT_FALSE(err.contains("new photo")) << err.toStdString();
    EXPECT_FALSE(err.contains("Reading")) << err.toStdString();
    // Another run writing the folder: the wait is said, in English, unless quiet.
    AlbumLock held(dir.path());
    ASSERT_EQ(held.tryLock(), AlbumLock::State::Held);
    qputenv("LUMIVERT_LOCK_WAIT", "0");
    EXPECT_EQ(run({dir.path()}), Cli::LockBusy);
    EXPECT_TRUE(err.contains("1 new photo was added at the end: IMG_3.jpg")) << err.toStdString();
    EXPECT_TRUE(err.contains("gave up waiting")) << err.toStdString();
    EXPECT_FALSE(err.contains(japanese)) << err.toStdString();
    EXPECT_EQ(run({dir.path(), "--quiet"}), Cli::LockBusy);
    EXPECT_FALSE(err.contains("waiting…")) << err.toStdString();
    EXPECT_FALSE(err.contains("new photo")) << err.toStdString();
    EXPECT_TRUE(err.contains("gave up waiting")) << err.toStdString();
    // Japanese, the texts' own language.
    QCoreApplication::removeTranslator(&english);
    EXPECT_EQ(run({dir.path()}), Cli::LockBusy);
    qunsetenv("LUMIVERT_LOCK_WAIT");
    for (const char* text : {"新しい写真1枚を最後に加えました: IMG_3.jpg", "一覧の写真1枚がフォルダにありません",
                             "別のLumivertがこのアルバムを書き込んでいます", "何も書き込んでいません"})
        EXPECT_TRUE(err.contains(QString::fromUtf8(text))) << text << "\n" << err.toStdString();
    EXPECT_FALSE(err.contains("Another Lumivert")) << err.toStdString();
}

TEST_F(CliRun, PhotosThatCannotBeReadOrAreLeftOutAreNamed)
{
    addPhotos(2);
    const QByteArray whole = TestUtil::readAll(dir.filePath("IMG_1.jpg"));
    TestUtil::writeAll(dir.filePath("cut.jpg"), whole.left(whole.size() / 2));
    TestUtil::writeAll(dir.filePath("x.jpg"), "a text file\n");
    EXPECT_EQ(run({dir.path()}), Cli::Written);
    EXPECT_TRUE(err.contains(
        "2 photos could not be read (they stay in the list; the album shows a note in their "
        "place):\n  cut.jpg: the file is damaged or cut short\n  x.jpg: not a photo this program can read\n"))
        << err.toStdString();
    EXPECT_TRUE(TestUtil::readAll(album("page001.htm")).contains("photo-missing")); // cut.jpg comes first
    EXPECT_FALSE(QFile::exists(album("page001.jpg")));

    QTemporaryDir crowd;
    for (int i = 1; i <= 1005; ++i)
        TestUtil::writeAll(crowd.filePath(QStringLiteral("c%1.jpg").arg(i, 4, 10, QLatin1Char('0'))), whole);
    EXPECT_EQ(run({crowd.path(), "--list-only"}), Cli::Written);
    EXPECT_TRUE(err.contains("Imported 999 photos\nlumivert-cli: 6 photos were left out: an album holds at most 999 "
                             "photos (left out: c1000.jpg to c1005.jpg)\n"))
        << err.toStdString();
}

TEST_F(CliRun, RememberedOptionsAreTheDefaultsAndFlagsOverrideThem)
{
    addPhotos(2);
    const QStringList made{dir.path(),       "--title", "Kept",        "--width",   "640",
                           "--colour",       "teal",    "--theme",     "paper.css", "--background",
                           "02_sky.jpg",     "--cover", "2",           "--effect",  "4",
                           "--page-details", "date,tv", "--slideshow", "7"};
    ASSERT_EQ(run(made), Cli::Written) << err.toStdString();
    ASSERT_TRUE(QFile::exists(AlbumOptionsFile::path(dir.path())));
    const QByteArray page = TestUtil::readAll(album("page001.htm"));
    const QByteArray style = TestUtil::readAll(album("stylesheet.css"));

    // Without flags the remembered options are the defaults; flags override them one by one.
    AlbumOptions expected = Cli::parseArguments(made, program())->options;
    EXPECT_EQ(Cli::parseArguments({dir.path()}, program())->options, expected);
    const auto overridden = Cli::parseArguments({dir.path(), "--width", "800", "--background", "none"}, program());
    ASSERT_TRUE(overridden);
    expected.pageWidthIndex = 2;
    expected.background = false;
    expected.backgroundFile.clear();
    EXPECT_EQ(overridden->options, expected);

    // So the page style alone is rewritten as it was made, not with the start values.
    EXPECT_EQ(run({dir.path(), "--page-style-only"}), Cli::Written);
    EXPECT_EQ(TestUtil::readAll(album("page001.htm")), page);
    EXPECT_EQ(TestUtil::readAll(album("stylesheet.css")), style);

    // A run that fails leaves the remembered options as they were.
    const QByteArray remembered = TestUtil::readAll(AlbumOptionsFile::path(dir.path()));
    QTemporaryDir programDir;
    TestUtil::writeAll(programDir.filePath("Lumivert.fmt"), "SimpleTop\r\n001 0top\r\nEnd\r\n");
    EXPECT_EQ(run({dir.path(), "--title", "Other"}, programDir.path()), Cli::PagesFailed);
    EXPECT_EQ(TestUtil::readAll(AlbumOptionsFile::path(dir.path())), remembered);
}

TEST_F(CliRun, PhotosTaggedSidewaysComeInTurnedAndASavedListKeepsItsRotation)
{
    TestUtil::Exif exif;
    exif.orientation = 6; // stored landscape, to be turned right
    TestUtil::writeJpeg(dir.filePath("IMG_1.jpg"), 640, 480, exif);
    EXPECT_EQ(run({dir.path()}), Cli::Written) << err.toStdString();
    PhotoListModel model;
    ASSERT_TRUE(PhotoListFile::load(model, dir.path()));
    EXPECT_EQ(model.photoAt(1).rotation, 2);
    EXPECT_EQ(QImageReader(album("page001.jpg")).size(), QSize(270, 360)); // portrait, as the album turns it

    // The user's own choice in the list file wins over the tag.
    PhotoRow row = model.photoAt(1);
    row.rotation = 0;
    model.setPhotoAt(1, row);
    ASSERT_TRUE(PhotoListFile::save(model, dir.path(), {}));
    EXPECT_EQ(run({dir.path()}), Cli::Written);
    EXPECT_EQ(QImageReader(album("page001.jpg")).size(), QSize(480, 360));
}

TEST_F(CliRun, TheListFollowsItsFolderWhenPhotosComeGoOrTheFolderMoves)
{
    addPhotos(3);
    ASSERT_EQ(run({dir.path(), "--list-only"}), Cli::Written);
    {
        // The user's work in the window: photo 3 first, turned, with a caption.
        PhotoListModel model;
        ASSERT_TRUE(PhotoListFile::load(model, dir.path()));
        model.movePhoto(3, 1);
        PhotoRow row = model.photoAt(1);
        row.caption = QStringLiteral("Caption of three");
        row.rotation = 2;
        model.setPhotoAt(1, row);
        ASSERT_TRUE(PhotoListFile::save(model, dir.path(), {}));
    }
    ASSERT_TRUE(QFile::remove(dir.filePath("IMG_2.jpg")));
    TestUtil::writeJpeg(dir.filePath("IMG_4.jpg"), 640, 480, std::nullopt, false, 4);
    TestUtil::writeJpeg(dir.filePath("IMG_5.jpeg"), 640, 480, std::nullopt, false, 5);
    const QByteArray list = TestUtil::readAll(dir.filePath("Lumivert.bin"));

    // Moved away from where the list was saved, as a folder copied to a new disk.
    QTemporaryDir elsewhere;
    const QDir moved(elsewhere.filePath("trip"));
    ASSERT_TRUE(QDir().rename(dir.path(), moved.path()));
    ASSERT_EQ(run({moved.path(), "--page-details", "caption,filename"}), Cli::Written) << err.toStdString();
    const auto page = [&](int i) {
        return QString::fromUtf8(TestUtil::readAll(moved.filePath(QStringLiteral("Lumivert/page00%1.htm").arg(i))));
    };
    EXPECT_TRUE(page(1).contains("Caption of three"));
    EXPECT_EQ(QImageReader(moved.filePath("Lumivert/page001.jpg")).size(), QSize(270, 360)); // turned as listed
    EXPECT_TRUE(page(2).contains("IMG_1.jpg"));
    // The vanished photo keeps its place, with the note instead of its picture.
    EXPECT_TRUE(page(3).contains("IMG_2.jpg"));
    EXPECT_TRUE(page(3).contains("photo-missing"));
    EXPECT_FALSE(QFile::exists(moved.filePath("Lumivert/page003.jpg")));
    EXPECT_TRUE(page(4).contains("IMG_4.jpg"));
    EXPECT_TRUE(QFile::exists(moved.filePath("Lumivert/page004.jpg")));
    EXPECT_TRUE(page(5).contains("IMG_5.jpeg"));
    EXPECT_FALSE(QFile::exists(moved.filePath("Lumivert/page006.htm")));
    EXPECT_TRUE(err.contains("2 new photos were added at the end: IMG_4.jpg, IMG_5.jpeg")) << err.toStdString();
    EXPECT_TRUE(err.contains("1 listed photo is no longer in the folder")) << err.toStdString();
    EXPECT_TRUE(err.contains("IMG_2.jpg"));
    EXPECT_EQ(TestUtil::readAll(moved.filePath("Lumivert.bin")), list);
}

TEST_F(CliRun, TwoRunsAtOnceGiveOneConsistentAlbum)
{
    for (int i = 1; i <= 4; ++i)
        TestUtil::writeJpeg(dir.filePath(QStringLiteral("IMG_%1.jpg").arg(i)), 1024, 768, std::nullopt, false, i);
    // Both start while the folder is being written (the test holds its lock), so both must wait.
    AlbumLock held(dir.path());
    ASSERT_EQ(held.tryLock(), AlbumLock::State::Held);
    struct Run {
        QStringList args;
        QString out, err;
        int status = -1;
    };
    Run runs[2] = {{{dir.path(), "--width", "480"}}, {{dir.path(), "--width", "800"}}};
    std::vector<std::thread> threads;
    for (Run& r : runs)
        threads.emplace_back([&r] {
            QTextStream o(&r.out), e(&r.err);
            r.status = Cli::run(r.args, program(), o, e);
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    held.unlock();
    for (std::thread& t : threads)
        t.join();
    for (const Run& r : runs) {
        EXPECT_EQ(r.status, Cli::Written) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Another Lumivert is writing this album; waiting…")));
    }
    // The remembered options are those of the album on disk, every image made for its width.
    const AlbumOptions remembered = AlbumOptionsFile::load(dir.path(), program());
    const QString index = QString::fromUtf8(TestUtil::readAll(album("index.htm")));
    EXPECT_TRUE(index.contains(remembered.widthText())) << remembered.pageWidth();
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(QImageReader(album(QStringLiteral("page00%1.jpg").arg(i))).size(), remembered.pageBox());
        EXPECT_EQ(QImageReader(album(QStringLiteral("index00%1.jpg").arg(i))).size(), remembered.indexBox());
    }
    EXPECT_FALSE(QFile::exists(AlbumLock::path(dir.path())));
    EXPECT_FALSE(QFile::exists(album("Lumivert.lock")));
}

TEST_F(CliRun, ARunThatWaitsTooLongGivesUpWithExitThree)
{
    addPhotos(1);
    AlbumLock held(dir.path());
    ASSERT_EQ(held.tryLock(), AlbumLock::State::Held);
    qputenv("LUMIVERT_LOCK_WAIT", "1");
    const int status = run({dir.path()});
    qunsetenv("LUMIVERT_LOCK_WAIT");
    EXPECT_EQ(status, Cli::LockBusy);
    EXPECT_TRUE(err.contains(QStringLiteral("Another Lumivert is writing this album; waiting…"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("gave up waiting"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("Lumivert.bin")));
    EXPECT_FALSE(QDir(dir.filePath("Lumivert")).exists());
    // Reading alone needs no lock: a list that is only loaded is not written.
    held.unlock();
    ASSERT_EQ(run({dir.path(), "--list-only"}), Cli::Written);
    ASSERT_EQ(held.tryLock(), AlbumLock::State::Held);
    EXPECT_EQ(run({dir.path(), "--list-only"}), Cli::Written) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("waiting")));
}

TEST_F(CliRun, NothingFromOutsideTheFolderReachesTheAlbumUnlessNamedOnTheCommandLine)
{
    addPhotos(1);
    QTemporaryDir outside;
    TestUtil::writeJpeg(outside.filePath("secret.jpg"), 640, 480, std::nullopt, false, 9);
    TestUtil::writeAll(outside.filePath("own.css"), "body { color: &color&; } /* OWN STYLE */\n");
    ASSERT_EQ(run({dir.path()}), Cli::Written) << err.toStdString();
    // A list from elsewhere naming a photo of another folder, options naming a style sheet through "..".
    {
        PhotoListModel model;
        ASSERT_TRUE(PhotoListFile::load(model, dir.path()));
        Sheet sheet{model.rows(), {}};
        PhotoRow foreign = sheet.rows.first();
        foreign.pathName = outside.filePath("secret.jpg");
        foreign.fileName = QStringLiteral("secret.jpg");
        sheet.rows << foreign;
        ASSERT_TRUE(SheetFile::save(PhotoListFile::path(dir.path()), sheet));
    }
    const QString relative = QDir(dir.path()).relativeFilePath(outside.filePath("own.css"));
    ASSERT_TRUE(relative.startsWith(".."));
    QByteArray options = TestUtil::readAll(AlbumOptionsFile::path(dir.path()));
    options.replace("theme=basic.css", "theme=" + relative.toUtf8());
    TestUtil::writeAll(AlbumOptionsFile::path(dir.path()), options);

    ASSERT_EQ(run({dir.path()}), Cli::Written) << err.toStdString();
    EXPECT_FALSE(TestUtil::readAll(album("stylesheet.css")).contains("OWN STYLE"));
    EXPECT_TRUE(err.contains("the remembered style sheet " + relative + " is not used")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(album("page002.jpg")));
    EXPECT_TRUE(TestUtil::readAll(album("page002.htm")).contains("photo-missing"));
    EXPECT_TRUE(err.contains("1 listed photo is no longer in the folder")) << err.toStdString();

    // Named on the command line, the style sheet is the user's choice for this run; it is
    // remembered by its full path and taken again only when named again.
    ASSERT_EQ(run({dir.path(), "--theme", outside.filePath("own.css")}), Cli::Written) << err.toStdString();
    EXPECT_TRUE(TestUtil::readAll(album("stylesheet.css")).contains("OWN STYLE"));
    EXPECT_TRUE(TestUtil::readAll(AlbumOptionsFile::path(dir.path()))
                    .contains("theme=" + QDir::cleanPath(outside.filePath("own.css")).toUtf8()));
    ASSERT_EQ(run({dir.path()}), Cli::Written) << err.toStdString();
    EXPECT_FALSE(TestUtil::readAll(album("stylesheet.css")).contains("OWN STYLE"));
    EXPECT_TRUE(err.contains("is not used"));
}

TEST_F(CliRun, AlbumTextsFollowTheNavigationBar)
{
    // 1: no EXIF at all; 2: a camera and a date but no exposure data.
    TestUtil::writeJpeg(dir.filePath("IMG_1.jpg"), 320, 240);
    TestUtil::Exif exif;
    exif.make = QStringLiteral("Maker");
    exif.model = QStringLiteral("Maker Cam");
    exif.dateTimeOriginal = QStringLiteral("2024:05:06 07:08:09");
    TestUtil::writeJpeg(dir.filePath("IMG_2.jpg"), 320, 240, exif);
    const struct {
        const char* navi;
        const char* lang;
        QString unknown;
    } cases[] = {{nullptr, "en", QStringLiteral("Unknown")}, {"--japanese-navi", "ja", QStringLiteral("不明")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        QStringList args{dir.path(), "--page-details", "date,model,tv,av", "--index-details", "no,date"};
        if (c.navi)
            args << c.navi;
        ASSERT_EQ(run(args), Cli::Written) << err.toStdString();
        const QString first = QString::fromUtf8(TestUtil::readAll(album("page001.htm")));
        const QString second = QString::fromUtf8(TestUtil::readAll(album("page002.htm")));
        EXPECT_TRUE(first.contains(QStringLiteral("%1 %1 %1").arg(c.unknown))) << first.toStdString();
        EXPECT_TRUE(second.contains(QStringLiteral("Maker Cam %1 %1").arg(c.unknown))) << second.toStdString();
        EXPECT_FALSE(second.contains(QStringLiteral("0/0sec")));
        const QString other = c.navi ? QStringLiteral("Unknown") : QStringLiteral("不明");
        for (const char* page : {"top.htm", "index.htm", "page001.htm", "page002.htm"}) {
            const QString text = QString::fromUtf8(TestUtil::readAll(album(page)));
            EXPECT_TRUE(text.contains(QStringLiteral("<html lang=\"%1\">").arg(c.lang))) << page;
            EXPECT_FALSE(text.contains(other)) << page;
        }
    }
    // The list keeps the design's words, whatever the album says.
    PhotoListModel model;
    ASSERT_TRUE(PhotoListFile::load(model, dir.path()));
    EXPECT_EQ(model.photoAt(1).model, QStringLiteral("不明"));
    EXPECT_EQ(model.photoAt(2).tv, QStringLiteral("0/0sec"));
}

TEST_F(CliRun, AFolderThatCannotBeWrittenIsOneMessageWithTheRealReason)
{
    addPhotos(1);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = QFile(dir.filePath("probe")).open(QIODevice::WriteOnly);
    if (!writable) {
        EXPECT_EQ(run({dir.path(), "--quiet"}), Cli::PagesFailed);
        EXPECT_EQ(err, QStringLiteral("lumivert-cli: the folder %1 cannot be written to (permission denied): neither "
                                      "the list nor the album can be saved there\n")
                           .arg(dir.path()));
        EXPECT_TRUE(out.isEmpty());
    }
    QFile::remove(dir.filePath("probe"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (writable)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
}
