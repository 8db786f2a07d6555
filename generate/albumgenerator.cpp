// SPDX-License-Identifier: MIT
#include "generate/albumgenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "components/workerpool.h"
#include "design/cstylesheet.h"
#include "design/stylesheetbackground.h"
#include "generate/albumimages.h"
#include "generate/basresoutprn.h"
#include "generate/basresoutsimpleindex.h"
#include "generate/basresoutsimplepage.h"
#include "generate/basresoutsimpletop.h"
#include "generate/bastoolsap.h"
#include "generate/imagecache.h"

Q_LOGGING_CATEGORY(lcGenerate, "lumivert.generate")

QString GenerationResult::userTag() const
{
    return cancelled ? QStringLiteral("ｷｬﾝｾﾙ") : QStringLiteral("OK");
}

namespace
{

// What a worker made of one photo: its images under working names in the album folder, per kind
// (ImageCache::Kind). The stamps say what the images were made from and what was written, for the
// image cache.
struct PhotoWork {
    std::array<bool, ImageCache::KindCount> made{};
    ImageCache::Stamp source;
    std::array<ImageCache::Stamp, ImageCache::KindCount> file;
};

bool isSecond(ImageCache::Kind kind)
{
    return kind == ImageCache::Index2x || kind == ImageCache::Page2x;
}

// The album file name of photo i's image of a kind: "index001.jpg", "page001@2x.jpg".
QString imageFileName(ImageCache::Kind kind, int i)
{
    const bool index = kind == ImageCache::Index || kind == ImageCache::Index2x;
    const QString name = (index ? QStringLiteral("index") : QStringLiteral("page")) + basResOutPrn::photoNumberText(i) +
                         QStringLiteral(".jpg");
    return isSecond(kind) ? basResOutPrn::secondImageName(name) : name;
}

// Whether the second image of a kind is one the photo gets: its header says it has more pixels
// than the design's image shows. Only read when every image of the photo could be reused.
bool secondExpected(const PhotoRow& photo, ImageCache::Kind kind, const AlbumOptions& options)
{
    const QSize box = kind == ImageCache::Index2x ? options.indexBox() : options.pageBox();
    return AlbumImages::secondImageSize(Imaging::imageSize(photo.pathName), photo.rotation, box).isValid();
}

// The images of photo at (0-based) that are not taken from the last album, made from one decode
// and written under their working names.
PhotoWork makePhotoImages(const AlbumOptions& options, const QVector<PhotoRow>& photos, int at, const ImageCache& cache,
                          const std::function<QString(ImageCache::Kind, int)>& working)
{
    using Kind = ImageCache::Kind;
    const PhotoRow& photo = photos.at(at);
    const bool seconds = options.highDensity;
    std::array<bool, ImageCache::KindCount> want{};
    bool any = false;
    for (int k = 0; k < ImageCache::KindCount; ++k) {
        want[size_t(k)] = (seconds || !isSecond(Kind(k))) && !cache.reusable(at + 1, Kind(k));
        any = any || (want[size_t(k)] && !isSecond(Kind(k)));
    }
    // A second image that no earlier run made may be one the photo does not get at all.
    for (const Kind k : {ImageCache::Index2x, ImageCache::Page2x})
        any = any || (want[size_t(k)] && secondExpected(photo, k, options));
    PhotoWork work;
    if (!any)
        return work;
    // Stamped before the decode: a photo changed meanwhile is not recorded as this one.
    const ImageCache::Stamp source = ImageCache::stamp(photo.pathName);
    const AlbumImages::AlbumImagePair images =
        AlbumImages::makeAlbumImages(photo.pathName, photo.rotation, options.indexBox(), options.pageBox(), seconds);
    const QImage* byKind[] = {&images.index, &images.page, &images.index2x, &images.page2x};
    const Imaging::SaveKind pageKind =
        options.progressive ? Imaging::SaveKind::ProgressiveJpeg : Imaging::SaveKind::BaselineJpeg;
    for (int k = 0; k < ImageCache::KindCount; ++k) {
        const bool index = Kind(k) == ImageCache::Index || Kind(k) == ImageCache::Index2x;
        work.made[size_t(k)] = want[size_t(k)] && !byKind[k]->isNull() &&
                               Imaging::save(*byKind[k], working(Kind(k), at + 1),
                                             index ? Imaging::SaveKind::BaselineJpeg : pageKind, options.jpegQuality());
    }
    if (ImageCache::unchanged(source, photo.pathName)) {
        work.source = source;
        for (int k = 0; k < ImageCache::KindCount; ++k)
            if (work.made[size_t(k)])
                work.file[size_t(k)] = ImageCache::stamp(working(Kind(k), at + 1));
    }
    return work;
}

// Runs the per-photo work on a pool of worker threads, a few photos ahead of the one the
// coordinator takes next. Photos start in order; take() waits for one photo's work. Work that
// has not started when abandon() is called never starts; work already running is waited for.
class WorkAhead
{
public:
    WorkAhead(int count, std::function<PhotoWork(int)> work)
        : m_work(std::move(work)), m_results(size_t(count)), m_done(size_t(count), false)
    {
        const int threads = m_pool.threadCount();
        // Enough started photos to keep every worker busy while the coordinator commits; each
        // worker holds one decoded photo at a time, so memory does not grow with the list.
        m_window = 2 * threads;
    }
    ~WorkAhead() { abandon(); }
    WorkAhead(const WorkAhead&) = delete;
    WorkAhead& operator=(const WorkAhead&) = delete;

