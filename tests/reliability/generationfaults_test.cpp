// SPDX-License-Identifier: MIT
// Generation where the album cannot be written, and cancelled generations and imports: no crash,
// the failures reported, the photos and the list file untouched, no half-written image left.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <stop_token>
#include <thread>

#include "catalogue/photoimport.h"
#include "catalogue/photolistfile.h"
#include "components/photolistmodel.h"
#include "generate/albumgenerator.h"
#include "reliabilityutil.h"

namespace {

const QString kErrorText = QStringLiteral("\n･Lumivert作成エラー");

struct PhotoFolder {
    QString folder;
    QStringList photos;
    QVector<PhotoRow> rows;

    PhotoFolder(const QString& path, int count, QSize size = QSize(640, 480))
        : folder(path)
    {
        QDir().mkpath(folder);
        for (int i = 1; i <= count; ++i) {
            PhotoRow row;
            row.fileName = QStringLiteral("P%1.jpg").arg(i);
            row.pathName = TestUtil::writeJpeg(QDir(folder).filePath(row.fileName), size.width(), size.height(),
                                               std::nullopt, false, i);
            row.caption = QStringLiteral("c%1").arg(i);
            photos << row.pathName;
            rows << row;
        }
    }
    AlbumOptions options() const
    {
        AlbumOptions o;
        o.photoFolder = folder;
        o.programFolder = TestUtil::binDir();
        o.themeFile = QStringLiteral("basic.css");
        o.coverNumber = 1;
        return o;
    }
    QString album() const { return QDir(folder).filePath(QStringLiteral("Lumivert")); }
    void saveList() const
    {
        PhotoListModel model;
        model.setRows(rows);
        ASSERT_TRUE(PhotoListFile::save(model, folder, {}));
    }
    QStringList guarded() const { return photos + QStringList{PhotoListFile::path(folder)}; }
};

}  // namespace

TEST(UnwritableAlbum, AFileWhereTheAlbumFolderShouldBe)
{
    QTemporaryDir dir;
    PhotoFolder p(dir.filePath(QStringLiteral("photos")), 3);
    p.saveList();
    TestUtil::writeAll(p.album(), "not a folder");
    const auto before = Reliability::stamps(p.guarded() + QStringList{p.album()});

    for (const GenerationMode mode : {GenerationMode::NewAlbum, GenerationMode::PageStyleOnly}) {
        SCOPED_TRACE(int(mode));
        const GenerationResult result = AlbumGenerator::run(p.options(), p.rows, mode);
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(result.errorText, kErrorText);
        // top.htm, index.htm and one page per photo.
        EXPECT_EQ(result.failedPages.size(), 2 + p.rows.size()) << result.failedPages.join(' ').toStdString();
        EXPECT_EQ(result.failureReason, QStringLiteral("Not a directory"));
        if (mode == GenerationMode::NewAlbum) {
            EXPECT_GE(result.failedImages.size(), 2 * p.rows.size());
        }
    }
    EXPECT_EQ(Reliability::stamps(p.guarded() + QStringList{p.album()}), before);
}

