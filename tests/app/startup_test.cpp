// SPDX-License-Identifier: MIT
#include "app/startup.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/cprivateprofile.h"
#include "common/testutil.h"

namespace
{

TEST(StartupCommandLine, WholeTailIsOnePath)
{
    const struct {
        QStringList args;
        QString expected;
    } rows[] = {
        {{}, ""},
        {{"/photos/2004"}, "/photos/2004"},
        {{"/my", "photos", "x"}, "/my photos x"},
        {{"\"/my photos\""}, "/my photos"},
        {{"\"/my", "photos\""}, "/my photos"},
        {{"\""}, ""},
        {{"\"\""}, ""},
        {{"\"/unclosed"}, "/unclosed"},
        {{"/a\"b\""}, "/a\"b\""}, // only a leading quote starts a quoted path
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.join('|').toStdString());
        EXPECT_EQ(Startup::commandLinePath(row.args), row.expected);
    }
}

TEST(StartupPlacement, NegativeCoordinatesAreCentredOnTheirOwnAxis)
{
    const QSize screen(1280 * 15, 1024 * 15);
    const QSize window(800 * 15, 600 * 15);
    const struct {
        int left, top;
        QPoint expected;
    } rows[] = {
        {-1, -1, {240 * 15, 212 * 15}}, {-5, 300, {240 * 15, 300}}, {450, -1, {450, 212 * 15}}, {0, 0, {0, 0}},
        {99999, 99999, {99999, 99999}}, // beyond the edge: applied unchanged
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.left << "," << row.top);
        EXPECT_EQ(Startup::placementTwips(row.left, row.top, screen, window), row.expected);
    }
    // A window larger than the screen would get a negative coordinate: 0 instead.
    EXPECT_EQ(Startup::placementTwips(-1, -1, QSize(100, 100), QSize(300, 301)), QPoint(0, 0));
    EXPECT_EQ(Startup::centredTwips(101, 0), 50); // fraction dropped
}

TEST(StartupSettings, GeometryRoundTripWithDefaultsAndFractions)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Lumivert.ini");
    Startup::Geometry missing = Startup::readGeometry(ini, 10);
    EXPECT_EQ(missing.top, -1);
    EXPECT_EQ(missing.left, -1);
    EXPECT_EQ(missing.spreadWidth, -1);
    EXPECT_EQ(missing.columnWidths, QList<int>(10, -1));

    Startup::Geometry g{.top = 1500, .left = 3000, .spreadWidth = 11700, .columnWidths = {}};
    for (int i = 1; i <= 10; ++i)
        g.columnWidths.push_back(i * 100);
    Startup::writeGeometry(ini, g);
    const Startup::Geometry back = Startup::readGeometry(ini, 10);
    EXPECT_EQ(back.top, 1500);
    EXPECT_EQ(back.left, 3000);
    EXPECT_EQ(back.spreadWidth, 11700);
    EXPECT_EQ(back.columnWidths, g.columnWidths);
    const QByteArray text = TestUtil::readAll(ini);
    EXPECT_TRUE(text.startsWith("[Main]\r\nTop=1500\r\nLeft=3000\r\nSpreadW=11700\r\nC1=100\r\nC2=200\r\n"));
    EXPECT_TRUE(text.endsWith("C10=1000\r\n"));

    // A width written with a fraction reads back as its whole part.
    ASSERT_NE(CPrivateProfile().SetValueString(ini, "Main", "C4", "12.75"), 0);
    EXPECT_EQ(Startup::readGeometry(ini, 10).columnWidths.at(3), 12);
}

TEST(StartupSettings, FolderKey)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Lumivert.ini");
    EXPECT_EQ(Startup::readFolder(ini), QString());
    Startup::writeFolder(ini, "/photos/旅行");
    EXPECT_EQ(Startup::readFolder(ini), QStringLiteral("/photos/旅行"));
    EXPECT_TRUE(TestUtil::readAll(ini).startsWith("[Folder]\r\nFolder=/photos/旅行\r\n"));

    // Whatever its length or its ends, the folder comes back as it was, or is not written at all:
    // a cut or trimmed path could name another folder.
    const QString deep = QStringLiteral("/home/user/写真/") + QString(60, QChar(u'旅')) + QStringLiteral("/2026");
    ASSERT_GT(deep.toUtf8().size(), CPrivateProfile::MaxValueBytes);
    for (const QString& folder : {deep, QStringLiteral(" /photos/trip "), QStringLiteral("\"/quoted\""),
                                  QStringLiteral("'/single'"), QStringLiteral("\"/half")}) {
        SCOPED_TRACE(folder.toStdString());
        Startup::writeFolder(ini, folder);
        EXPECT_EQ(Startup::readFolder(ini), folder);
    }
    Startup::writeFolder(ini, QStringLiteral("/line\nbreak"));
    EXPECT_EQ(Startup::readFolder(ini), QStringLiteral("\"/half"));
    // Other keys keep the settings' limit.
    ASSERT_NE(CPrivateProfile().SetValueString(ini, "Other", "Key", deep), 0);
    EXPECT_LE(CPrivateProfile().GetValueString(ini, "Other", "Key").toUtf8().size(), CPrivateProfile::MaxValueBytes);
}

