// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "generate/basresoutprn.h"
#include "common/testutil.h"

using namespace basResOutPrn;

namespace
{
QString crlf(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
} // namespace

TEST(ReadFormatSection, ReadsSlotsKindsAndText)
{
    const QString text = crlf(
        {"before", "Sec", "' a comment", "001 0<html>", "012 3<td>&&</td>", "050 9  last  ", "002 1", "End", "after"});
    const auto slots = ReadFormatSection(text, "Sec");
    ASSERT_TRUE(slots);
    EXPECT_EQ(slots->count, 4); // the comment does not count
    EXPECT_EQ(slots->text(1), "<html>");
    EXPECT_EQ(slots->text(12), "<td>&&</td>");
    EXPECT_EQ(slots->kinds[12], 3);
    EXPECT_EQ(slots->text(50), "  last  "); // blanks kept
    EXPECT_EQ(slots->kinds[50], 9);
    EXPECT_EQ(slots->text(2), ""); // a five-character line: an empty slot
    EXPECT_EQ(slots->kinds[2], 1);
    EXPECT_EQ(slots->text(3), ""); // never named
}

TEST(ReadFormatSection, LaterLineReplacesEarlierAndFirstHeaderWins)
{
    const QString text = crlf({"Sec", "005 0first", "005 0second", "End", "Sec", "005 0other", "End"});
    const auto slots = ReadFormatSection(text, "Sec");
    ASSERT_TRUE(slots);
    EXPECT_EQ(slots->text(5), "second");
}

TEST(ReadFormatSection, FailingSections)
{
    struct Case {
        const char* name;
        QStringList lines;
    };
    const Case cases[] = {
        {"no header", {"Other", "001 0x", "End"}},
        {"header with trailing blank", {"Sec ", "001 0x", "End"}},
        {"header in other case", {"sec", "001 0x", "End"}},
        {"no End", {"Sec", "001 0x"}},
        {"End with trailing blank", {"Sec", "001 0x", "End ", "End"}},
        {"End with leading blank", {"Sec", " End", "End"}},
        {"END in capitals", {"Sec", "END", "End"}},
        {"empty line", {"Sec", "001 0x", "", "End"}},
        {"comment after a blank", {"Sec", " 'not a comment", "End"}},
        {"slot 0", {"Sec", "000 0x", "End"}},
        {"slot 51", {"Sec", "051 0x", "End"}},
        {"slot text", {"Sec", "abc 0x", "End"}},
        {"negative slot", {"Sec", "-1 0x", "End"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(ReadFormatSection(crlf(c.lines), "Sec", &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(ReadFormatSection(QString(), "Sec"));
}

TEST(ReadFormatSection, ReadsNumberColumnsLikeTheTemplateRule)
{
    struct Case {
        const char* field;
        int value;
    };
    const Case cases[] = {
        {"012", 12}, {" 12", 12}, {"1 2", 12}, {"7", 7},   {"7x9", 7}, {"1.5", 2},  {"2.5", 2},
        {"2.6", 3},  {"1e1", 10}, {"", 0},     {"   ", 0}, {"abc", 0}, {".", 0},    {"-3", -3},
        {"+4", 4},   {"4-", 4},   {"0", 0},    {"9", 9},   {"a", 0},   {"050", 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(readNumberField(QString::fromLatin1(c.field)), c.value);
    }
    // The kind digit: column 5, 0 when it is not a digit.
    const auto slots = ReadFormatSection(crlf({"S", "001 xtext", "002  text", "003 7", "End"}), "S");
    ASSERT_TRUE(slots);
    EXPECT_EQ(slots->kinds[1], 0);
    EXPECT_EQ(slots->text(1), "text");
    EXPECT_EQ(slots->kinds[2], 0);
    EXPECT_EQ(slots->text(2), "text");
    EXPECT_EQ(slots->kinds[3], 7);
}

TEST(ReadFormatSection, AcceptsLfOnlyLinesAndMissingFinalLineEnd)
{
    const auto slots = ReadFormatSection(QStringLiteral("S\n001 0a\n002 0b\nEnd"), "S");
    ASSERT_TRUE(slots);
    EXPECT_EQ(slots->text(2), "b");
}

TEST(ReadFormatSection, ReadsFilesInUtf8AndShiftJis)
{
    QTemporaryDir dir;
    const QString utf8Path = dir.filePath("u.fmt");
    TestUtil::writeAll(utf8Path, crlf({"S", "001 0目次へ", "End"}).toUtf8());
    const auto fromUtf8 = readFormatSectionFile(utf8Path, "S");
    ASSERT_TRUE(fromUtf8);
    EXPECT_EQ(fromUtf8->text(1), QStringLiteral("目次へ"));

    QStringEncoder sjis("Shift_JIS");
    ASSERT_TRUE(sjis.isValid());
    const QString sjisPath = dir.filePath("s.fmt");
    TestUtil::writeAll(sjisPath, sjis(crlf({"S", "001 0写真の一覧", "End"})));
    const auto text = readTemplateFile(sjisPath);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->encoding, QByteArray("Shift_JIS"));
    const auto fromSjis = ReadFormatSection(text->text, "S");
    ASSERT_TRUE(fromSjis);
    EXPECT_EQ(fromSjis->text(1), QStringLiteral("写真の一覧"));

    EXPECT_FALSE(readFormatSectionFile(dir.filePath("missing.fmt"), "S"));
    EXPECT_FALSE(readFormatSectionFile(dir.path(), "S")); // a folder is no template
}

TEST(ReplaceMark, FillsTheFirstMarkEachTime)
{
    EXPECT_EQ(ReplaceMark("<a href=\"&&\">&&</a>", "p.htm"), "<a href=\"p.htm\">&&</a>");
    EXPECT_EQ(ReplaceMark(ReplaceMark("<a href=\"&&\">&&</a>", "p.htm"), "x"), "<a href=\"p.htm\">x</a>");
    EXPECT_EQ(ReplaceMark("no mark", "v"), "no mark");
    EXPECT_EQ(ReplaceMark("&&", ""), "");
    EXPECT_EQ(ReplaceMark("a&&&b", "X"), "aX&b");
    // A value holding "&&" takes the place of the next mark.
    EXPECT_EQ(ReplaceMark(ReplaceMark("[&&] [&&]", "A&&B"), "C"), "[ACB] [&&]");
    // Values go in unescaped.
    EXPECT_EQ(ReplaceMark("<h1>&&</h1>", "<b>&amp;"), "<h1><b>&amp;</h1>");
}

TEST(PhotoNumberText, HasAtLeastThreeDigits)
{
    EXPECT_EQ(photoNumberText(1), "001");
    EXPECT_EQ(photoNumberText(10), "010");
    EXPECT_EQ(photoNumberText(100), "100");
    EXPECT_EQ(photoNumberText(999), "999");
    EXPECT_EQ(photoNumberText(1000), "1000");
}

TEST(WritePageFile, WritesWholePagesInTheTemplateEncoding)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.htm");
    ASSERT_TRUE(writePageFile(path, QStringLiteral("目次\r\n"), "UTF-8"));
    EXPECT_EQ(TestUtil::readAll(path), QStringLiteral("目次\r\n").toUtf8());
    ASSERT_TRUE(writePageFile(path, QStringLiteral("目次\r\n"), "Shift_JIS"));
    EXPECT_EQ(TestUtil::readAll(path), QByteArray("\x96\xda\x8e\x9f\r\n"));
    // A folder that does not exist: no page, an error.
    QString error;
    EXPECT_FALSE(writePageFile(dir.filePath("none/p.htm"), "x", "UTF-8", &error));
    EXPECT_FALSE(error.isEmpty());
}
