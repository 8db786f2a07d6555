// SPDX-License-Identifier: MIT
#include "app/cprivateprofile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "common/testutil.h"

namespace
{

class PrivateProfileTest : public ::testing::Test
{
protected:
    QString path(const QString& name = QStringLiteral("Lumivert.ini")) const { return m_dir.filePath(name); }
    void write(const QByteArray& bytes) const { TestUtil::writeAll(path(), bytes); }
    QByteArray contents() const { return TestUtil::readAll(path()); }

    QTemporaryDir m_dir;
    CPrivateProfile m_profile;
};

TEST_F(PrivateProfileTest, RoundTripCreatesFileSectionAndKey)
{
    ASSERT_FALSE(QFile::exists(path()));
    EXPECT_NE(m_profile.SetValueString(path(), "Folder", "Folder", "/home/user/写真"), 0);
    EXPECT_EQ(m_profile.GetValueString(path(), "Folder", "Folder"), QStringLiteral("/home/user/写真"));
    EXPECT_NE(m_profile.SetValueString(path(), "Main", "Top", "1200"), 0);
    EXPECT_EQ(m_profile.GetValueLong(path(), "Main", "Top"), 1200);
    EXPECT_EQ(contents(), QByteArray("[Folder]\r\nFolder=/home/user/写真\r\n[Main]\r\nTop=1200\r\n"));
    // Rewriting a key replaces its line instead of adding one.
    EXPECT_NE(m_profile.SetValueString(path(), "Folder", "Folder", "/b"), 0);
    EXPECT_EQ(contents(), QByteArray("[Folder]\r\nFolder=/b\r\n[Main]\r\nTop=1200\r\n"));
}

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyGivesDefaults)
{
    EXPECT_EQ(m_profile.GetValueLong(path(), "Main", "Top"), -1);
    EXPECT_EQ(m_profile.GetValueString(path(), "Folder", "Folder"), QString());
    write("[Main]\r\nLeft=5\r\n");
    EXPECT_EQ(m_profile.GetValueLong(path(), "Main", "Top"), -1);
    EXPECT_EQ(m_profile.GetValueLong(path(), "Other", "Left"), -1);
    EXPECT_EQ(m_profile.GetValueLong(path(), "Main", "Left"), 5);
}

TEST_F(PrivateProfileTest, LongValueRules)
{
    const struct {
        const char* stored;
        qint32 expected;
    } rows[] = {
        {"12.75", 12},
        {"-300", -300},
        {"+7", 7},
        {"abc", 0},
        {"", -1},
        {"  42  ", 42},
        {"42px", 42},
        {"-", 0},
        {"0", 0},
        {"\"15\"", 15},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"1e3", 1},
        {"- 5", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        write(QByteArray("[Main]\r\nC1=") + row.stored + "\r\n");
        EXPECT_EQ(m_profile.GetValueLong(path(), "Main", "C1"), row.expected);
    }
}

TEST_F(PrivateProfileTest, NamesMatchWithoutRegardToCase)
{
    write("[main]\r\ntOP=10\r\n[FOLDER]\r\nfolder=/x\r\n");
    EXPECT_EQ(m_profile.GetValueLong(path(), "Main", "Top"), 10);
    EXPECT_EQ(m_profile.GetValueString(path(), "Folder", "Folder"), QStringLiteral("/x"));
    // Writing through other letter case replaces the existing line, spelt as the file spells it.
    EXPECT_NE(m_profile.SetValueString(path(), "MAIN", "top", "20"), 0);
    EXPECT_EQ(contents(), QByteArray("[main]\r\ntOP=20\r\n[FOLDER]\r\nfolder=/x\r\n"));
}

TEST_F(PrivateProfileTest, OtherLinesStayByteForByte)
{
    const QByteArray before = "; a comment\n[Main]\nTop=1\n\n  odd line without equals\n[Other]\r\nx = y \r\n"
                              "binary\x01\xff\xfe\n";
    write(before);
    ASSERT_NE(m_profile.SetValueString(path(), "Main", "Left", "30"), 0);
    // The new key goes after the section's last filled line, with the file's own line ending.
    EXPECT_EQ(contents(), QByteArray("; a comment\n[Main]\nTop=1\n\n  odd line without equals\nLeft=30\n[Other]\r\n"
                                     "x = y \r\nbinary\x01\xff\xfe\n"));
    EXPECT_EQ(m_profile.GetValueString(path(), "Other", "x"), QStringLiteral("y"));
    ASSERT_NE(m_profile.SetValueString(path(), "Main", "Top", "2"), 0);
    EXPECT_TRUE(contents().startsWith("; a comment\n[Main]\nTop=2\n\n"));
}

TEST_F(PrivateProfileTest, AddsKeyToLastSectionWithoutFinalLineBreak)
{
    write("[Main]\r\nTop=1");
    ASSERT_NE(m_profile.SetValueString(path(), "Main", "Left", "2"), 0);
    EXPECT_EQ(contents(), QByteArray("[Main]\r\nTop=1\r\nLeft=2\r\n"));
    write("[Main]\r\nTop=1");
    ASSERT_NE(m_profile.SetValueString(path(), "Folder", "Folder", "/p"), 0);
    EXPECT_EQ(contents(), QByteArray("[Main]\r\nTop=1\r\n[Folder]\r\nFolder=/p\r\n"));
}

