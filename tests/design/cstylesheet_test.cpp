// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "common/testutil.h"
#include "design/ccolor.h"
#include "design/cstylesheet.h"

namespace
{

class CStyleSheetTest : public ::testing::Test
{
protected:
    QString templ(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("theme.css"));
        TestUtil::writeAll(path, bytes);
        return path;
    }
    QString out() const { return m_dir.filePath(QStringLiteral("stylesheet.css")); }
    QTemporaryDir m_dir;
};

struct Case {
    const char* name;
    QByteArray in;
    const char* colour;
    QByteArray expected;
};

TEST_F(CStyleSheetTest, WritesTheTemplateWithTheColour)
{
    const Case cases[] = {
        {"no placeholder copied unchanged", "body {\r\n  margin: 0;\r\n}\r\n", "red",
         "body {\r\n  margin: 0;\r\n}\r\n"},
        {"two placeholders on a line", "a { color: &color&; border-color: &color&; }\r\n", "teal",
         "a { color: teal; border-color: teal; }\r\n"},
        {"one line without final CR LF", "h1 { color: &color&; }", "lime", "h1 { color: lime; }\r\n"},
        {"empty template", "", "navy", ""},
        {"capitals left as they are", "p { color: &COLOR&; background: &Color&; }\r\n", "red",
         "p { color: &COLOR&; background: &Color&; }\r\n"},
        {"placeholders on several lines", "&color&\r\nx\r\n&color&&color&\r\n", "aqua", "aqua\r\nx\r\naquaaqua\r\n"},
        {"LF-only lines get CR LF", "a\nb &color&\n", "gray", "a\r\nb gray\r\n"},
        {"empty lines kept", "a\r\n\r\nb\r\n", "red", "a\r\n\r\nb\r\n"},
        {"Japanese text kept", "/* 背景 &color& */\r\n", "navy", "/* 背景 navy */\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStyleSheet sheet;
        ASSERT_TRUE(sheet.CreateCSS(templ(c.in), QString::fromLatin1(c.colour), m_dir.path()));
        EXPECT_EQ(TestUtil::readAll(out()), c.expected);
    }
}

TEST_F(CStyleSheetTest, DefaultColourGivesNavy)
{
    CColor colours;
    CStyleSheet sheet;
    ASSERT_TRUE(sheet.CreateCSS(templ("body { background: &color&; }\r\n"), colours.ColorName(), m_dir.path()));
    EXPECT_EQ(TestUtil::readAll(out()), QByteArray("body { background: navy; }\r\n"));
}

TEST_F(CStyleSheetTest, ReplacesAnExistingStyleSheet)
{
    TestUtil::writeAll(out(), "old contents that are longer than the new ones\r\n");
    CStyleSheet sheet;
    ASSERT_TRUE(sheet.CreateCSS(templ("x\r\n"), QStringLiteral("red"), m_dir.path()));
    EXPECT_EQ(TestUtil::readAll(out()), QByteArray("x\r\n"));
}

TEST_F(CStyleSheetTest, MissingTemplateGivesFalseAndNoOutput)
{
    const QString missing[] = {m_dir.filePath(QStringLiteral("none.css")), m_dir.path(), QString()};
    for (const QString& path : missing) {
        SCOPED_TRACE(path.toStdString());
        CStyleSheet sheet;
        EXPECT_FALSE(sheet.CreateCSS(path, QStringLiteral("red"), m_dir.path()));
        EXPECT_FALSE(QFile::exists(out()));
    }
}

TEST_F(CStyleSheetTest, MissingTemplateLeavesAnEarlierStyleSheetAlone)
{
    TestUtil::writeAll(out(), "earlier\r\n");
    CStyleSheet sheet;
    EXPECT_FALSE(sheet.CreateCSS(m_dir.filePath(QStringLiteral("none.css")), QStringLiteral("red"), m_dir.path()));
    EXPECT_EQ(TestUtil::readAll(out()), QByteArray("earlier\r\n"));
}

TEST_F(CStyleSheetTest, MissingOutputFolderGivesFalse)
{
    CStyleSheet sheet;
    EXPECT_FALSE(sheet.CreateCSS(templ("a\r\n"), QStringLiteral("red"), m_dir.filePath(QStringLiteral("no/such"))));
}

TEST(CStyleSheetReplace, ColourNameHoldingTheMarkDoesNotLoop)
{
    EXPECT_EQ(CStyleSheet::replaceColor(QStringLiteral("&color&-&color&"), QStringLiteral("&color&")),
              QStringLiteral("&color&-&color&"));
    EXPECT_EQ(CStyleSheet::replaceColor(QStringLiteral("&color"), QStringLiteral("red")), QStringLiteral("&color"));
    EXPECT_EQ(CStyleSheet::replaceColor(QStringLiteral("&&color&&"), QStringLiteral("red")), QStringLiteral("&red&"));
}

} // namespace

