// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <stop_token>
#include <tuple>
#include <vector>

#include "common/testutil.h"
#include "generate/albumgenerator.h"
#include "components/imaging.h"
#include "generate/albumimages.h"
#include "generate/basresoutprn.h"

namespace
{

using Progress = std::tuple<int, int, int>;

QSet<QString> filesIn(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

QSet<QString> numbered(const QString& prefix, const QString& suffix, int count)
{
    QSet<QString> names;
    for (int i = 1; i <= count; ++i)
        names << prefix + basResOutPrn::photoNumberText(i) + suffix;
    return names;
}

QString withoutComments(QString css)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return css.remove(comment);
}

// Every href and src of every page, and every url() of the style sheet, must name a file of the
// album folder.
QStringList brokenLinks(const QString& albumFolder)
{
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    static const QRegularExpression url(QStringLiteral("url\\(\\s*[\"']?([^\"')]*)"));
    QStringList broken;
    const QDir dir(albumFolder);
    for (const QString& page : dir.entryList({"*.htm", "*.css"}, QDir::Files)) {
        const QString text = withoutComments(QString::fromUtf8(TestUtil::readAll(dir.filePath(page))));
        for (auto m = (page.endsWith(".css") ? url : link).globalMatch(text); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.isEmpty() || target.contains(QLatin1Char('/')) || !dir.exists(target))
                broken << page + " -> " + target;
        }
    }
    return broken;
}

} // namespace

class AlbumGeneratorTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString photoFolder;
    QVector<PhotoRow> rows;
    std::vector<Progress> progress;

    void SetUp() override
    {
        photoFolder = dir.filePath("photos");
        QDir().mkpath(photoFolder);
    }
    QString album() const { return QDir(photoFolder).filePath("Lumivert"); }
    void addPhotos(int count, QSize size = QSize(800, 600))
    {
        for (int i = 1; i <= count; ++i) {
            PhotoRow row;
            row.pathName = TestUtil::writeJpeg(QDir(photoFolder).filePath(QStringLiteral("P%1.jpg").arg(i)),
                                               size.width(), size.height(), std::nullopt, false, i);
            row.fileName = QStringLiteral("P%1.jpg").arg(i);
            row.caption = QStringLiteral("Photo <%1>").arg(i);
            rows << row;
        }
    }
    AlbumOptions options() const
    {
        AlbumOptions o;
        o.photoFolder = photoFolder;
        o.programFolder = TestUtil::binDir();
        o.themeFile = "basic.css";
        o.coverNumber = 1;
        o.highDensity = false; // the design's images; the second images are tested apart
        return o;
    }
    GenerationResult run(const AlbumOptions& o, GenerationMode mode = GenerationMode::NewAlbum,
                         std::function<bool(int, int, int)> stopAt = {})
    {
        std::stop_source stop;
        progress.clear();
        return AlbumGenerator::run(o, rows, mode, stop.get_token(), [&](int step, int i, int n) {
            progress.emplace_back(step, i, n);
            if (stopAt && stopAt(step, i, n))
                stop.request_stop();
        });
    }
};

