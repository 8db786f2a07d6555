// SPDX-License-Identifier: MIT
// A new album takes the images of the folder's last one that would come out the same. Whatever
// it takes, the album must be byte for byte the album a cold run in a fresh folder writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <stop_token>

#include "common/testutil.h"
#include "generate/albumgenerator.h"
#include "generate/imagecache.h"

namespace
{

// Every entry of the album folder, hidden ones and folders included, with its bytes.
QMap<QString, QByteArray> albumEntries(const QString& folder)
{
    QMap<QString, QByteArray> entries;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        entries.insert(info.fileName(), info.isDir() ? QByteArray("<folder>") : TestUtil::readAll(info.filePath()));
    return entries;
}

class ImageCacheTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString photoFolder;
    QVector<PhotoRow> rows;
    QByteArray savedCacheHome;
    int coldRuns = 0;
    int coverEffect = 0;
    bool highDensity = false; // the design's images; the second images are tested apart

    void SetUp() override
    {
        // The records go to a cache folder of the test's own.
        savedCacheHome = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
        photoFolder = dir.filePath("photos");
        QDir().mkpath(photoFolder);
        for (int i = 1; i <= 6; ++i) {
            PhotoRow row;
            row.pathName = TestUtil::writeJpeg(QDir(photoFolder).filePath(QStringLiteral("P%1.jpg").arg(i)), 800, 600,
                                               std::nullopt, i % 3 == 0, 11 * i);
            row.fileName = QStringLiteral("P%1.jpg").arg(i);
            row.caption = QStringLiteral("Photo %1").arg(i);
            row.rotation = i == 5 ? 1 : 0;
            rows << row;
        }
    }
    void TearDown() override
    {
        if (savedCacheHome.isNull())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", savedCacheHome);
    }
    AlbumOptions options(const QString& folder) const
    {
        AlbumOptions o;
        o.photoFolder = folder;
        o.programFolder = TestUtil::binDir();
        o.themeFile = "basic.css";
        o.coverNumber = 1;
        o.coverEffect = coverEffect;
        o.progressive = true;
        o.highDensity = highDensity;
        return o;
    }
    QString album() const { return QDir(photoFolder).filePath("Lumivert"); }
    GenerationResult run(const QString& folder, std::function<bool(int, int)> stopAt = {})
    {
        std::stop_source stop;
        return AlbumGenerator::run(options(folder), rows, GenerationMode::NewAlbum, stop.get_token(),
                                   [&](int step, int i, int) {
                                       if (stopAt && stopAt(step, i))
                                           stop.request_stop();
                                   });
    }
    GenerationResult run(std::function<bool(int, int)> stopAt = {}) { return run(photoFolder, stopAt); }
    // The album a cold run of the same list (and the same stop) writes into a fresh folder.
    QMap<QString, QByteArray> coldAlbum(std::function<bool(int, int)> stopAt = {})
    {
        const QString folder = dir.filePath(QStringLiteral("cold%1").arg(++coldRuns));
        QDir().mkpath(folder);
        EXPECT_EQ(run(folder, stopAt).reusedImages, 0);
        return albumEntries(QDir(folder).filePath("Lumivert"));
    }
};

} // namespace

TEST_F(ImageCacheTest, ReCreateAfterEditsEqualsAColdRunAndMakesOnlyWhatChanged)
{
    rows << rows[2]; // the same photo twice
    EXPECT_EQ(run().reusedImages, 0);
    const QMap<QString, QByteArray> first = albumEntries(album());
    EXPECT_EQ(run().reusedImages, 14);
    EXPECT_EQ(albumEntries(album()), first);

    rows.prepend(rows.takeLast()); // the last photo to the top
    rows[2].caption = QStringLiteral("A new caption");
    rows[4].rotation = 2; // P4 turned
    rows.removeAt(1);     // P1 left out
    const GenerationResult result = run();
    EXPECT_TRUE(result.failedImages.isEmpty());
    EXPECT_EQ(result.reusedImages, 2 * 6 - 2); // only the turned photo's two images are made
    EXPECT_EQ(albumEntries(album()), coldAlbum());
}

// The cover images stay while their page image and the effect do; else they are made again, as
// a cold run makes them.
TEST_F(ImageCacheTest, TheCoverStaysWhileItsPageImageAndEffectDo)
{
    highDensity = true;
    ASSERT_EQ(run().reusedImages, 0);
    const auto written = [this](const char* name) {
        return std::filesystem::last_write_time(QFileInfo(QDir(album()).filePath(name)).filesystemFilePath());
    };
    const auto top = written("top.jpg");
    const auto top2x = written("top@2x.jpg");
    run();
    EXPECT_EQ(written("top.jpg"), top);
    EXPECT_EQ(written("top@2x.jpg"), top2x);
    coverEffect = 4;
    run();
    EXPECT_NE(written("top.jpg"), top);
    EXPECT_EQ(albumEntries(album()), coldAlbum());
    rows.swapItemsAt(0, 1); // another photo on the cover page
    run();
    EXPECT_EQ(albumEntries(album()), coldAlbum());
}