namespace
{

// A user's own style sheet in Shift_JIS is read as such and written back in Shift_JIS, its
// Japanese font names intact; the shipped UTF-8 ones stay UTF-8 (above).
TEST_F(CStyleSheetTest, ShiftJisTemplateGivesAShiftJisStyleSheet)
{
    QStringEncoder sjis("Shift_JIS");
    ASSERT_TRUE(sjis.isValid());
    const QByteArray in = sjis(QStringLiteral("body { font-family: \"ＭＳ Ｐゴシック\"; color: &color&; }\r\n"
                                              "/* 背景画像 */\r\n"));
    CStyleSheet sheet;
    ASSERT_TRUE(sheet.CreateCSS(templ(in), QStringLiteral("navy"), m_dir.path()));
    const QByteArray expected =
        sjis(QStringLiteral("body { font-family: \"ＭＳ Ｐゴシック\"; color: navy; }\r\n/* 背景画像 */\r\n"));
    EXPECT_EQ(TestUtil::readAll(out()), expected);
}

} // namespace

namespace
{

// One pass: the colour filled in and the background references fitted to the files the folder
// holds, in the template's code page, and the file on disk is exactly the text made in memory.
TEST_F(CStyleSheetTest, NamesOnlyTheBackgroundTheFolderHolds)
{
    QStringEncoder sjis("Shift_JIS");
    ASSERT_TRUE(sjis.isValid());
    const QString body = QStringLiteral("/* 背景 */\r\nhtml{color:&color&;background-image:url(background.jpg),"
                                        "url(\"background.gif\")}\r\n");
    struct Case {
        const char* name;
        QStringList present;
        QString expected;
    };
    const Case cases[] = {
        {"no background", {}, QStringLiteral("/* 背景 */\r\nhtml{color:teal;background-image:none}\r\n")},
        {"JPEG",
         {QStringLiteral("background.jpg")},
         QStringLiteral("/* 背景 */\r\nhtml{color:teal;background-image:url(background.jpg),none}\r\n")},
        {"GIF",
         {QStringLiteral("background.gif")},
         QStringLiteral("/* 背景 */\r\nhtml{color:teal;background-image:none,url(\"background.gif\")}\r\n")},
    };
    for (const bool shiftJis : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (shiftJis ? ", Shift_JIS" : ", UTF-8"));
            QTemporaryDir album;
            for (const QString& name : c.present)
                TestUtil::writeAll(QDir(album.path()).filePath(name), "image");
            // An earlier style sheet naming every background must not matter: nothing is read back.
            TestUtil::writeAll(QDir(album.path()).filePath("stylesheet.css"), "a{background:url(background.jpg)}");
            const QString path = templ(shiftJis ? sjis(body) : body.toUtf8());
            const QByteArray expected = shiftJis ? QByteArray(sjis(c.expected)) : c.expected.toUtf8();

            CStyleSheet sheet;
            ASSERT_TRUE(sheet.CreateCSS(path, QStringLiteral("teal"), album.path()));
            EXPECT_EQ(TestUtil::readAll(QDir(album.path()).filePath("stylesheet.css")), expected);
            CStyleSheet inMemory;
            EXPECT_EQ(inMemory.finishedCss(path, QStringLiteral("teal"),
                                           [&](const QString& name) { return c.present.contains(name); }),
                      expected);
            EXPECT_EQ(QDir(album.path()).entryList(QDir::Files | QDir::Hidden).size(), c.present.size() + 1);
        }
    }
}

} // namespace
