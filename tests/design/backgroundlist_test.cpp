// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/testutil.h"
#include "design/backgroundlist.h"

namespace
{

TEST(BackgroundList, FolderBesideTheProgram)
{
    EXPECT_EQ(BackgroundList::imageFolder(QStringLiteral("/opt/lumivert")),
              QStringLiteral("/opt/lumivert") + QDir::separator() + QStringLiteral("背景画像"));
}

TEST(BackgroundList, ListsJpgFilesInNameOrderWithTheirPictures)
{
    QTemporaryDir dir;
    const QString folder = BackgroundList::imageFolder(dir.path());
    ASSERT_TRUE(QDir().mkpath(folder));
    TestUtil::writeJpeg(folder + QStringLiteral("/b.jpg"), 60, 40, std::nullopt, false, 2);
    TestUtil::writeJpeg(folder + QStringLiteral("/A.JPG"), 30, 20, std::nullopt, false, 1);
    TestUtil::writeJpeg(folder + QStringLiteral("/c.jpeg"), 30, 20); // not "*.jpg"
    TestUtil::writeAll(folder + QStringLiteral("/d.jpg"), "not a picture");
    TestUtil::writeJpeg(folder + QStringLiteral("/.hidden.jpg"), 30, 20);
    const QByteArray before = TestUtil::sha256(folder + QStringLiteral("/b.jpg"));

    BackgroundList list;
    list.load(folder);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.Record().Item(1)->FileName, QStringLiteral("A.JPG"));
    EXPECT_EQ(list.Record().Item(2)->FileName, QStringLiteral("b.jpg"));
    EXPECT_EQ(list.Record().Item(3)->FileName, QStringLiteral("d.jpg"));
    EXPECT_EQ(list.pathName(2), QDir::toNativeSeparators(folder + QStringLiteral("/b.jpg")));
    EXPECT_EQ(list.picture(1).size(), QSize(30, 20));
    EXPECT_EQ(list.picture(2).size(), QSize(60, 40)); // full size, not reduced
    EXPECT_TRUE(list.picture(3).isNull());            // listed, but it does not decode
    for (int outside : {0, 4, -1}) {
        EXPECT_TRUE(list.pathName(outside).isEmpty());
        EXPECT_TRUE(list.picture(outside).isNull());
    }
    EXPECT_EQ(TestUtil::sha256(folder + QStringLiteral("/b.jpg")), before);

    // Loading again lists afresh instead of adding to the old listing.
    list.load(folder);
    EXPECT_EQ(list.count(), 3);
}

TEST(BackgroundList, MissingFolderListsNothing)
{
    QTemporaryDir dir;
    BackgroundList list;
    list.load(dir.filePath(QStringLiteral("none")));
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.picture(1).isNull());
}

} // namespace