    PhotoWork take(int i)
    {
        const int count = int(m_results.size());
        while (m_started < std::min(count, i + 1 + m_window))
            startPhoto(m_started++);
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return bool(m_done[size_t(i)]); });
        return m_results[size_t(i)];
    }

    void abandon()
    {
        m_abandoned = true;
        m_pool.waitForDone();
    }

private:
    void startPhoto(int i)
    {
        m_pool.start([this, i] {
            PhotoWork result;
            if (!m_abandoned)
                result = m_work(i);
            const std::lock_guard lock(m_mutex);
            m_results[size_t(i)] = result;
            m_done[size_t(i)] = true;
            m_ready.notify_all();
        });
    }

    std::function<PhotoWork(int)> m_work;
    std::vector<PhotoWork> m_results;
    std::vector<bool> m_done;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::atomic<bool> m_abandoned = false;
    int m_started = 0;
    int m_window = 2;
    WorkerPool m_pool;
};

// Puts a finished working file in its place (replacing what is there); the working file is gone
// either way.
bool commitFile(const QString& working, const QString& target)
{
    std::error_code error;
    std::filesystem::rename(QFileInfo(working).filesystemAbsoluteFilePath(),
                            QFileInfo(target).filesystemAbsoluteFilePath(), error);
    if (error) {
        qCInfo(lcGenerate) << "cannot rename" << working << "to" << target << error.message().c_str();
        QFile::remove(working);
        return false;
    }
    return true;
}

// The sizes the pages state for an album image and its second image, read from the files'
// headers (page style only, and reused images, are not decoded); invalid where a file is missing.
basResOutPrn::ImageSizes imageSizes(const QString& album, const QString& name)
{
    const QDir dir(album);
    basResOutPrn::ImageSizes sizes;
    sizes.design = Imaging::imageSize(dir.filePath(name));
    if (sizes.design.isValid())
        sizes.second = Imaging::imageSize(dir.filePath(basResOutPrn::secondImageName(name)));
    return sizes;
}

// A run without second images takes away those of an earlier run: no page names them any more.
void removeSecondImages(const QString& album)
{
    const QDir dir(album);
    for (const QString& name :
         dir.entryList({QStringLiteral("index*@2x.jpg"), QStringLiteral("page*@2x.jpg")}, QDir::Files))
        QFile::remove(dir.filePath(name));
}

} // namespace

