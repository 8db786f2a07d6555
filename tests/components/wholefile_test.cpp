// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/fsuid.h>
#include <unistd.h>

#include "common/testutil.h"
#include "components/wholefile.h"
#include "reliability/reliabilityutil.h"

namespace
{

// Makes this thread's file accesses those of an ordinary user while it lives: root ignores folder
// and file permissions, so a test running as root would never see "Permission denied".
class AsOrdinaryUser
{
public:
    AsOrdinaryUser()
    {
        if (::geteuid() == 0)
            ::setfsuid(65534);
    }
    ~AsOrdinaryUser()
    {
        if (::geteuid() == 0)
            ::setfsuid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
};

class WholeFileTest : public ::testing::Test
{
protected:
    // The ordinary user of AsOrdinaryUser may pass through the folder.
    void SetUp() override
    {
        ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                            QFile::ExeGroup | QFile::ExeOther));
    }
    QString at(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    // Every file in folder: a failed write leaves no temporary file beside the old one.
    static QStringList files(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir m_dir;
};

TEST_F(WholeFileTest, WritesAndReadsWholeFiles)
{
    const QString path = at("Lumivert.ini");
    for (const QByteArray& bytes : {QByteArray("a longer first version\r\n"), QByteArray(), QByteArray(300000, 'x')}) {
        SCOPED_TRACE(bytes.size());
        EXPECT_EQ(WholeFile::write(path, bytes).toStdString(), "");
        QString error = "untouched";
        EXPECT_EQ(WholeFile::read(path, &error), bytes);
        EXPECT_EQ(error, "untouched");
        EXPECT_EQ(files(m_dir.path()), QStringList{"Lumivert.ini"});
    }
}

TEST_F(WholeFileTest, FailuresGiveTheSystemsReasonAndKeepTheOldFile)
{
    const QString old = at("Lumivert.opt");
    TestUtil::writeAll(old, "old");
    const QString locked = at("locked");
    QDir().mkpath(locked);
    TestUtil::writeAll(QDir(locked).filePath("Lumivert.opt"), "old");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    const QString secret = at("secret.bin");
    TestUtil::writeAll(secret, "mine");
    ASSERT_TRUE(QFile::setPermissions(secret, QFile::ReadOwner | QFile::WriteOwner));
    enum Step { Write, Read };
    struct Case {
        const char* name;
        Step step;
        QString path;
        const char* reason;
        bool ordinaryUser = false; // root passes every permission check
    };
    const Case cases[] = {
        {"write into a missing folder", Write, at("no/such/Lumivert.opt"), "No such file or directory"},
        {"write into an unwritable folder", Write, QDir(locked).filePath("Lumivert.opt"), "Permission denied", true},
        {"write over a folder", Write, m_dir.path(), "Is a directory"},
        {"read a missing file", Read, at("Lumivert.bin"), "No such file or directory"},
        {"read a folder", Read, m_dir.path(), "Is a directory"},
        {"read an unreadable file", Read, secret, "Permission denied", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<AsOrdinaryUser> user;
        if (c.ordinaryUser)
            user.emplace();
        QString error;
        if (c.step == Write)
            error = WholeFile::write(c.path, QByteArray(100000, 'n'));
        else
            EXPECT_EQ(WholeFile::read(c.path, &error), std::nullopt);
        EXPECT_EQ(error.toStdString(), c.reason);
    }
    // Content that cannot be made after part of it was written: the old file stays, nothing else.
    EXPECT_EQ(WholeFile::write(old, [](QIODevice& device) { return device.write("half") == 4 && false; }).toStdString(),
              "content not made");
    EXPECT_EQ(TestUtil::readAll(QDir(locked).filePath("Lumivert.opt")), QByteArray("old"));
    EXPECT_EQ(files(locked), QStringList{"Lumivert.opt"});
    EXPECT_EQ(TestUtil::readAll(old), QByteArray("old"));
    EXPECT_EQ(files(m_dir.path()), (QStringList{"Lumivert.opt", "secret.bin"}));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A full disk shows only at the final flush of a small file; the old file must survive it whole.
TEST_F(WholeFileTest, FullDiskKeepsTheOldFile)
{
    const QString mount = at("disk");
    Reliability::TinyDisk disk(mount, 256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QString path = QDir(mount).filePath("Lumivert.bin");
    ASSERT_EQ(WholeFile::write(path, "old").toStdString(), "");
    disk.fill();
    for (const qsizetype size : {qsizetype(100), qsizetype(1 << 20)}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(WholeFile::write(path, QByteArray(size, 'n')).toStdString(), "No space left on device");
        EXPECT_EQ(TestUtil::readAll(path), QByteArray("old"));
        EXPECT_EQ(files(mount), (QStringList{"Lumivert.bin", "zz-filler"}));
    }
}

} // namespace
