// SPDX-License-Identifier: MIT
// lumivert-cli killed (SIGKILL) at moments spread over a run that saves the list and writes the
// album: the list stays whole, every image whole, and the next run, which finds the killed run's
// lock, takes it over at once and completes the album.
#include "reliabilityutil.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include "catalogue/albumlock.h"
#include "catalogue/photolistfile.h"
#include "components/photocheck.h"
#include "components/photolistmodel.h"

namespace
{

constexpr int Photos = 12;

QProcess* startCli(QProcess& process, const QString& folder, const QStringList& more = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A run that found a live lock would wait; a killed run's lock must not make it wait at all.
    env.insert(QStringLiteral("LUMIVERT_LOCK_WAIT"), QStringLiteral("0"));
    // In English, the words the test looks for.
    env.insert(QStringLiteral("LUMIVERT_LANG"), QStringLiteral("en"));
    process.setProcessEnvironment(env);
    process.start(QDir(TestUtil::binDir()).filePath(QStringLiteral("lumivert-cli")), QStringList{folder} + more);
    return &process;
}

} // namespace

TEST(KilledRun, EveryMomentLeavesWholeFilesAndTheNextRunCompletes)
{
    QTemporaryDir source;
    for (int i = 1; i <= Photos; ++i)
        TestUtil::writeJpeg(source.filePath(QStringLiteral("IMG_%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), 1600, 1200,
                            std::nullopt, false, i);
    int killedWithTheLock = 0;
    for (const int delay : {0, 40, 120, 250, 400, 700, 1000, 1500}) {
        SCOPED_TRACE(delay);
        QTemporaryDir dir;
        for (const QString& name : QDir(source.path()).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(source.filePath(name), dir.filePath(name)));
        // Some folders have a list and an album already, which the killed run rewrites.
        const bool again = delay % 3 == 1 || delay == 0;
        if (again) {
            QProcess first;
            startCli(first, dir.path(), {"--width", "640"});
            ASSERT_TRUE(first.waitForFinished(120000));
            ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
        }

        QProcess victim;
        startCli(victim, dir.path(), {"--width", "800", "--reimport", "--replace-list"});
        ASSERT_TRUE(victim.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(delay));
        ::kill(pid_t(victim.processId()), SIGKILL);
        victim.waitForFinished();
        if (QFile::exists(AlbumLock::path(dir.path())))
            ++killedWithTheLock;

        if (PhotoListFile::exists(dir.path())) {
            PhotoListModel model;
            EXPECT_TRUE(PhotoListFile::load(model, dir.path()));
            EXPECT_EQ(model.photoCount(), Photos);
        }
        const QString album = dir.filePath("Lumivert");
        EXPECT_EQ(Reliability::brokenImages(album), QStringList());
        for (const QString& name : QDir(album).entryList({QStringLiteral("*.jpg")}, QDir::Files))
            EXPECT_EQ(PhotoCheck::checkDecoded(QDir(album).filePath(name)).problem, PhotoCheck::Problem::None)
                << name.toStdString();

        QProcess next;
        startCli(next, dir.path());
        ASSERT_TRUE(next.waitForFinished(120000));
        const QString err = QString::fromUtf8(next.readAllStandardError());
        EXPECT_EQ(next.exitCode(), 0) << err.toStdString();
        EXPECT_FALSE(err.contains(QStringLiteral("waiting"))) << err.toStdString();
        for (int i = 1; i <= Photos; ++i) {
            const QString nnn = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
            for (const QString& file : {"page" + nnn + ".htm", "page" + nnn + ".jpg", "index" + nnn + ".jpg"})
                EXPECT_TRUE(QFile::exists(QDir(album).filePath(file))) << file.toStdString();
        }
        EXPECT_EQ(Reliability::strayFiles(album), QStringList());
        EXPECT_FALSE(QFile::exists(AlbumLock::path(dir.path())));
    }
    // The moments chosen do reach the writing part of a run.
    EXPECT_GT(killedWithTheLock, 0);
}
