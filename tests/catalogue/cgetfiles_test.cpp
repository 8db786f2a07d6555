// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "catalogue/cgetfiles.h"
#include "common/testutil.h"

namespace
{

class CGetFilesTest : public testing::Test
{
protected:
    void touch(const QString& name) { TestUtil::writeAll(m_dir.filePath(name), "x"); }
    QStringList names(const CGetFiles& files) const
    {
        QStringList out;
        for (const clsGetFiles& e : files.Record())
            out << e.FileName;
        return out;
    }
    QTemporaryDir m_dir;
};

TEST_F(CGetFilesTest, ListsOrdinaryMatchingFilesInCaseInsensitiveNameOrder)
{
    for (const char* name : {"b.jpg", "A.JPG", "c.Jpg", "a.jpeg", "notes.txt", ".hidden.jpg", "写真 1.jpg", "x.jpgx"})
        touch(QString::fromUtf8(name));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.jpg")));

    CGetFiles files;
    EXPECT_TRUE(files.GetFiles(m_dir.path(), QStringLiteral("*.jpg")));
    EXPECT_EQ(files.Error(), 0);
    EXPECT_EQ(files.Folder(), m_dir.path());
    EXPECT_EQ(names(files), (QStringList{"A.JPG", "b.jpg", "c.Jpg", "写真 1.jpg"}));
    const clsGetFiles* first = files.Record().Item(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->PathName, QDir::toNativeSeparators(m_dir.path()) + QDir::separator() + "A.JPG");
    EXPECT_TRUE(QFile::exists(first->PathName));

    // A second pattern appends to the same list.
    EXPECT_TRUE(files.GetFiles(m_dir.path(), QStringLiteral("*.jpeg")));
    EXPECT_EQ(names(files).last(), "a.jpeg");
    EXPECT_EQ(files.Record().Count(), 5);
}

TEST_F(CGetFilesTest, RecMaxCountsEntriesAlreadyListed)
{
    for (int i = 0; i < 12; ++i)
        touch(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    touch(QStringLiteral("q.jpeg"));
    touch(QStringLiteral("r.jpeg"));
    struct Case {
        int recMax;
        int already;
        int expected;
    } cases[] = {{999, 0, 14}, {10, 0, 10}, {13, 0, 13}, {12, 11, 12}, {12, 12, 12}, {3, 5, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "RecMax " << c.recMax << " with " << c.already);
        CGetFiles files;
        files.setRecMax(c.recMax);
        for (int i = 0; i < c.already; ++i)
            files.Record().Add(QStringLiteral("/elsewhere/e.jpg"));
        EXPECT_TRUE(files.GetFiles(m_dir.path(), QStringLiteral("*.jpg")));
        EXPECT_TRUE(files.GetFiles(m_dir.path(), QStringLiteral("*.jpeg")));
        EXPECT_EQ(files.Record().Count(), c.expected);
    }
    CGetFiles first;
    first.setRecMax(5);
    ASSERT_TRUE(first.GetFiles(m_dir.path(), QStringLiteral("*.jpg")));
    EXPECT_EQ(names(first), (QStringList{"p00.jpg", "p01.jpg", "p02.jpg", "p03.jpg", "p04.jpg"}));
}

TEST_F(CGetFilesTest, MissingOrEmptyFolderAddsNothingAndSucceeds)
{
    CGetFiles files;
    for (const QString& folder : {m_dir.filePath(QStringLiteral("missing")), m_dir.path(), QString()}) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_TRUE(files.GetFiles(folder, QStringLiteral("*.jpg")));
        EXPECT_EQ(files.Error(), 0);
        EXPECT_EQ(files.Record().Count(), 0);
    }
}

TEST(colGetFiles, GetFileNameTakesThePartAfterTheLastSeparator)
{
    const std::pair<QString, QString> cases[] = {
        {"/photos/a.jpg", "a.jpg"}, {"a.jpg", "a.jpg"}, {"/photos/", ""}, {"", ""}, {"/p/写真 1.jpg", "写真 1.jpg"},
    };
    for (const auto& [path, name] : cases) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(colGetFiles::GetFileName(path), name);
    }
    colGetFiles list;
    const clsGetFiles* added = list.Add(QStringLiteral("/x/y.jpg"));
    EXPECT_EQ(added->FileName, "y.jpg");
    EXPECT_EQ(added->PathName, "/x/y.jpg");
}

} // namespace
