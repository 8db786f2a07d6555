// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/cli.h"
#include "catalogue/photolistfile.h"
#include "common/testutil.h"
#include "common/albumoptionsprinter.h"
#include "generate/albumoptionsfile.h"
#include "components/photolistmodel.h"

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

class CliRun : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString out, err;
    int run(QStringList args, const QString& programFolder = program())
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return Cli::run(args, programFolder, o, e);
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
    EXPECT_TRUE(err.contains(QStringLiteral("Step3.HTML生成  しばらくお待ちください。3/3...")));

    // The saved list is used next time: a photo added since then is not in the album, and the
    // list file, just loaded, is not written again.
    addPhotos(4);
    const QByteArray list = TestUtil::readAll(dir.filePath("Lumivert.bin"));
    const QDateTime listTime = QFileInfo(dir.filePath("Lumivert.bin")).lastModified();
    EXPECT_EQ(run({dir.path()}), Cli::Written);
    EXPECT_FALSE(QFile::exists(album("page004.htm")));
    EXPECT_EQ(TestUtil::readAll(dir.filePath("Lumivert.bin")), list);
    EXPECT_EQ(QFileInfo(dir.filePath("Lumivert.bin")).lastModified(), listTime);
    EXPECT_EQ(run({dir.path(), "--reimport"}), Cli::Written);
    EXPECT_TRUE(QFile::exists(album("page004.htm")));
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
    EXPECT_TRUE(err.contains(QStringLiteral("･Lumivert作成エラー")));
    EXPECT_TRUE(QFile::exists(album("top.htm")));
    EXPECT_TRUE(QFile::exists(album("page002.jpg")));
    EXPECT_FALSE(QFile::exists(album("index.htm")));
}

TEST_F(CliRun, EmptyFolderGivesAnAlbumWithoutPhotos)
{
    EXPECT_EQ(run({dir.path()}), Cli::Written);
    EXPECT_TRUE(QFile::exists(album("top.htm")));
    EXPECT_TRUE(QFile::exists(album("index.htm")));
    EXPECT_FALSE(QFile::exists(dir.filePath("Lumivert.bin"))); // an empty list writes no list file
    EXPECT_TRUE(err.contains(QStringLiteral("no photos (*.jpg, *.jpeg, *.heic, *.heif, *.hif, *.avif) in %1").arg(dir.path())));
}

TEST_F(CliRun, PhotosThatCannotBeReadOrAreLeftOutAreNamed)
{
    addPhotos(2);
    const QByteArray whole = TestUtil::readAll(dir.filePath("IMG_1.jpg"));
    TestUtil::writeAll(dir.filePath("cut.jpg"), whole.left(whole.size() / 2));
    TestUtil::writeAll(dir.filePath("x.jpg"), "a text file\n");
    EXPECT_EQ(run({dir.path()}), Cli::Written);
    EXPECT_TRUE(err.contains("2 photos could not be read (they stay in the list; the album shows a note in their "
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
