// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/testutil.h"
#include "generate/bastoolsap.h"

TEST(BasToolsAp, DeleteFilesMatchesOrdinaryFilesWithoutLetterCase)
{
    QTemporaryDir dir;
    for (const char* name : {"a.htm", "B.HTM", "c.Htm", ".hidden.htm", "d.html", "e.jpg"})
        TestUtil::writeAll(dir.filePath(name), "x");
    QDir().mkdir(dir.filePath("folder.htm"));
    EXPECT_TRUE(basToolsAp::DeleteFiles(dir.filePath("*.htm")));
    const QStringList left =
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    EXPECT_EQ(left, (QStringList{".hidden.htm", "d.html", "e.jpg", "folder.htm"}));
    EXPECT_FALSE(basToolsAp::DeleteFiles(dir.filePath("*.htm"))); // nothing matches any more
    EXPECT_FALSE(basToolsAp::DeleteFiles(dir.filePath("none/*.htm")));
    EXPECT_TRUE(basToolsAp::DeleteFiles(dir.filePath("e.jpg"))); // a plain name is a pattern too
}

TEST(BasToolsAp, MakeFolderAndOptionIndex)
{
    QTemporaryDir dir;
    EXPECT_TRUE(basToolsAp::MakeFolder(dir.filePath("album")));
    EXPECT_FALSE(basToolsAp::MakeFolder(dir.filePath("album"))); // exists already
    EXPECT_FALSE(basToolsAp::MakeFolder(dir.filePath("no/parent")));
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());

    EXPECT_EQ(basToolsAp::GetOptionIndex({false, true, false}), 1);
    EXPECT_EQ(basToolsAp::GetOptionIndex({true, true}), 0);
    EXPECT_EQ(basToolsAp::GetOptionIndex({false, false}), 0);
    EXPECT_EQ(basToolsAp::GetOptionIndex({}), 0);
}
