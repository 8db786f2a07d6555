// SPDX-License-Identifier: MIT
// The image steps run their photos on worker threads, ahead of the progress. These cases check
// that nothing of it shows: the files, their order, the progress and where a stop takes effect.
#include <gtest/gtest.h>

#include <QDir>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>

#include <cstdlib>
#include <stop_token>
#include <tuple>
#include <vector>

#include "common/testutil.h"
#include "generate/albumgenerator.h"
#include "generate/albumimages.h"
#include "generate/basresoutprn.h"

namespace
{

using Progress = std::tuple<int, int, int>;

// Every file of the folder, hidden ones included: working files must never be left behind.
QSet<QString> allFilesIn(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    return QSet<QString>(names.begin(), names.end());
}

QSet<QString> numbered(const QString& prefix, int from, int to, const QString& suffix = QStringLiteral(".jpg"))
{
    QSet<QString> names;
    for (int i = from; i <= to; ++i)
        names << prefix + basResOutPrn::photoNumberText(i) + suffix;
    return names;
}

using TestUtil::meanDifference;

class AlbumWorkersTest : public ::testing::Test
{
protected:
    static constexpr int kPhotos = 13; // more than the workers run ahead on any machine we use
    QTemporaryDir dir;
    QString photoFolder;
    QVector<PhotoRow> rows;
    std::vector<Progress> progress;

    void SetUp() override
    {
        photoFolder = dir.filePath("photos");
        QDir().mkpath(photoFolder);
        for (int i = 1; i <= kPhotos; ++i) {
            PhotoRow row;
            // Photos that differ clearly from one another, alternately baseline and progressive.
            row.pathName = TestUtil::writeJpeg(QDir(photoFolder).filePath(QStringLiteral("P%1.jpg").arg(i)), 960,
                                               720, std::nullopt, i % 2 == 0, 7 * i);
            row.fileName = QStringLiteral("P%1.jpg").arg(i);
            row.rotation = i % 4;
            rows << row;
        }
    }
    QString album() const { return QDir(photoFolder).filePath("Lumivert"); }
    AlbumOptions options() const
    {
        AlbumOptions o;
        o.photoFolder = photoFolder;
        o.programFolder = TestUtil::binDir();
        o.themeFile = "basic.css";
        o.coverNumber = 1;
        o.pageWidthIndex = 1;
        o.highDensity = false; // the design's images; the second images are tested apart
        return o;
    }
    GenerationResult run(std::function<bool(int, int)> stopAt = {})
    {
        std::stop_source stop;
        progress.clear();
        return AlbumGenerator::run(options(), rows, GenerationMode::NewAlbum, stop.get_token(),
                                   [&](int step, int i, int n) {
                                       progress.emplace_back(step, i, n);
                                       if (stopAt && stopAt(step, i))
                                           stop.request_stop();
                                   });
    }
    QSet<QString> pagesAndStyle() const
    {
        return QSet<QString>{"top.htm", "index.htm", "stylesheet.css"} + numbered("page", 1, kPhotos, ".htm");
    }
};

} // namespace

TEST_F(AlbumWorkersTest, EveryImageIsThatOfItsOwnPhoto)
{
    const GenerationResult result = run();
    ASSERT_FALSE(result.cancelled);
    ASSERT_TRUE(result.failedImages.isEmpty());
    EXPECT_EQ(allFilesIn(album()),
              pagesAndStyle() + numbered("index", 1, kPhotos) + numbered("page", 1, kPhotos) + QSet<QString>{"top.jpg"});
    for (int i = 1; i <= kPhotos; ++i) {
        SCOPED_TRACE(i);
        const PhotoRow& photo = rows[i - 1];
        for (const auto& [prefix, box] : {std::pair{QStringLiteral("index"), QSize(140, 105)},
                                          std::pair{QStringLiteral("page"), QSize(640, 480)}}) {
            const QImage written(QDir(album()).filePath(prefix + basResOutPrn::photoNumberText(i) + ".jpg"));
            const QImage own = AlbumImages::makeAlbumImage(photo.pathName, photo.rotation, box);
            ASSERT_EQ(written.size(), own.size()) << prefix.toStdString();
            // Close to what the photo's own single image gives (up to the JPEG coding of these
            // detailed samples), and far from its neighbour's.
            const double same = meanDifference(written, own);
            EXPECT_LT(same, 20.0) << prefix.toStdString();
            const PhotoRow& other = rows[i % kPhotos];
            const QImage neighbour = AlbumImages::makeAlbumImage(other.pathName, photo.rotation, box);
            if (neighbour.size() == written.size()) {
                EXPECT_GT(meanDifference(written, neighbour), 2 * same) << prefix.toStdString()
                                                                       << " same " << same;
            }
        }
    }
    std::vector<Progress> want;
    for (int step = 1; step <= 3; ++step)
        for (int i = 1; i <= kPhotos; ++i)
            want.emplace_back(step, i, kPhotos);
    EXPECT_EQ(progress, want);
}