TEST_F(AlbumGeneratorTest, NewAlbumWritesEveryFileAndLinksResolve)
{
    addPhotos(5);
    QVector<QByteArray> hashes;
    for (const PhotoRow& r : rows)
        hashes << TestUtil::sha256(r.pathName);
    AlbumOptions o = options();
    o.background = true;
    o.backgroundFile = TestUtil::writeJpeg(dir.filePath("bg.jpg"), 40, 40);
    const GenerationResult result = run(o);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.userTag(), "OK");
    EXPECT_TRUE(result.failedPages.isEmpty()) << result.failedPages.join(", ").toStdString();
    EXPECT_TRUE(result.failedImages.isEmpty());
    EXPECT_TRUE(result.errorText.isEmpty());
    const QSet<QString> expected =
        QSet<QString>{"top.htm", "index.htm", "stylesheet.css", "top.jpg", "background.jpg"} +
        numbered("page", ".htm", 5) + numbered("index", ".jpg", 5) + numbered("page", ".jpg", 5);
    EXPECT_EQ(filesIn(album()), expected);
    EXPECT_EQ(brokenLinks(album()), QStringList());
    EXPECT_EQ(QImageReader(QDir(album()).filePath("index001.jpg")).size(), QSize(100, 75));
    EXPECT_EQ(QImageReader(QDir(album()).filePath("page001.jpg")).size(), QSize(480, 360));
    // Lines end with CR LF; values go in unescaped; the colour reached the style sheet.
    const QByteArray page = TestUtil::readAll(QDir(album()).filePath("page002.htm"));
    EXPECT_TRUE(page.contains("Photo <2>"));
    EXPECT_EQ(page.count("\r\n"), page.count("\n"));
    EXPECT_TRUE(TestUtil::readAll(QDir(album()).filePath("stylesheet.css")).contains("navy"));
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(TestUtil::sha256(rows[i].pathName), hashes[i]);

    // Progress: once per photo in each step, in order.
    std::vector<Progress> want;
    for (int step = 1; step <= 3; ++step)
        for (int i = 1; i <= 5; ++i)
            want.emplace_back(step, i, 5);
    EXPECT_EQ(progress, want);
}

TEST_F(AlbumGeneratorTest, NewAlbumDeletesOnlyTheKindsItRewrites)
{
    addPhotos(1);
    QDir().mkpath(album());
    for (const char* name : {"old.htm", "OLD.JPG", "anim.gif", "x.css", "keep.txt", "keep.png"})
        TestUtil::writeAll(QDir(album()).filePath(name), "x");
    ASSERT_TRUE(run(options()).failedPages.isEmpty());
    const QSet<QString> files = filesIn(album());
    for (const char* gone : {"old.htm", "OLD.JPG", "anim.gif", "x.css"})
        EXPECT_FALSE(files.contains(gone)) << gone;
    EXPECT_TRUE(files.contains("keep.txt"));
    EXPECT_TRUE(files.contains("keep.png"));
}

TEST_F(AlbumGeneratorTest, PageStyleOnlyKeepsImagesAndRemakesTheCover)
{
    addPhotos(2);
    ASSERT_TRUE(run(options()).failedPages.isEmpty());
    TestUtil::writeAll(QDir(album()).filePath("old.gif"), "x");
    const QByteArray index1 = TestUtil::sha256(QDir(album()).filePath("index001.jpg"));
    const QByteArray top = TestUtil::sha256(QDir(album()).filePath("top.jpg"));
    AlbumOptions o = options();
    o.coverEffect = 4; // monochrome now
    o.title = "Renamed";
    const GenerationResult result = run(o, GenerationMode::PageStyleOnly);
    EXPECT_TRUE(result.failedPages.isEmpty());
    EXPECT_EQ(TestUtil::sha256(QDir(album()).filePath("index001.jpg")), index1);
    EXPECT_NE(TestUtil::sha256(QDir(album()).filePath("top.jpg")), top);
    EXPECT_TRUE(QFile::exists(QDir(album()).filePath("old.gif")));
    EXPECT_TRUE(TestUtil::readAll(QDir(album()).filePath("top.htm")).contains("Renamed"));
    // No image steps: only step 3 reports.
    EXPECT_EQ(progress, (std::vector<Progress>{{3, 1, 2}, {3, 2, 2}}));
}

TEST_F(AlbumGeneratorTest, PageStyleOnlyOnANewFolderWritesPagesWithoutImages)
{
    addPhotos(2);
    EXPECT_TRUE(run(options(), GenerationMode::PageStyleOnly).failedPages.isEmpty());
    EXPECT_EQ(filesIn(album()),
              QSet<QString>({"top.htm", "index.htm", "stylesheet.css"}) + numbered("page", ".htm", 2));
    EXPECT_EQ(brokenLinks(album()), QStringList()); // the pages show notes, not broken images
}

