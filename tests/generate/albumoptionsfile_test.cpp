// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/testutil.h"
#include "common/albumoptionsprinter.h"
#include "design/covereffect.h"
#include "generate/albumoptionsfile.h"

class AlbumOptionsFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString program;
    QString photos;
    void SetUp() override
    {
        program = dir.filePath("program");
        photos = dir.filePath("photos");
        QDir().mkpath(QDir(program).filePath("背景画像"));
        QDir().mkpath(photos);
        TestUtil::writeAll(QDir(program).filePath("basic.css"), "a { color: &color&; }");
        TestUtil::writeAll(QDir(program).filePath("paper.css"), "b { color: &color&; }");
        TestUtil::writeJpeg(QDir(program).filePath("背景画像/02_sky.jpg"), 16, 16);
    }
    QString file() const { return AlbumOptionsFile::path(photos); }
    // Every field away from its start value.
    AlbumOptions changed() const
    {
        return AlbumOptions{.photoFolder = photos,
                            .programFolder = program,
                            .title = QStringLiteral("旅 = \\n \"&\"\n<b>\r"),
                            .pageWidthIndex = 1,
                            .qualityIndex = 2,
                            .progressive = true,
                            .coverNumber = 7,
                            .coverEffect = 5,
                            .background = true,
                            .backgroundFile = QDir::toNativeSeparators(QDir(program).filePath("背景画像/02_sky.jpg")),
                            .themeFile = QStringLiteral("paper.css"),
                            .colorName = QStringLiteral("maroon"),
                            .indexNo = false,
                            .indexFileName = true,
                            .indexCaption = true,
                            .indexDate = true,
                            .pageFileName = true,
                            .pageCaption = false,
                            .pageDate = true,
                            .pageModel = true,
                            .pageTv = true,
                            .pageAv = true,
                            .japaneseNavi = true,
                            .slideShow = true,
                            .showTime = QStringLiteral("42")};
    }
    AlbumOptions start() const { return AlbumOptions{.photoFolder = photos, .programFolder = program}; }
};

TEST_F(AlbumOptionsFileTest, EveryFieldComesBackAndFilesAreStoredByName)
{
    const AlbumOptions o = changed();
    QString error;
    ASSERT_TRUE(AlbumOptionsFile::save(o, &error)) << error.toStdString();
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), o);
    const QByteArray text = TestUtil::readAll(file());
    EXPECT_TRUE(text.startsWith("Lumivert album options 1\n"));
    EXPECT_TRUE(text.contains("\ntheme=paper.css\n"));
    EXPECT_TRUE(text.contains(QStringLiteral("\nbackgroundImage=02_sky.jpg\n").toUtf8()));
    EXPECT_TRUE(text.contains("\nwidth=640\n"));
    EXPECT_EQ(QDir(photos).entryList(QDir::Files | QDir::Hidden), QStringList{"Lumivert.opt"}); // no leftovers

    // The start values, and a background inside the photo folder (kept by its path there), come back too.
    ASSERT_TRUE(AlbumOptionsFile::save(start()));
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), start());
    AlbumOptions own = start();
    own.backgroundFile = QDir::toNativeSeparators(TestUtil::writeJpeg(QDir(photos).filePath("own.jpg"), 8, 8));
    ASSERT_TRUE(AlbumOptionsFile::save(own));
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), own);
    EXPECT_TRUE(TestUtil::readAll(file()).contains("\nbackgroundImage=./own.jpg\n"));
}