TEST_F(AlbumWorkersTest, StopInStep1LeavesNoImageOfThatPhotoOrALaterOne)
{
    for (const int k : {1, 2, 7, kPhotos}) {
        SCOPED_TRACE(k);
        const GenerationResult result = run([k](int step, int i) { return step == 1 && i == k; });
        EXPECT_TRUE(result.cancelled);
        // Photos before k have their index images; no page image at all, so no cover either.
        EXPECT_EQ(allFilesIn(album()), pagesAndStyle() + numbered("index", 1, k - 1));
        std::vector<Progress> want;
        for (int i = 1; i <= k; ++i)
            want.emplace_back(1, i, kPhotos);
        want.emplace_back(2, 1, kPhotos);
        for (int i = 1; i <= kPhotos; ++i)
            want.emplace_back(3, i, kPhotos);
        EXPECT_EQ(progress, want);
        EXPECT_TRUE(result.failedImages.isEmpty());
    }
}

TEST_F(AlbumWorkersTest, StopInStep2KeepsThePageImagesBeforeIt)
{
    for (const int k : {1, 2, 9, kPhotos}) {
        SCOPED_TRACE(k);
        const GenerationResult result = run([k](int step, int i) { return step == 2 && i == k; });
        EXPECT_TRUE(result.cancelled);
        QSet<QString> want = pagesAndStyle() + numbered("index", 1, kPhotos) + numbered("page", 1, k - 1);
        if (k > 1)
            want << "top.jpg";
        EXPECT_EQ(allFilesIn(album()), want);
        EXPECT_EQ(progress.size(), size_t(kPhotos + k + kPhotos));
    }
}

TEST_F(AlbumWorkersTest, FailuresAreReportedInPhotoOrderAndWorkingFilesOfAKilledRunGo)
{
    QDir().mkpath(album());
    // What a run that was killed half way may have left.
    TestUtil::writeAll(QDir(album()).filePath(".page003.jpg.part"), "stale");
    TestUtil::writeAll(QDir(album()).filePath(".index001.jpg.part"), "stale");
    TestUtil::writeAll(rows[2].pathName, "not a picture");
    rows[5].rotation = 9;
    QFile::remove(rows[10].pathName);
    const GenerationResult result = run();
    EXPECT_FALSE(result.cancelled);
    QStringList failed;
    for (const QString& path : result.failedImages)
        failed << QFileInfo(path).fileName();
    EXPECT_EQ(failed, (QStringList{"index003.jpg", "index006.jpg", "index011.jpg", "page003.jpg", "page006.jpg",
                                   "page011.jpg"}));
    const QSet<QString> missing{"index003.jpg", "index006.jpg", "index011.jpg",
                                "page003.jpg",  "page006.jpg",  "page011.jpg"};
    EXPECT_EQ(allFilesIn(album()), pagesAndStyle() + numbered("index", 1, kPhotos) + numbered("page", 1, kPhotos) +
                                       QSet<QString>{"top.jpg"} - missing);
}

TEST(AlbumImagePair, SizesAreThoseOfTheSingleImages)
{
    QTemporaryDir dir;
    struct Case {
        QSize photo;
        bool progressive;
    };
    for (const Case& c : {Case{{2048, 1536}, false}, Case{{1536, 2048}, true}, Case{{3001, 1999}, false},
                          Case{{320, 240}, false}, Case{{100, 30}, true}}) {
        const QString photo = TestUtil::writeJpeg(dir.filePath("p.jpg"), c.photo.width(), c.photo.height(),
                                                  std::nullopt, c.progressive, 3);
        for (int code = 0; code <= 3; ++code) {
            for (const auto& [indexBox, pageBox] : {std::pair{QSize(100, 75), QSize(480, 360)},
                                                    std::pair{QSize(140, 105), QSize(640, 480)},
                                                    std::pair{QSize(180, 135), QSize(800, 600)},
                                                    std::pair{QSize(300, 50), QSize(200, 200)}}) {
                SCOPED_TRACE(testing::Message() << c.photo.width() << "x" << c.photo.height() << " code " << code
                                                << " page " << pageBox.width() << " index " << indexBox.width()
                                                << "x" << indexBox.height());
                const AlbumImages::AlbumImagePair pair =
                    AlbumImages::makeAlbumImages(TestUtil::readAll(photo), code, indexBox, pageBox);
                const QImage index = AlbumImages::makeAlbumImage(photo, code, indexBox);
                const QImage page = AlbumImages::makeAlbumImage(photo, code, pageBox);
                EXPECT_EQ(pair.index.size(), index.size());
                EXPECT_EQ(pair.page.size(), page.size());
                EXPECT_LT(meanDifference(pair.index, index), 6.0);
                EXPECT_LT(meanDifference(pair.page, page), 1.0);
            }
        }
    }
    // A bad rotation code, a photo cut short, no photo: no images.
    const QByteArray bytes = TestUtil::readAll(dir.filePath("p.jpg"));
    for (const bool seconds : {false, true}) {
        SCOPED_TRACE(seconds);
        const QSize index(100, 75), page(480, 360);
        EXPECT_TRUE(AlbumImages::makeAlbumImages(bytes, 4, index, page, seconds).page.isNull());
        EXPECT_TRUE(AlbumImages::makeAlbumImages(bytes.left(bytes.size() / 2), 0, index, page, seconds).page.isNull());
        EXPECT_TRUE(AlbumImages::makeAlbumImages({}, 0, index, page, seconds).index.isNull());
    }
}