namespace AlbumGenerator
{

QString progressText(int step, int i, int n)
{
    static const QString messages[] = {
        QStringLiteral("Step1.目次用画像生成  しばらくお待ちください。"),
        QStringLiteral("Step2.ページ用画像生成  しばらくお待ちください。"),
        QStringLiteral("Step3.HTML生成  しばらくお待ちください。"),
    };
    const QString& message = messages[qBound(1, step, 3) - 1];
    return message + QString::number(i) + QLatin1Char('/') + QString::number(n) + QStringLiteral("...");
}

GenerationResult run(const AlbumOptions& options, const QVector<PhotoRow>& photos, GenerationMode mode,
                     std::stop_token stop, const GenerationProgress& progress)
{
    GenerationResult result;
    const QString album = options.albumFolder();
    const QString sep = QDir::separator();
    auto inAlbum = [&](const QString& name) { return album + sep + name; };
    const int n = int(photos.size());
    auto report = [&](int step, int i) {
        if (progress)
            progress(step, i, n);
    };

    (void)basToolsAp::MakeFolder(album); // normally it exists already
    const bool newAlbum = mode == GenerationMode::NewAlbum;
    // Images of the last new album that this one would make byte for byte the same are moved
    // aside before the deletion and put in their new places in steps 1 and 2.
    std::optional<ImageCache> cache;
    if (newAlbum) {
        cache.emplace(album, options, photos);
        cache->takeAside();
    }
    const QStringList patterns =
        newAlbum ? QStringList{"*.css", "*.htm", "*.jpg", "*.gif"} : QStringList{"*.css", "*.htm"};
    for (const QString& pattern : patterns)
        (void)basToolsAp::DeleteFiles(inAlbum(pattern));

    const int quality = options.jpegQuality();
    const Imaging::SaveKind pageKind =
        options.progressive ? Imaging::SaveKind::ProgressiveJpeg : Imaging::SaveKind::BaselineJpeg;

    if (newAlbum) {
        // Each photo is decoded once for all its images (a worker writes them under hidden
        // working names, a few photos ahead). The coordinator keeps the steps as they are: in
        // step 1 it reports photo i, looks at the stop request, then puts photo i's index images
        // in place; in step 2 likewise for its page images. Work on photos the coordinator has not
        // reached when a stop comes is thrown away, so nothing of them reaches the album.
        using Kind = ImageCache::Kind;
        auto target = [&](Kind kind, int i) { return inAlbum(imageFileName(kind, i)); };
        auto working = [&](Kind kind, int i) {
            return inAlbum(QLatin1Char('.') + imageFileName(kind, i) + QStringLiteral(".part"));
        };
        // Working files a run that was killed may have left behind.
        const QDir albumDir(album);
        for (const QString& stale : albumDir.entryList(
                 {QStringLiteral(".index*.jpg.part*"), QStringLiteral(".page*.jpg.part*")}, QDir::Files | QDir::Hidden))
            QFile::remove(albumDir.filePath(stale));

        std::vector<PhotoWork> works(static_cast<size_t>(n));
        // Puts photo i's image of a kind in place: the one taken from the last album, else the
        // one its worker made. A second image that was neither is one the photo does not get.
        auto putInPlace = [&](int i, Kind kind) {
            const PhotoWork& work = works[size_t(i - 1)];
            const QString name = target(kind, i);
            bool done = false;
            if (cache->reusable(i, kind)) {
                done = cache->place(i, kind, name);
            } else if (work.made[size_t(kind)] && commitFile(working(kind, i), name)) {
                done = true;
                cache->made(i, kind, name, work.source, work.file[size_t(kind)]);
            } else if (isSecond(kind) && !work.made[size_t(kind)]) {
                return;
            }
            if (!done) {
                qCInfo(lcGenerate) << "no image" << name << "from" << photos.at(i - 1).pathName;
                result.failedImages.append(name);
            }
        };
        auto removeWorking = [&](int i, std::initializer_list<Kind> kinds) {
            for (const Kind kind : kinds)
                if (works[size_t(i - 1)].made[size_t(kind)])
                    QFile::remove(working(kind, i));
        };
        int committed = 0; // photos whose step 1 is done
        {
            WorkAhead ahead(n, [&](int at) { return makePhotoImages(options, photos, at, *cache, working); });
            for (int i = 1; i <= n; ++i) {
                report(1, i);
                if (stop.stop_requested())
                    break;
                works[size_t(i - 1)] = ahead.take(i - 1);
                putInPlace(i, ImageCache::Index);
                putInPlace(i, ImageCache::Index2x);
                committed = i;
            }
            ahead.abandon();
        }
        for (int i = committed + 1; i <= n; ++i)
            for (int k = 0; k < ImageCache::KindCount; ++k)
                QFile::remove(working(Kind(k), i));
        int placed = 0;
        for (int i = 1; i <= n; ++i) {
            report(2, i);
            if (stop.stop_requested())
                break;
            putInPlace(i, ImageCache::Page);
            putInPlace(i, ImageCache::Page2x);
            placed = i;
        }
        for (int i = placed + 1; i <= committed; ++i)
            removeWorking(i, {ImageCache::Page, ImageCache::Page2x});
        // Taken images that were not placed (a stop) go, as the deletion would have taken them.
        cache->finish();
        result.reusedImages = cache->reusedCount();
    } else if (!options.highDensity) {
        removeSecondImages(album);
    }

    // Both modes: the cover from the page image (of this run or an earlier one), the background.
    (void)AlbumImages::produceCoverImage(album, options.coverNumber, options.coverEffect, pageKind, quality,
                                         options.highDensity);
    // An earlier run's background goes first (page style only keeps the images), so that "no
    // background", or a background of the other format, leaves no old file to show.
    for (const QString& name : StyleSheetBackground::BackgroundFiles)
        QFile::remove(inAlbum(name));
    if (options.background && AlbumImages::produceBackgroundImage(options.backgroundFile, album).isEmpty())
        qCInfo(lcGenerate) << "no background from" << options.backgroundFile;

    CStyleSheet styleSheet; // after the background: it names only the background file written above
    if (!styleSheet.CreateCSS(options.themePath(), options.colorName, album))
        qCInfo(lcGenerate) << "no style sheet from" << options.themePath();

    // The template is read and its sections parsed once for the run's pages; a template that
    // cannot be read, or a section that is missing or damaged, fails each page that needs it.
    QString templateError;
    const auto templateText = basResOutPrn::readTemplateFile(options.templateFilePath(), &templateError);
    struct Section {
        std::optional<basResOutPrn::SlotTable> slots;
        QString error;
    };
    auto section = [&](const QString& name) {
        Section s;
        if (!templateText)
            s.error = templateError;
        else
            s.slots = basResOutPrn::ReadFormatSection(templateText->text, name, &s.error);
        return s;
    };
    basResOutPrn::OutputState output;
    auto writePage = [&](const Section& s, const QString& name, const auto& pageText) {
        output.OutputFileName = inAlbum(name);
        QString error = s.error;
        if (!s.slots ||
            !basResOutPrn::writePageFile(output.OutputFileName, pageText(*s.slots), templateText->encoding, &error)) {
            qCWarning(lcGenerate) << "page not written" << output.OutputFileName << error;
            result.failedPages.append(output.OutputFileName);
            if (result.failureReason.isEmpty())
                result.failureReason = error;
        }
    };
    // A photo without its images (it could not be read, or no earlier run made them) gets the
    // template's note in their place rather than a broken image; the cover likewise.
    std::vector<bool> noIndexImage(static_cast<size_t>(n)), noPageImage(static_cast<size_t>(n));
    std::vector<basResOutPrn::ImageSizes> indexSizes, pageSizes;
    for (int i = 1; i <= n; ++i) {
        noIndexImage[size_t(i - 1)] = !QFileInfo::exists(inAlbum(imageFileName(ImageCache::Index, i)));
        noPageImage[size_t(i - 1)] = !QFileInfo::exists(inAlbum(imageFileName(ImageCache::Page, i)));
        if (options.highDensity) {
            indexSizes.push_back(imageSizes(album, imageFileName(ImageCache::Index, i)));
            pageSizes.push_back(imageSizes(album, imageFileName(ImageCache::Page, i)));
        }
    }
    const bool coverImage = QFileInfo::exists(inAlbum(QStringLiteral("top.jpg")));
    const basResOutPrn::ImageSizes coverSizes =
        options.highDensity ? imageSizes(album, QStringLiteral("top.jpg")) : basResOutPrn::ImageSizes{};
    using basResOutPrn::SlotTable;
    writePage(section(basResOutSimpleTop::SectionName), QStringLiteral("top.htm"), [&](const SlotTable& slots) {
        return basResOutSimpleTop::WriteSimpleTop(slots, options, photos, coverImage, coverSizes);
    });
    writePage(section(basResOutSimpleIndex::SectionName), QStringLiteral("index.htm"), [&](const SlotTable& slots) {
        return basResOutSimpleIndex::WriteSimpleIndex(slots, options, photos, noIndexImage, indexSizes);
    });
    // Step 3 never stops: a cancel here still leaves every page written.
    const Section pageSection = section(basResOutSimplePage::sectionName(options));
    for (int i = 1; i <= n; ++i) {
        report(3, i);
        writePage(pageSection, QStringLiteral("page%1.htm").arg(basResOutPrn::photoNumberText(i)),
                  [&](const SlotTable& slots) {
                      return basResOutSimplePage::WriteSimplePage(
                          slots, options, photos, i, !noPageImage[size_t(i - 1)],
                          options.highDensity ? pageSizes[size_t(i - 1)] : basResOutPrn::ImageSizes{});
                  });
    }

    if (!result.failedPages.isEmpty())
        result.errorText = QStringLiteral("\n･Lumivert作成エラー");
    result.cancelled = stop.stop_requested();
    return result;
}

} // namespace AlbumGenerator
