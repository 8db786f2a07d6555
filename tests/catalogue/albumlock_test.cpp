// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include "catalogue/albumlock.h"
#include "common/testutil.h"

namespace
{

// The lock file a holder leaves, with some of its lines (0 process, 2 machine, 3 machine id)
// replaced: what another run, a killed run or another machine would have left.
void leaveLock(const QString& folder, const QMap<int, QByteArray>& lines)
{
    QByteArray bytes;
    {
        AlbumLock holder(folder);
        ASSERT_EQ(holder.tryLock(), AlbumLock::State::Held);
        bytes = TestUtil::readAll(AlbumLock::path(folder));
    }
    QList<QByteArray> parts = bytes.split('\n');
    for (auto it = lines.begin(); it != lines.end(); ++it)
        parts[it.key()] = it.value();
    TestUtil::writeAll(AlbumLock::path(folder), parts.join('\n'));
}

qint64 goneProcess()
{
    QProcess p;
    p.start(QStringLiteral("true"), {});
    p.waitForFinished();
    return p.processId() ? p.processId() : 999999;
}

} // namespace

TEST(AlbumLock, OneHolderAtATimeAndTheHolderIsNamed)
{
    QTemporaryDir dir;
    AlbumLock first(dir.path());
    AlbumLock second(dir.path());
    ASSERT_EQ(first.tryLock(), AlbumLock::State::Held);
    EXPECT_EQ(first.tryLock(), AlbumLock::State::Held);
    EXPECT_EQ(second.tryLock(), AlbumLock::State::Busy);
    EXPECT_EQ(second.holderPid(), QCoreApplication::applicationPid());
    EXPECT_FALSE(second.heldByAnotherMachine());
    first.unlock();
    EXPECT_FALSE(QFile::exists(AlbumLock::path(dir.path())));
    EXPECT_EQ(second.tryLock(), AlbumLock::State::Held);
}

TEST(AlbumLock, ALockOfAGoneProcessIsTakenOverAtOnce)
{
    QTemporaryDir dir;
    leaveLock(dir.path(), {{0, QByteArray::number(goneProcess())}});
    AlbumLock lock(dir.path());
    EXPECT_EQ(lock.tryLock(), AlbumLock::State::Held);
}

TEST(AlbumLock, ALockOfAnotherMachineIsNeverTakenOverByAge)
{
    QTemporaryDir dir;
    leaveLock(dir.path(), {{0, QByteArray::number(goneProcess())}, {2, "far-away"}, {3, "0123456789abcdef"}});
    QFile file(AlbumLock::path(dir.path()));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-30), QFileDevice::FileModificationTime));
    file.close();
    AlbumLock lock(dir.path());
    EXPECT_EQ(lock.tryLock(), AlbumLock::State::Busy);
    EXPECT_TRUE(lock.heldByAnotherMachine());
    EXPECT_EQ(lock.holderHost(), "far-away");
}

TEST(AlbumLock, AFolderThatCannotHoldALockSaysSo)
{
    QTemporaryDir dir;
    AlbumLock lock(dir.filePath("missing"));
    EXPECT_EQ(lock.tryLock(), AlbumLock::State::Unavailable);
    EXPECT_FALSE(lock.isHeld());
}
