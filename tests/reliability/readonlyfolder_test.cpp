// SPDX-License-Identifier: MIT
// A photo folder that cannot be written (a write-protected card, a share without write access)
// cannot hold the album lock either: its list is still read, brought up to date and arranged, and
// a run that would write there fails on its own writes instead of waiting for a lock.
#include "reliabilityutil.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTranslator>

#include "app/cli.h"
#include "catalogue/albumlock.h"
#include "catalogue/photolistfile.h"
#include "catalogue/photolistupdate.h"
#include "components/photolistmodel.h"

TEST(ReadOnlyFolder, ItsListIsReadAndArrangedAndNothingWaitsForALock)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("card"));
    Reliability::TinyDisk disk(folder, 64 << 20);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    for (int i = 1; i <= 3; ++i)
        TestUtil::writeJpeg(QDir(folder).filePath(QStringLiteral("IMG_%1.jpg").arg(i)), 640, 480, std::nullopt, false,
                            i);
    // The tool's texts in English, the words looked for below.
    QTranslator english;
    ASSERT_TRUE(Cli::loadTranslation(english, QStringLiteral("en"), {TestUtil::binDir()}));
    QCoreApplication::installTranslator(&english);
    const auto removed = qScopeGuard([&english] { QCoreApplication::removeTranslator(&english); });
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(Cli::run({folder, QStringLiteral("--list-only")}, TestUtil::binDir(), o, e), Cli::Written);
    TestUtil::writeJpeg(QDir(folder).filePath(QStringLiteral("IMG_4.jpg")), 640, 480, std::nullopt, false, 4);
    ASSERT_TRUE(disk.makeReadOnly());

    AlbumLock lock(folder);
    EXPECT_EQ(lock.tryLock(), AlbumLock::State::Unavailable);
    PhotoListModel model;
    ASSERT_TRUE(PhotoListFile::load(model, folder));
    const ListUpdate update =
        PhotoListUpdate::run(model.rows(), folder, QFileInfo(PhotoListFile::path(folder)).lastModified());
    model.setRows(update.read.rows);
    EXPECT_EQ(update.news.added, QStringList{QStringLiteral("IMG_4.jpg")});
    model.movePhoto(4, 1);
    EXPECT_EQ(model.cellText(1, PhotoColumn::FileName), QStringLiteral("IMG_4.jpg"));

    err.clear();
    EXPECT_EQ(Cli::run({folder}, TestUtil::binDir(), o, e), Cli::PagesFailed);
    EXPECT_FALSE(err.contains(QStringLiteral("waiting"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("1 new photo was added at the end: IMG_4.jpg"))) << err.toStdString();
}