TEST(UnwritableAlbum, AFullDisk)
{
    QTemporaryDir dir;
    const QString mount = dir.filePath(QStringLiteral("disk"));
    Reliability::TinyDisk disk(mount, 512 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    PhotoFolder p(QDir(mount).filePath(QStringLiteral("photos")), 4, QSize(320, 240));
    p.saveList();
    QDir().mkpath(p.album());
    const auto before = Reliability::stamps(p.guarded());
    disk.fill();

    for (const GenerationMode mode : {GenerationMode::NewAlbum, GenerationMode::PageStyleOnly}) {
        SCOPED_TRACE(int(mode));
        const GenerationResult result = AlbumGenerator::run(p.options(), p.rows, mode);
        EXPECT_EQ(result.errorText, kErrorText);
        EXPECT_FALSE(result.failedPages.isEmpty());
        // The system's reason is named, not only the files.
        EXPECT_TRUE(result.failureReason.contains(QStringLiteral("No space left on device"), Qt::CaseInsensitive))
            << result.failureReason.toStdString();
        if (mode == GenerationMode::NewAlbum) {
            EXPECT_FALSE(result.failedImages.isEmpty());
        }
        // Whatever was written is whole; nothing temporary is left.
        EXPECT_EQ(Reliability::strayFiles(p.album()), QStringList());
        EXPECT_EQ(Reliability::brokenImages(p.album()), QStringList());
        for (const QString& page : QDir(p.album()).entryList({QStringLiteral("*.htm")}, QDir::Files))
            EXPECT_TRUE(TestUtil::readAll(QDir(p.album()).filePath(page)).contains("\r\n")) << page.toStdString();
    }
    EXPECT_EQ(Reliability::stamps(p.guarded()), before);
    // Room again: the next generation is complete.
    QFile::remove(QDir(mount).filePath(QStringLiteral("zz-filler")));
    const GenerationResult again = AlbumGenerator::run(p.options(), p.rows, GenerationMode::NewAlbum);
    EXPECT_TRUE(again.errorText.isEmpty());
    EXPECT_TRUE(again.failedPages.isEmpty());
}

// Cancel at every photo of steps 1 and 2: the album holds whole images only, no leftovers, and
// the pages are still written (the page step never stops).
TEST(CancelledGeneration, EveryPointLeavesWholeFilesOnly)
{
    QTemporaryDir dir;
    PhotoFolder p(dir.filePath(QStringLiteral("photos")), 3);
    p.saveList();
    const auto before = Reliability::stamps(p.guarded());
    const int n = int(p.rows.size());
    for (int step = 1; step <= 2; ++step) {
        for (int at = 1; at <= n; ++at) {
            SCOPED_TRACE(QStringLiteral("cancel in step %1 at photo %2").arg(step).arg(at).toStdString());
            std::stop_source stop;
            const GenerationResult result = AlbumGenerator::run(
                p.options(), p.rows, GenerationMode::NewAlbum, stop.get_token(), [&](int s, int i, int) {
                    if (s == step && i == at)
                        stop.request_stop();
                });
            EXPECT_TRUE(result.cancelled);
            EXPECT_EQ(result.userTag(), QStringLiteral("ｷｬﾝｾﾙ"));
            EXPECT_EQ(Reliability::strayFiles(p.album()), QStringList());
            EXPECT_EQ(Reliability::brokenImages(p.album()), QStringList());
            const QDir album(p.album());
            // Step 1 stopped before photo "at": only the index images before it exist (and their
            // second images for high-density screens).
            if (step == 1) {
                const QStringList index = album.entryList({QStringLiteral("index*.jpg")}, QDir::Files);
                const qsizetype seconds = index.filter(QStringLiteral("@2x")).size();
                EXPECT_EQ(index.size() - seconds, at - 1);
                EXPECT_LE(seconds, at - 1);
            }
            EXPECT_TRUE(album.exists(QStringLiteral("top.htm")));
            EXPECT_TRUE(album.exists(QStringLiteral("index.htm")));
            EXPECT_EQ(album.entryList({QStringLiteral("page*.htm")}, QDir::Files).size(), n);
        }
    }
    EXPECT_EQ(Reliability::stamps(p.guarded()), before);
}

// A stop from another thread while the generation runs, many times at random moments.
TEST(CancelledGeneration, StopFromAnotherThread)
{
    QTemporaryDir dir;
    PhotoFolder p(dir.filePath(QStringLiteral("photos")), 6, QSize(800, 600));
    for (int delayMs : {0, 2, 5, 10, 20, 40}) {
        SCOPED_TRACE(delayMs);
        std::stop_source stop;
        std::jthread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            stop.request_stop();
        });
        const GenerationResult result = AlbumGenerator::run(p.options(), p.rows, GenerationMode::NewAlbum,
                                                            stop.get_token());
        canceller.join();
        EXPECT_EQ(Reliability::strayFiles(p.album()), QStringList());
        EXPECT_EQ(Reliability::brokenImages(p.album()), QStringList());
        EXPECT_TRUE(result.failedPages.isEmpty());
    }
}

TEST(CancelledImport, GivesAnEmptyListAtEveryPoint)
{
    QTemporaryDir dir;
    PhotoFolder p(dir.filePath(QStringLiteral("photos")), 5, QSize(200, 150));
    const auto before = Reliability::stamps(p.photos);
    const int n = int(p.photos.size());
    for (int at = 1; at <= n; ++at) {
        SCOPED_TRACE(at);
        std::stop_source stop;
        const ImportResult result = PhotoImport::run(p.folder, stop.get_token(), [&](int i, int) {
            if (i == at)
                stop.request_stop();
        });
        EXPECT_TRUE(result.cancelled);
        EXPECT_TRUE(result.rows.isEmpty());
    }
    // A stop requested before the start, and from another thread while it runs.
    std::stop_source early;
    early.request_stop();
    EXPECT_TRUE(PhotoImport::run(p.folder, early.get_token()).rows.isEmpty());
    for (int delayMs : {0, 1, 3, 8}) {
        std::stop_source stop;
        std::jthread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            stop.request_stop();
        });
        const ImportResult result = PhotoImport::run(p.folder, stop.get_token());
        canceller.join();
        // Either it finished before the stop or it was stopped, never a partial list.
        EXPECT_TRUE(result.cancelled ? result.rows.isEmpty() : result.rows.size() == n) << delayMs;
    }
    EXPECT_EQ(Reliability::stamps(p.photos), before);
    EXPECT_FALSE(PhotoListFile::exists(p.folder));
}
