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
    QString copy;
    void SetUp() override
    {
        program = dir.filePath("program");
        sample = QDir(program).filePath("Preview/Lumivert");
        copy = dir.filePath("cache/lumivert/Preview/Lumivert");
        QDir().mkpath(sample);
        TestUtil::writeAll(QDir(sample).filePath("top.htm"), "<link rel=\"stylesheet\" href=\"stylesheet.css\">");
        TestUtil::writeAll(QDir(sample).filePath("top.jpg"), "jpeg");
        TestUtil::writeAll(QDir(sample).filePath("stylesheet.css"), "shipped");
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
    QString inCopy(const char* name) const { return QDir(copy).filePath(name); }
};

TEST_F(PreviewTest, WritesStyleSheetAndBackgroundIntoTheUsersCopyOnly)
{
    QStringList shipped = QDir(sample).entryList(QDir::Files);
    QList<QByteArray> hashes;
    for (const QString& name : shipped)
        hashes << TestUtil::sha256(QDir(sample).filePath(name));
    // The shipped sample as an installed program has it: nobody may write there.
    QFile::setPermissions(sample, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    AlbumOptions o = options();
    o.background = true;
    o.backgroundFile = TestUtil::writeJpeg(dir.filePath("bg.jpg"), 32, 32);
    o.colorName = "teal";
    QString error;
    const QString top = Preview::run(o, copy, &error);
    EXPECT_EQ(QDir::cleanPath(top), QDir::cleanPath(inCopy("top.htm"))) << error.toStdString();
    EXPECT_EQ(TestUtil::readAll(inCopy("top.htm")), TestUtil::readAll(QDir(sample).filePath("top.htm")));
    EXPECT_EQ(TestUtil::readAll(inCopy("top.jpg")), QByteArray("jpeg"));
    EXPECT_EQ(TestUtil::readAll(inCopy("stylesheet.css")), QByteArray("body { color: teal; }\r\n"));
    EXPECT_TRUE(QFile::exists(inCopy("background.jpg")));

    // Another theme and colour, background off: the style sheet is replaced, the old background
    // goes; a sample file changed since (a newer program) reaches the copy, one it no longer has leaves it.
    QFile::setPermissions(sample, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TestUtil::writeAll(QDir(sample).filePath("top.jpg"), "newer jpeg");
    shipped = QDir(sample).entryList(QDir::Files);
    hashes.clear();
    for (const QString& name : shipped)
        hashes << TestUtil::sha256(QDir(sample).filePath(name));
    TestUtil::writeAll(inCopy("background.gif"), "old");
    TestUtil::writeAll(inCopy("page009.htm"), "gone from the sample");
    o.background = false;
    o.themeFile = "b.css";
    o.colorName = "red";
    EXPECT_FALSE(Preview::run(o, copy).isEmpty());
    EXPECT_EQ(TestUtil::readAll(inCopy("stylesheet.css")), QByteArray("h1 { border-color: red; }\r\n"));
    EXPECT_EQ(TestUtil::readAll(inCopy("top.jpg")), QByteArray("newer jpeg"));
    for (const char* gone : {"background.jpg", "background.gif", "page009.htm"})
        EXPECT_FALSE(QFile::exists(inCopy(gone))) << gone;

    // The shipped sample is byte for byte as it was, with no file added.
    EXPECT_EQ(QDir(sample).entryList(QDir::Files), shipped);
    for (qsizetype i = 0; i < shipped.size(); ++i)
        EXPECT_EQ(TestUtil::sha256(QDir(sample).filePath(shipped.at(i))), hashes.at(i)) << shipped.at(i).toStdString();
}

TEST_F(PreviewTest, UnreadableBackgroundLeavesNone)
{
    AlbumOptions o = options();
    ASSERT_FALSE(Preview::run(o, copy).isEmpty());
    o.background = true;
    o.backgroundFile = dir.filePath("missing.jpg");
    TestUtil::writeAll(inCopy("background.jpg"), "old");
    EXPECT_FALSE(Preview::run(o, copy).isEmpty());
    EXPECT_FALSE(QFile::exists(inCopy("background.jpg")));
    EXPECT_TRUE(QFile::exists(inCopy("stylesheet.css")));

    // Like an album's, the sample's style sheet names only the background the copy holds.
    TestUtil::writeAll(QDir(program).filePath("c.css"), "body { background-image: url(background.jpg), url(background.gif); }");
    o.themeFile = "c.css";
    o.backgroundFile = TestUtil::writeJpeg(dir.filePath("bg.jpg"), 32, 32);
    EXPECT_FALSE(Preview::run(o, copy).isEmpty());
    EXPECT_EQ(TestUtil::readAll(inCopy("stylesheet.css")).toStdString(), "body { background-image: url(background.jpg), none; }\r\n");
}

TEST_F(PreviewTest, NoSampleOrNoPlaceForTheCopyIsReported)
{
    // A file where the copy's folder would go: the copy cannot be made, even by root.
    TestUtil::writeAll(dir.filePath("blocked"), "a file");
    QString error;
    EXPECT_TRUE(Preview::run(options(), dir.filePath("blocked/Preview/Lumivert"), &error).isEmpty());
    EXPECT_TRUE(error.contains("blocked")) << error.toStdString();

    QDir(sample).removeRecursively();
    error.clear();
    EXPECT_TRUE(Preview::run(options(), copy, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QDir(sample).exists());
}