TEST_F(AlbumGeneratorTest, EveryStyleSheetRefersOnlyToTheBackgroundTheAlbumHolds)
{
    addPhotos(1);
    const QString jpeg = TestUtil::writeJpeg(dir.filePath("bg.jpg"), 32, 32);
    const QString gif = dir.filePath("bg.gif");
    ASSERT_TRUE(Imaging::save(TestUtil::samplePicture(16, 16), gif, Imaging::SaveKind::Gif));
    struct Run {
        GenerationMode mode;
        QString background; // empty: "背景画像なし"
        const char* file;   // the background file the album holds then, or nullptr
    };
    const Run runs[] = {
        {GenerationMode::NewAlbum, jpeg, "background.jpg"},     {GenerationMode::PageStyleOnly, QString(), nullptr},
        {GenerationMode::PageStyleOnly, gif, "background.gif"}, {GenerationMode::PageStyleOnly, jpeg, "background.jpg"},
        {GenerationMode::NewAlbum, QString(), nullptr},
    };
    const QStringList sheets = QDir(TestUtil::binDir()).entryList({"*.css"}, QDir::Files);
    ASSERT_FALSE(sheets.isEmpty());
    for (const QString& sheet : sheets) {
        for (const Run& r : runs) {
            SCOPED_TRACE(testing::Message() << sheet.toStdString() << " mode " << int(r.mode) << " "
                                            << (r.file ? r.file : "no background"));
            AlbumOptions o = options();
            o.themeFile = sheet;
            o.background = !r.background.isEmpty();
            o.backgroundFile = r.background;
            ASSERT_TRUE(run(o, r.mode).failedPages.isEmpty());
            const QSet<QString> files = filesIn(album());
            EXPECT_EQ(files.contains("background.jpg"), r.file && QLatin1String(r.file) == "background.jpg");
            EXPECT_EQ(files.contains("background.gif"), r.file && QLatin1String(r.file) == "background.gif");
            EXPECT_EQ(brokenLinks(album()), QStringList());
            const QString css =
                withoutComments(QString::fromUtf8(TestUtil::readAll(QDir(album()).filePath("stylesheet.css"))));
            EXPECT_EQ(css.contains("background.jpg") || css.contains("background.gif"), r.file != nullptr);
        }
    }
}

