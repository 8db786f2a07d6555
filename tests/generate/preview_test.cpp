// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/testutil.h"
#include "generate/preview.h"

class PreviewTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString program;
    QString sample;
    void SetUp() override
    {
        program = dir.filePath("program");
        sample = QDir(program).filePath("Preview/Lumivert");
        QDir().mkpath(sample);
        TestUtil::writeAll(QDir(sample).filePath("top.htm"), "<link rel=\"stylesheet\" href=\"stylesheet.css\">");
        TestUtil::writeAll(QDir(program).filePath("a.css"), "body { color: &color&; }\r\n");
        TestUtil::writeAll(QDir(program).filePath("b.css"), "h1 { border-color: &color&; }\r\n");
    }
    AlbumOptions options() const
    {
        AlbumOptions o;
        o.programFolder = program;
        o.themeFile = "a.css";
        return o;
    }
};

TEST_F(PreviewTest, WritesStyleSheetAndBackgroundIntoTheSampleAlbum)
{
    AlbumOptions o = options();
    o.background = true;
    o.backgroundFile = TestUtil::writeJpeg(dir.filePath("bg.jpg"), 32, 32);
    o.colorName = "teal";
    const QString top = Preview::run(o);
    EXPECT_EQ(QDir::cleanPath(top), QDir::cleanPath(QDir(sample).filePath("top.htm")));
    EXPECT_EQ(TestUtil::readAll(QDir(sample).filePath("stylesheet.css")), QByteArray("body { color: teal; }\r\n"));
    EXPECT_TRUE(QFile::exists(QDir(sample).filePath("background.jpg")));

    // Another theme and colour, background off: the style sheet is replaced, the old background goes.
    TestUtil::writeAll(QDir(sample).filePath("background.gif"), "old");
    o.background = false;
    o.themeFile = "b.css";
    o.colorName = "red";
    Preview::run(o);
    EXPECT_EQ(TestUtil::readAll(QDir(sample).filePath("stylesheet.css")), QByteArray("h1 { border-color: red; }\r\n"));
    EXPECT_FALSE(QFile::exists(QDir(sample).filePath("background.jpg")));
    EXPECT_FALSE(QFile::exists(QDir(sample).filePath("background.gif")));
    EXPECT_TRUE(QFile::exists(QDir(sample).filePath("top.htm")));
}

TEST_F(PreviewTest, UnreadableBackgroundLeavesNone)
{
    AlbumOptions o = options();
    o.background = true;
    o.backgroundFile = dir.filePath("missing.jpg");
    TestUtil::writeAll(QDir(sample).filePath("background.jpg"), "old");
    Preview::run(o);
    EXPECT_FALSE(QFile::exists(QDir(sample).filePath("background.jpg")));
    EXPECT_TRUE(QFile::exists(QDir(sample).filePath("stylesheet.css")));
}

TEST_F(PreviewTest, MissingPreviewFolderFailsSilently)
{
    QDir(sample).removeRecursively();
    const QString top = Preview::run(options());
    EXPECT_TRUE(top.endsWith("top.htm"));
    EXPECT_FALSE(QDir(sample).exists());
}