TEST_F(AlbumOptionsFileTest, OnlyShippedFilesAndFilesInsideThePhotoFolderAreTaken)
{
    TestUtil::writeAll(dir.filePath("outside.css"), "x { }");
    TestUtil::writeJpeg(dir.filePath("outside.jpg"), 8, 8);
    QDir(photos).mkpath("styles");
    TestUtil::writeAll(QDir(photos).filePath("styles/mine.css"), "y { }");
    TestUtil::writeJpeg(QDir(photos).filePath("mine.jpg"), 8, 8);
    QFile::link(dir.filePath("outside.css"), QDir(photos).filePath("link.css"));
    QFile::link(dir.filePath("outside.jpg"), QDir(photos).filePath("link.jpg"));
    const QString photosReal = QDir::toNativeSeparators(QFileInfo(photos).canonicalFilePath());
    const struct {
        const char* what;
        QByteArray theme;
        QByteArray background;
        QString themeFile;      // "" refused
        QString backgroundFile; // "" refused
    } cases[] = {
        {"paths through ..", "../outside.css", "../outside.jpg", "", ""},
        {"full paths elsewhere", dir.filePath("outside.css").toUtf8(), dir.filePath("outside.jpg").toUtf8(), "", ""},
        {"links inside to files outside", "./link.css", "./link.jpg", "", ""},
        {"files inside", "./styles/mine.css", "./mine.jpg", photosReal + "/styles/mine.css", photosReal + "/mine.jpg"},
        {"full paths inside", QDir(photos).filePath("styles/mine.css").toUtf8(),
         QDir(photos).filePath("mine.jpg").toUtf8(), photosReal + "/styles/mine.css", photosReal + "/mine.jpg"},
    };
    ASSERT_TRUE(AlbumOptionsFile::save(changed()));
    const QByteArray good = TestUtil::readAll(file());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestUtil::writeAll(file(), QByteArray(good)
                                       .replace("theme=paper.css", "theme=" + c.theme)
                                       .replace(QStringLiteral("backgroundImage=02_sky.jpg").toUtf8(),
                                                "backgroundImage=" + c.background));
        AlbumOptionsFile::Refused refused;
        const AlbumOptions o = AlbumOptionsFile::load(photos, program, &refused);
        EXPECT_EQ(QFileInfo(o.themeFile).canonicalFilePath(), QFileInfo(c.themeFile).canonicalFilePath());
        EXPECT_EQ(QFileInfo(o.backgroundFile).canonicalFilePath(), QFileInfo(c.backgroundFile).canonicalFilePath());
        EXPECT_EQ(o.background, !c.backgroundFile.isEmpty());
        EXPECT_EQ(refused.theme.isEmpty(), !c.themeFile.isEmpty());
        EXPECT_EQ(refused.background.isEmpty(), !c.backgroundFile.isEmpty());
        // The rest of the file counts.
        EXPECT_EQ(o.title, changed().title);
        EXPECT_EQ(o.colorName, "maroon");
    }
}

TEST_F(AlbumOptionsFileTest, MissingOrDamagedFileGivesStartValuesAndStaysAsItIs)
{
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), start());
    EXPECT_FALSE(QFile::exists(file()));

    ASSERT_TRUE(AlbumOptionsFile::save(changed()));
    const QByteArray good = TestUtil::readAll(file());
    auto replaced = [&good](const char* from, const char* to) { return QByteArray(good).replace(from, to); };
    const struct {
        const char* what;
        QByteArray bytes;
    } damaged[] = {
        {"empty", QByteArray()},
        {"foreign header", replaced("Lumivert album options 1", "Lumivert album options 2")},
        {"cut short", good.left(good.size() / 2)},
        {"key missing", replaced("\nwidth=640", "")},
        {"key twice", good + "width=800\n"},
        {"line without =", good + "garbage\n"},
        {"bad width", replaced("width=640", "width=600")},
        {"bad quality", replaced("quality=high", "quality=best")},
        {"bad colour", replaced("colour=maroon", "colour=orange")},
        {"bad flag", replaced("progressive=yes", "progressive=1")},
        {"bad cover", replaced("cover=7", "cover=1000")},
        {"bad effect", replaced("effect=5", "effect=-1")},
        {"bad show time", replaced("showTime=42", "showTime=123")},
        {"bad escape", replaced("title=", "title=\\x")},
        {"title too long", replaced("title=", QByteArray("title=") + QByteArray(80, 'x'))},
        {"too big", good + QByteArray(70 * 1024, '#')},
    };
    for (const auto& row : damaged) {
        SCOPED_TRACE(row.what);
        TestUtil::writeAll(file(), row.bytes);
        EXPECT_EQ(AlbumOptionsFile::load(photos, program), start());
        EXPECT_EQ(TestUtil::readAll(file()), row.bytes);
    }
    // A key of a later version is no damage.
    TestUtil::writeAll(file(), good + "later=1\n");
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), changed());
}