TEST_F(ImageCacheTest, APhotoReplacedBySameNameSizeAndTimeGivesNewImages)
{
    ASSERT_EQ(run().reusedImages, 0);
    // Another picture in P2's file, padded to its size, with its modification time put back.
    const QString path = rows[1].pathName;
    const QByteArray before = TestUtil::readAll(path);
    const auto time = std::filesystem::last_write_time(QFile::encodeName(path).toStdString());
    QImage other(800, 600, QImage::Format_RGB32);
    other.fill(Qt::darkGreen);
    TestUtil::writeJpeg(path, other);
    QByteArray after = TestUtil::readAll(path);
    ASSERT_LT(after.size(), before.size());
    after.append(before.size() - after.size(), '\0');
    TestUtil::writeAll(path, after);
    std::filesystem::last_write_time(QFile::encodeName(path).toStdString(), time);

    EXPECT_EQ(run().reusedImages, 2 * 6 - 2);
    EXPECT_EQ(albumEntries(album()), coldAlbum());
}

TEST_F(ImageCacheTest, DamagedForeignOrChangedCacheIsNotTrusted)
{
    // A second album, whose record is foreign to the first one.
    const QString otherFolder = dir.filePath("other");
    QDir().mkpath(otherFolder);
    ASSERT_EQ(run(otherFolder).reusedImages, 0);
    const QString otherRecord = ImageCache::recordPath(QDir(otherFolder).filePath("Lumivert"));
    ASSERT_TRUE(QFile::exists(otherRecord));
    const QMap<QString, QByteArray> cold = coldAlbum();

    struct Case {
        const char* what;
        std::function<void(const QString& record)> spoil;
        int reused;
    };
    const Case cases[] = {
        {"truncated record", [](const QString& r) { TestUtil::writeAll(r, TestUtil::readAll(r).chopped(9)); }, 0},
        {"bit flipped in the record",
         [](const QString& r) {
             QByteArray b = TestUtil::readAll(r);
             b[b.size() / 2] = char(b[b.size() / 2] ^ 0x10);
             TestUtil::writeAll(r, b);
         },
         0},
        {"record of another album", [&](const QString& r) { TestUtil::writeAll(r, TestUtil::readAll(otherRecord)); },
         0},
        {"garbage record", [](const QString& r) { TestUtil::writeAll(r, QByteArray(5000, 'x')); }, 0},
        {"album image changed",
         [&](const QString&) {
             const QString page = QDir(album()).filePath("page003.jpg");
             TestUtil::writeAll(page, TestUtil::readAll(page).chopped(100));
         },
         2 * 6 - 1},
        {"working folder of a killed run",
         [&](const QString&) {
             QDir().mkpath(QDir(album()).filePath(ImageCache::WorkingFolder));
             TestUtil::writeAll(QDir(album()).filePath(QString(ImageCache::WorkingFolder) + "/page001.jpg"), "x");
         },
         2 * 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(run().cancelled);
        const QString record = ImageCache::recordPath(album());
        ASSERT_TRUE(QFile::exists(record));
        c.spoil(record);
        EXPECT_EQ(run().reusedImages, c.reused);
        EXPECT_EQ(albumEntries(album()), cold);
    }
}

TEST_F(ImageCacheTest, AStoppedReCreateLeavesWhatAStoppedColdRunLeaves)
{
    for (const auto& [step, at] : {std::pair{1, 1}, std::pair{1, 4}, std::pair{2, 1}, std::pair{2, 5}}) {
        SCOPED_TRACE(testing::Message() << "step " << step << " photo " << at);
        const auto stopAt = [step, at](int s, int i) { return s == step && i == at; };
        ASSERT_FALSE(run().cancelled);
        rows.prepend(rows.takeLast());
        EXPECT_TRUE(run(stopAt).cancelled);
        EXPECT_EQ(albumEntries(album()), coldAlbum(stopAt));
        // What the stop left is taken again by the next run, which again equals a cold one.
        EXPECT_EQ(run().reusedImages, step == 1 ? at - 1 : 6 + at - 1);
        EXPECT_EQ(albumEntries(album()), coldAlbum());
    }
}

TEST_F(ImageCacheTest, AtEveryStepOfARunNoImageStandsUnderAnotherPhotosNameAndNoRecordIsLeft)
{
    // A kill may come at any moment: at each progress report of a re-creation that moves kept
    // images around, the album holds no image under a name the new list gives another photo, and
    // until the images are in place no record that a later run could trust.
    ASSERT_EQ(run().reusedImages, 0);
    std::swap(rows[0], rows[3]); // two kept images change places
    rows.prepend(rows.takeLast());
    rows[2].rotation = 3;
    const QMap<QString, QByteArray> cold = coldAlbum();
    const QString record = ImageCache::recordPath(album());
    int checks = 0;
    std::stop_source never;
    const GenerationResult result = AlbumGenerator::run(
        options(photoFolder), rows, GenerationMode::NewAlbum, never.get_token(), [&](int step, int i, int) {
            SCOPED_TRACE(testing::Message() << "step " << step << " photo " << i);
            if (step < 3) { // the new record is written once the images are in place
                EXPECT_FALSE(QFile::exists(record));
            }
            const QMap<QString, QByteArray> now = albumEntries(album());
            for (auto it = now.begin(); it != now.end(); ++it) {
                if (!it.key().startsWith('.') && it.key().endsWith(".jpg") && it.key() != "top.jpg") {
                    EXPECT_EQ(it.value(), cold.value(it.key())) << it.key().toStdString();
                    ++checks;
                }
            }
        });
    EXPECT_EQ(result.reusedImages, 2 * 6 - 2);
    EXPECT_GT(checks, 0);
    EXPECT_TRUE(QFile::exists(record));
    EXPECT_EQ(albumEntries(album()), cold);
}