TEST_F(PrivateProfileTest, StringIsCutTo127BytesAtACharacterBoundary)
{
    const QString ascii(200, QLatin1Char('a'));
    ASSERT_NE(m_profile.SetValueString(path(), "Folder", "Folder", ascii), 0);
    EXPECT_EQ(m_profile.GetValueString(path(), "Folder", "Folder"), ascii.left(127));
    // 写 is three bytes: 42 of them fill 126 bytes, the 43rd would straddle the limit.
    const QString wide(50, QChar(0x5199));
    ASSERT_NE(m_profile.SetValueString(path(), "Folder", "Folder", wide), 0);
    EXPECT_EQ(m_profile.GetValueString(path(), "Folder", "Folder"), wide.left(42));
    const QString exact = QString(127, QLatin1Char('b'));
    ASSERT_NE(m_profile.SetValueString(path(), "Folder", "Folder", exact), 0);
    EXPECT_EQ(m_profile.GetValueString(path(), "Folder", "Folder"), exact);
}

TEST_F(PrivateProfileTest, UnsafeNamesAndValuesAreRefusedAndChangeNothing)
{
    write("[Main]\r\nTop=1\r\n");
    const QByteArray before = contents();
    EXPECT_EQ(m_profile.SetValueString(path(), "Main", "Top", "1\r\n[Evil]\r\nx=1"), 0);
    EXPECT_EQ(m_profile.SetValueString(path(), "Main", "a=b", "1"), 0);
    EXPECT_EQ(m_profile.SetValueString(path(), "Ma]in", "k", "1"), 0);
    EXPECT_EQ(m_profile.SetValueString(path(), "Main", "", "1"), 0);
    EXPECT_EQ(m_profile.SetValueString(path(), "Main", ";k", "1"), 0);
    EXPECT_EQ(contents(), before);
}

TEST_F(PrivateProfileTest, UnwritablePlaceFailsSilently)
{
    const QString missingFolder = m_dir.filePath("no/such/folder/Lumivert.ini");
    EXPECT_EQ(m_profile.SetValueString(missingFolder, "Main", "Top", "1"), 0);
    EXPECT_FALSE(QFileInfo::exists(missingFolder));
    // A folder where the file should be: neither read nor written.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Lumivert.ini"));
    EXPECT_EQ(m_profile.SetValueString(path(), "Main", "Top", "1"), 0);
    EXPECT_EQ(m_profile.GetValueLong(path(), "Main", "Top"), -1);
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(PrivateProfileTest, ReadOnlyFileIsLeftIntact)
{
    write("[Main]\r\nTop=1\r\n");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const qint16 ok = m_profile.SetValueString(path(), "Main", "Top", "2");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (ok != 0)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_EQ(contents(), QByteArray("[Main]\r\nTop=1\r\n"));
}

TEST_F(PrivateProfileTest, HostileFilesYieldDefaultsWithoutCrashing)
{
    QRandomGenerator random(7);
    QByteArray garbage(10 * 1024 * 1024, Qt::Uninitialized);
    for (char& c : garbage)
        c = char(random.bounded(256));
    QByteArray longLine = "[Main]\r\nTop=" + QByteArray(3 * 1024 * 1024, '9') + "\r\n";
    QByteArray noBreaks(2 * 1024 * 1024, '[');
    const QByteArray nulInValue = QByteArray("[Folder]\r\nFolder=/a\0b\r\n", 22);
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {{"random 10 MB", garbage}, {"long line", longLine}, {"no line breaks", noBreaks}, {"nul", nulInValue}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        write(row.bytes);
        const qint32 top = m_profile.GetValueLong(path(), "Main", "Top");
        EXPECT_TRUE(top == -1 || top == 0 || top == 2147483647) << top;
        const QString folder = m_profile.GetValueString(path(), "Folder", "Folder");
        EXPECT_LE(folder.toUtf8().size(), 127);
        // A write keeps the rest of the file and the new key reads back.
        ASSERT_NE(m_profile.SetValueString(path(), "Lumivert", "Key", "v"), 0);
        EXPECT_EQ(m_profile.GetValueString(path(), "Lumivert", "Key"), QStringLiteral("v"));
        EXPECT_TRUE(contents().startsWith(row.bytes.left(1000)));
    }
    EXPECT_EQ(m_profile.GetValueString(path(), "Folder", "Folder"), QStringLiteral("/a"));
}

TEST(PrivateProfileNumbers, WrittenAsPlainDecimal)
{
    EXPECT_EQ(CPrivateProfile::numberText(12), QStringLiteral("12"));
    EXPECT_EQ(CPrivateProfile::numberText(-15), QStringLiteral("-15"));
    EXPECT_EQ(CPrivateProfile::numberText(12.75), QStringLiteral("12.75"));
    EXPECT_EQ(CPrivateProfile::numberText(1234567), QStringLiteral("1234567"));
    EXPECT_EQ(CPrivateProfile::numberText(0), QStringLiteral("0"));
}

} // namespace