TEST(StartupPlacement, OnlyATitleBarOnSomeScreenIsReachable)
{
    const QList<QRect> screens{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const struct {
        QRect frame;
        bool reachable;
    } rows[] = {
        {{100, 100, 980, 700}, true},
        {{2500, 900, 980, 700}, true},  // on the second screen, its bottom part beyond it
        {{3100, 100, 980, 700}, true},  // 100 pixels of its title bar on the second screen
        {{3101, 100, 980, 700}, false}, // 99 pixels
        {{4000, 100, 980, 700}, false}, // right of both: a screen that has gone
        {{100, 1070, 980, 700}, false}, // below the first screen, beside the shorter second one
        {{100, 1010, 980, 700}, false}, // its title bar half off the bottom edge
        {{-930, 100, 980, 700}, false}, // only 50 pixels on the left edge
        {{-880, 100, 980, 700}, true},  // 100 pixels
        {{100, -10, 980, 700}, false},  // its title bar above the top edge
        {{3150, 100, 40, 30}, true},    // a narrow window wholly on the screen
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.frame.x() << "," << row.frame.y());
        EXPECT_EQ(Startup::reachable(row.frame, screens), row.reachable);
    }
    EXPECT_FALSE(Startup::reachable({0, 0, 980, 700}, {}));
}

TEST(StartupPaths, ExistenceAndJoining)
{
    QTemporaryDir dir;
    TestUtil::writeAll(dir.filePath("file.txt"), "x");
    EXPECT_TRUE(Startup::entryExists(dir.path()));
    EXPECT_TRUE(Startup::entryExists(dir.filePath("file.txt"))); // a file passes too
    EXPECT_FALSE(Startup::entryExists(dir.filePath("missing")));
    EXPECT_FALSE(Startup::entryExists(QString()));
    EXPECT_EQ(Startup::joinPath("/a/b", "Lumivert.ini"), QStringLiteral("/a/b") + QDir::separator() + "Lumivert.ini");
    EXPECT_EQ(Startup::columnKey(10), QStringLiteral("C10"));
    EXPECT_FALSE(Startup::programFolder().endsWith(QDir::separator()));
}

} // namespace

namespace
{

TEST(StartupSettingsLocation, BesideTheProgramWhenWritableElseInTheUserConfiguration)
{
    const QString program = QStringLiteral("/opt/lumivert/lib/lumivert");
    const QString config = QStringLiteral("/home/user/.config");
    const struct {
        bool writable;
        QString expected;
    } rows[] = {
        {true, program + QStringLiteral("/Lumivert.ini")},
        {false, config + QStringLiteral("/Lumivert/Lumivert.ini")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.writable);
        QStringList asked;
        const QString path = Startup::settingsFilePath(
            program,
            [&](const QString& folder) {
                asked << folder;
                return row.writable;
            },
            config);
        EXPECT_EQ(path, QDir::toNativeSeparators(row.expected));
        EXPECT_EQ(asked, QStringList{program}); // only the program's own folder is tested
    }
}

TEST(StartupSettingsLocation, NeverInsideUsrEvenWhenWritable)
{
    // What the package manager installed is not written to, not even by root.
    for (const char* program : {"/usr/lib/lumivert", "/usr/local/lib/lumivert", "/usr"}) {
        SCOPED_TRACE(program);
        const QString path = Startup::settingsFilePath(
            QString::fromLatin1(program), [](const QString&) { return true; }, QStringLiteral("/home/user/.config"));
        EXPECT_EQ(path, QDir::toNativeSeparators(QStringLiteral("/home/user/.config/Lumivert/Lumivert.ini")));
    }
    EXPECT_EQ(Startup::settingsFilePath(
                  QStringLiteral("/usrdata/lumivert"), [](const QString&) { return true; }, QStringLiteral("/c")),
              QDir::toNativeSeparators(QStringLiteral("/usrdata/lumivert/Lumivert.ini")));
}

TEST(StartupCommandLine, HelpAndVersionOnlyAsTheWholeTail)
{
    using R = Startup::CommandLineRequest;
    const struct {
        QStringList tail;
        R expected;
    } rows[] = {
        {{"--help"}, R::Help},        {{"-h"}, R::Help},
        {{"--version"}, R::Version},  {{}, R::Run},
        {{"/photos"}, R::Run},        {{"--version", "x"}, R::Run}, // two words are one path with a space
        {{"/photos/--help"}, R::Run},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tail.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(Startup::commandLineRequest(row.tail), row.expected);
    }
}

TEST(StartupSettingsLocation, SystemConfigurationFolderWhenNoneIsGiven)
{
    const QString path = Startup::settingsFilePath(QStringLiteral("/nowhere"), [](const QString&) { return false; });
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Lumivert/Lumivert.ini"))) << path.toStdString();
    EXPECT_FALSE(path.startsWith(QStringLiteral("/nowhere")));
}

TEST(StartupSettingsLocation, WritabilityIsTriedInTheFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(Startup::folderIsWritable(dir.path()));
    EXPECT_FALSE(Startup::folderIsWritable(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(Startup::folderIsWritable(QString()));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "the probe file is removed again";
}

TEST(StartupLanguage, OverrideThenSystemLocale)
{
    const struct {
        const char* override;
        const char* locale;
        const char* expected;
    } rows[] = {
        {"", "ja_JP", "ja"},   {"", "en_US", "en"},   {"", "de_DE", "en"},   {"", "C", "en"},
        {"en", "ja_JP", "en"}, {"ja", "en_US", "ja"}, {"EN", "ja_JP", "en"}, {"ja_JP.UTF-8", "C", "ja"},
        {"fr", "ja_JP", "ja"}, // an unknown override leaves the choice to the locale
        {"fr", "en_GB", "en"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.override) + " / " + row.locale);
        EXPECT_EQ(Startup::interfaceLanguage(QString::fromLatin1(row.override), QString::fromLatin1(row.locale)),
                  QString::fromLatin1(row.expected));
    }
}

} // namespace