TEST_F(AlbumGeneratorTest, CancelInStep1)
{
    addPhotos(4);
    const GenerationResult result =
        run(options(), GenerationMode::NewAlbum, [](int step, int i, int) { return step == 1 && i == 2; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.userTag(), "ｷｬﾝｾﾙ");
    // Step 1 ends before photo 2's image, step 2 shows photo 1 and ends, step 3 writes every page.
    EXPECT_EQ(progress,
              (std::vector<Progress>{{1, 1, 4}, {1, 2, 4}, {2, 1, 4}, {3, 1, 4}, {3, 2, 4}, {3, 3, 4}, {3, 4, 4}}));
    EXPECT_EQ(filesIn(album()), QSet<QString>({"top.htm", "index.htm", "stylesheet.css", "index001.jpg"}) +
                                    numbered("page", ".htm", 4)); // no page image, so no top.jpg
    EXPECT_TRUE(result.failedPages.isEmpty());
}

TEST_F(AlbumGeneratorTest, CancelInStep3StillWritesEverything)
{
    addPhotos(3);
    const GenerationResult result =
        run(options(), GenerationMode::NewAlbum, [](int step, int i, int) { return step == 3 && i == 1; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(filesIn(album()), QSet<QString>({"top.htm", "index.htm", "stylesheet.css", "top.jpg"}) +
                                    numbered("page", ".htm", 3) + numbered("index", ".jpg", 3) +
                                    numbered("page", ".jpg", 3));
    EXPECT_EQ(progress.size(), 9u);
}

TEST_F(AlbumGeneratorTest, EmptyListWritesCoverAndIndexPages)
{
    const GenerationResult result = run(options());
    EXPECT_FALSE(result.cancelled);
    EXPECT_TRUE(result.failedPages.isEmpty());
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(filesIn(album()), QSet<QString>({"top.htm", "index.htm", "stylesheet.css"}));
}

TEST_F(AlbumGeneratorTest, BadPhotosAreSkippedAndTheRunGoesOn)
{
    addPhotos(5);
    QFile::remove(rows[0].pathName);                       // missing
    TestUtil::writeAll(rows[1].pathName, "not a picture"); // undecodable
    rows[2].rotation = 7;                                  // no such rotation
    // Cut short: Qt would decode it with grey filling; it counts as unreadable.
    const QByteArray whole = TestUtil::readAll(rows[4].pathName);
    TestUtil::writeAll(rows[4].pathName, whole.left(whole.size() / 2));
    const GenerationResult result = run(options());
    EXPECT_FALSE(result.cancelled);
    EXPECT_TRUE(result.failedPages.isEmpty());
    EXPECT_EQ(result.failedImages.size(), 8);
    const QSet<QString> files = filesIn(album());
    EXPECT_EQ(files, QSet<QString>({"top.htm", "index.htm", "stylesheet.css", "index004.jpg", "page004.jpg"}) +
                         numbered("page", ".htm", 5)); // cover 1 has no page image: no top.jpg
    // No broken image anywhere: the template's notes stand in for the missing images.
    EXPECT_EQ(brokenLinks(album()), QStringList());
    const QDir a(album());
    EXPECT_EQ(TestUtil::readAll(a.filePath("index.htm")).count("photo-missing"), 4);
    EXPECT_TRUE(TestUtil::readAll(a.filePath("top.htm")).contains("No cover photo"));
    EXPECT_TRUE(TestUtil::readAll(a.filePath("page005.htm")).contains("This photo could not be read."));
    EXPECT_FALSE(TestUtil::readAll(a.filePath("page004.htm")).contains("photo-missing"));
}

TEST_F(AlbumGeneratorTest, TurnedPhotosGivePortraitImages)
{
    addPhotos(2, QSize(2048, 1536));
    rows[0].rotation = 1;
    rows[1].rotation = 3;
    AlbumOptions o = options();
    o.pageWidthIndex = 1;
    ASSERT_TRUE(run(o).failedImages.isEmpty());
    EXPECT_EQ(QImageReader(QDir(album()).filePath("index001.jpg")).size(), QSize(79, 105));
    EXPECT_EQ(QImageReader(QDir(album()).filePath("page001.jpg")).size(), QSize(360, 480));
    EXPECT_EQ(QImageReader(QDir(album()).filePath("page002.jpg")).size(), QSize(640, 480));
    EXPECT_EQ(QImageReader(QDir(album()).filePath("top.jpg")).size(), QSize(360, 480));
}

TEST_F(AlbumGeneratorTest, BrokenTemplateFailsThosePagesAndTellsTheCaller)
{
    addPhotos(2);
    // A program folder whose template lacks SimpleTop and has an empty line in SimplePage.
    const QString program = dir.filePath("program");
    QDir().mkpath(program);
    QFile::copy(QDir(TestUtil::binDir()).filePath("basic.css"), QDir(program).filePath("basic.css"));
    TestUtil::writeAll(QDir(program).filePath("Lumivert.fmt"),
                       "SimpleIndex\r\n001 0<p>index</p>\r\nEnd\r\nSimplePage\r\n001 0a\r\n\r\nEnd\r\n");
    AlbumOptions o = options();
    o.programFolder = program;
    const GenerationResult result = run(o);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.errorText, QStringLiteral("\n･Lumivert作成エラー"));
    QStringList failed;
    for (const QString& page : result.failedPages)
        failed << QFileInfo(page).fileName();
    EXPECT_EQ(failed, (QStringList{"top.htm", "page001.htm", "page002.htm"}));
    EXPECT_EQ(filesIn(album()), QSet<QString>({"index.htm", "stylesheet.css", "top.jpg"}) +
                                    numbered("index", ".jpg", 2) + numbered("page", ".jpg", 2));
}

TEST_F(AlbumGeneratorTest, AlbumFolderThatCannotBeMadeFailsCleanly)
{
    addPhotos(1);
    TestUtil::writeAll(album(), "a file where the album folder should be");
    const GenerationResult result = run(options());
    EXPECT_EQ(result.failedPages.size(), 3);
    EXPECT_FALSE(result.errorText.isEmpty());
    EXPECT_EQ(TestUtil::readAll(album()), QByteArray("a file where the album folder should be"));
}

TEST(AlbumGeneratorText, ProgressTexts)
{
    EXPECT_EQ(AlbumGenerator::progressText(1, 3, 12),
              QStringLiteral("Step1.目次用画像生成  しばらくお待ちください。3/12..."));
    EXPECT_EQ(AlbumGenerator::progressText(2, 1, 1),
              QStringLiteral("Step2.ページ用画像生成  しばらくお待ちください。1/1..."));
    EXPECT_EQ(AlbumGenerator::progressText(3, 10, 999),
              QStringLiteral("Step3.HTML生成  しばらくお待ちください。10/999..."));
}

namespace
{
// Every file a srcset of a page names, "page.htm -> name" for those missing from the album.
QStringList brokenSrcsets(const QString& albumFolder, int* count)
{
    static const QRegularExpression srcset(QStringLiteral("srcset=\"([^\"]*)\""));
    QStringList broken;
    const QDir dir(albumFolder);
    for (const QString& page : dir.entryList({"*.htm"}, QDir::Files)) {
        const QString text = QString::fromUtf8(TestUtil::readAll(dir.filePath(page)));
        for (auto m = srcset.globalMatch(text); m.hasNext();) {
            for (const QString& candidate : m.next().captured(1).split(QStringLiteral(", "))) {
                const QString name = candidate.section(QLatin1Char(' '), 0, 0);
                ++*count;
                if (!dir.exists(name))
                    broken << page + " -> " + name;
            }
        }
    }
    return broken;
}

QMap<QString, QByteArray> albumBytes(const QString& albumFolder)
{
    QMap<QString, QByteArray> bytes;
    const QDir dir(albumFolder);
    for (const QString& name : dir.entryList(QDir::Files))
        bytes.insert(name, TestUtil::readAll(dir.filePath(name)));
    return bytes;
}
} // namespace

// The whole road of the second images: made at twice the box but never beyond the photo, offered
// through srcset with width and height, reused when nothing changed, kept by page style only and
// taken away by a run without them, which leaves the album as a run that never had them.
TEST_F(AlbumGeneratorTest, SecondImagesForHighDensityScreens)
{
    const QSize sizes[] = {QSize(1600, 1200), QSize(700, 525), QSize(400, 300), QSize(240, 180)};
    for (int i = 0; i < 4; ++i) {
        PhotoRow row;
        row.pathName = TestUtil::writeJpeg(QDir(photoFolder).filePath(QStringLiteral("H%1.jpg").arg(i + 1)),
                                           sizes[i].width(), sizes[i].height(), std::nullopt, false, i + 1);
        row.fileName = QStringLiteral("H%1.jpg").arg(i + 1);
        rows << row;
    }
    rows[0].rotation = 1; // turned: the boxes are fitted to 1200 x 1600
    AlbumOptions off = options();
    off.highDensity = false;
    ASSERT_TRUE(run(off).failedImages.isEmpty());
    const QMap<QString, QByteArray> withoutSeconds = albumBytes(album());

    AlbumOptions on = options();
    on.highDensity = true;
    const GenerationResult made = run(on);
    ASSERT_TRUE(made.failedImages.isEmpty() && made.failedPages.isEmpty());
    const QDir albumDir(album());
    auto sizeOf = [&](const QString& name) { return QImageReader(albumDir.filePath(name)).size(); };
    int seconds = 0;
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const QString nnn = basResOutPrn::photoNumberText(i);
        const QString page = QStringLiteral("page%1.htm").arg(nnn);
        const QString text = QString::fromUtf8(TestUtil::readAll(albumDir.filePath(page)));
        for (const auto& [prefix, box] :
             {std::pair{QStringLiteral("index"), on.indexBox()}, std::pair{QStringLiteral("page"), on.pageBox()}}) {
            const QString design = prefix + nnn + ".jpg";
            const QString second = prefix + nnn + "@2x.jpg";
            // The design's image keeps its name and size.
            EXPECT_EQ(sizeOf(design), QImage::fromData(withoutSeconds.value(design)).size());
            const QSize want = AlbumImages::secondImageSize(sizes[i - 1], rows[i - 1].rotation, box);
            EXPECT_EQ(sizeOf(second), want) << second.toStdString();
            seconds += want.isValid();
            if (prefix == QLatin1String("page")) {
                const QSize d = sizeOf(design);
                EXPECT_TRUE(
                    text.contains(QStringLiteral(" width=\"%1\" height=\"%2\"").arg(d.width()).arg(d.height())));
                EXPECT_EQ(text.contains("srcset="), want.isValid());
            }
        }
    }
    // Photo 1 is made at twice the size; photo 2 at its own (fewer pixels than the doubled box),
    // so its descriptor is 700 / 480; photo 3's page image already holds the whole photo.
    EXPECT_EQ(sizeOf("page001@2x.jpg"), QSize(540, 720));
    EXPECT_TRUE(TestUtil::readAll(albumDir.filePath("page002.htm"))
                    .contains("srcset=\"page002.jpg 1x, page002@2x.jpg 1.458x\""));
    EXPECT_FALSE(albumDir.exists("page003@2x.jpg"));
    EXPECT_FALSE(albumDir.exists("page004@2x.jpg"));
    EXPECT_EQ(sizeOf("index004@2x.jpg"), QSize(200, 150));
    EXPECT_EQ(sizeOf("top@2x.jpg"), QSize(540, 720));
    EXPECT_TRUE(TestUtil::readAll(albumDir.filePath("top.htm"))
                    .contains("width=\"270\" height=\"360\" srcset=\"top.jpg 1x, top@2x.jpg 2x\""));
    EXPECT_TRUE(
        TestUtil::readAll(albumDir.filePath("index.htm")).contains("loading=\"lazy\" decoding=\"async\" width="));
    int srcsets = 0;
    EXPECT_EQ(brokenSrcsets(album(), &srcsets), QStringList());
    EXPECT_GT(srcsets, 0);
    EXPECT_EQ(brokenLinks(album()), QStringList());

    // Nothing changed: every image, second images included, is taken again, byte for byte.
    const QMap<QString, QByteArray> first = albumBytes(album());
    EXPECT_EQ(run(on).reusedImages, 8 + seconds);
    EXPECT_EQ(albumBytes(album()), first);

    // Page style only keeps them and the pages name them as before.
    ASSERT_TRUE(run(on, GenerationMode::PageStyleOnly).failedPages.isEmpty());
    EXPECT_EQ(albumBytes(album()), first);

    // A run without them: the album a run without them always made.
    ASSERT_TRUE(run(off).failedImages.isEmpty());
    EXPECT_EQ(albumBytes(album()), withoutSeconds);
    // Page style only with the choice on again: sizes, but no second image that is not there.
    ASSERT_TRUE(run(on, GenerationMode::PageStyleOnly).failedPages.isEmpty());
    EXPECT_FALSE(TestUtil::readAll(albumDir.filePath("page001.htm")).contains("srcset"));
    EXPECT_TRUE(TestUtil::readAll(albumDir.filePath("page001.htm")).contains("width=\"270\""));
    ASSERT_TRUE(run(off, GenerationMode::PageStyleOnly).failedPages.isEmpty());
    EXPECT_EQ(albumBytes(album()), withoutSeconds);
}