TEST_F(AlbumOptionsFileTest, HighDensityIsRememberedAndAnOlderFileWithoutItReadsAsOff)
{
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        AlbumOptions o = changed();
        o.highDensity = on;
        ASSERT_TRUE(AlbumOptionsFile::save(o));
        EXPECT_TRUE(TestUtil::readAll(file()).contains(on ? "\nhighDensity=yes\n" : "\nhighDensity=no\n"));
        EXPECT_EQ(AlbumOptionsFile::load(photos, program), o);
    }
    // A file written before the choice existed: the album is made as it was then.
    AlbumOptions o = changed();
    ASSERT_TRUE(o.highDensity);
    ASSERT_TRUE(AlbumOptionsFile::save(o));
    TestUtil::writeAll(file(), TestUtil::readAll(file()).replace("highDensity=yes\n", ""));
    o.highDensity = false;
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), o);
    // A value that is neither is damage.
    TestUtil::writeAll(file(), AlbumOptionsFile::encode(changed()).replace("highDensity=yes", "highDensity=2"));
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), start());
}

TEST_F(AlbumOptionsFileTest, VanishedStyleSheetAndBackgroundFallBackToTheStartValues)
{
    ASSERT_TRUE(AlbumOptionsFile::save(changed()));
    ASSERT_TRUE(QFile::remove(QDir(program).filePath("paper.css")));
    ASSERT_TRUE(QFile::remove(QDir(program).filePath("背景画像/02_sky.jpg")));
    AlbumOptions expected = changed();
    expected.themeFile.clear(); // the caller's first style sheet
    expected.background = false;
    expected.backgroundFile.clear();
    EXPECT_EQ(AlbumOptionsFile::load(photos, program), expected);
}

TEST_F(AlbumOptionsFileTest, SaveIntoAFolderThatCannotTakeItFails)
{
    AlbumOptions o = changed();
    o.photoFolder = dir.filePath("nosuch/folder");
    QString error;
    EXPECT_FALSE(AlbumOptionsFile::save(o, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AlbumOptionsTable, LimitsMatchTheListsTheyCountAndEveryKeyIsStored)
{
    EXPECT_EQ(AlbumOptions::EffectCount, CoverEffect::names().size());
    EXPECT_EQ(AlbumOptions::colorNames().size(), 16);
    const QString stored = QString::fromUtf8(AlbumOptionsFile::encode(AlbumOptions{}));
    for (const AlbumOptions::Choice& choice : AlbumOptions::choices()) {
        SCOPED_TRACE(choice.key);
        EXPECT_EQ(choice.words.size(), 3); // one word per option button
        EXPECT_TRUE(stored.contains(
            QStringLiteral("\n%1=%2\n").arg(choice.key, choice.words.at(AlbumOptions{}.*choice.member))));
    }
    for (const AlbumOptions::Switch& flag : AlbumOptions::switches())
        EXPECT_TRUE(stored.contains(QStringLiteral("\n%1=").arg(flag.key))) << flag.key;
    // The after-creation policy: remembered only for a whole album, the cover within the list.
    QTemporaryDir dir;
    AlbumOptions o;
    o.photoFolder = dir.path();
    o.coverNumber = 9;
    GenerationResult failed;
    failed.failedPages << QStringLiteral("index.htm");
    EXPECT_EQ(AlbumOptionsFile::rememberCreation(o, 3, failed), AlbumOptionsFile::Remembered::NotWhole);
    EXPECT_FALSE(QFile::exists(AlbumOptionsFile::path(dir.path())));
    EXPECT_EQ(AlbumOptionsFile::rememberCreation(o, 3, GenerationResult{}), AlbumOptionsFile::Remembered::Saved);
    EXPECT_EQ(AlbumOptionsFile::load(dir.path(), QString()).coverNumber, 1);
}
