// SPDX-License-Identifier: MIT
#include "generate/albumgenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
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
#include "generate/albumphoto.h"
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

// Runs the per-photo work on a pool of worker threads, a few photos ahead of the one the
// coordinator takes next. Photos start in order; take() waits for one photo's work. Work that
// has not started when abandon() is called never starts; work already running is waited for.
class WorkAhead
{
public:
    WorkAhead(int count, std::function<void(int)> work) : m_work(std::move(work)), m_done(size_t(count), false)
    {
        // Enough started photos to keep every worker busy while the coordinator commits; each
        // worker holds one decoded photo at a time, so memory does not grow with the list.
        m_window = 2 * m_pool.threadCount();
    }
    ~WorkAhead() { abandon(); }
    WorkAhead(const WorkAhead&) = delete;
    WorkAhead& operator=(const WorkAhead&) = delete;

    void take(int i)
    {
        const int count = int(m_done.size());
        while (m_started < std::min(count, i + 1 + m_window))
            startPhoto(m_started++);
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return bool(m_done[size_t(i)]); });
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
            if (!m_abandoned)
                m_work(i);
            const std::lock_guard lock(m_mutex);
            m_done[size_t(i)] = true;
            m_ready.notify_all();
        });
    }

    std::function<void(int)> m_work;
    std::vector<bool> m_done;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::atomic<bool> m_abandoned = false;
    int m_started = 0;
    int m_window = 2;
    WorkerPool m_pool;
};

// What one run works from and what it reports; the steps below share it.
struct Run {
    const AlbumOptions& options;
    const QVector<PhotoRow>& rows;
    bool newAlbum;
    std::stop_token stop;
    const GenerationProgress& progress;
    QString album;
    int quality;
    Imaging::SaveKind pageKind;
    GenerationResult result;

    QString inAlbum(const QString& name) const { return album + QDir::separator() + name; }
    void report(int step, int i) const
    {
        if (progress)
            progress(step, i, int(rows.size()));
    }
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

// Collect: the photos in album order, each with the images the album holds of it.
std::vector<AlbumPhoto> collectPhotos(const Run& run)
{
    std::vector<AlbumPhoto> photos;
    photos.reserve(size_t(run.rows.size()));
    for (int i = 1; i <= int(run.rows.size()); ++i) {
        const PhotoRow& row = run.rows.at(i - 1);
        const QString nnn = basResOutPrn::photoNumberText(i);
        const QString page = QStringLiteral("page%1.jpg").arg(nnn);
        const QString index = QStringLiteral("index%1.jpg").arg(nnn);
        const QSize pageBox = run.options.pageBox();
        const QSize indexBox = run.options.indexBox();
        const Imaging::SaveKind baseline = Imaging::SaveKind::BaselineJpeg;
        AlbumPhoto photo{i, row.pathName, row.rotation, {}, {}};
        // One decode makes them all: at the scale of the page image (or of its second image).
        photo.images.push_back({AlbumPhotoImage::Page, pageBox, run.pageKind, page});
        photo.images.push_back({AlbumPhotoImage::Index, indexBox, baseline, index});
        if (run.options.highDensity) {
            photo.images.push_back(
                {AlbumPhotoImage::Page2x, pageBox, run.pageKind, basResOutPrn::secondImageName(page)});
            photo.images.push_back(
                {AlbumPhotoImage::Index2x, indexBox, baseline, basResOutPrn::secondImageName(index)});
        }
        photos.push_back(std::move(photo));
    }
    return photos;
}

// Removes the album's files of the patterns (ordinary files, any letter case) but those kept.
void removeStale(const Run& run, const QStringList& kept)
{
    const QStringList patterns =
        run.newAlbum ? QStringList{"*.css", "*.htm", "*.jpg", "*.gif"} : QStringList{"*.css", "*.htm"};
    const QDir album(run.album);
    for (const QFileInfo& info : album.entryInfoList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (!kept.contains(info.fileName()))
            QFile::remove(info.filePath());
}

// Working files a run that was killed may have left behind.
void removeWorkingFiles(const Run& run)
{
    const QDir album(run.album);
    for (const QString& stale : album.entryList(
             {QStringLiteral(".index*.jpg.part*"), QStringLiteral(".page*.jpg.part*")}, QDir::Files | QDir::Hidden))
        QFile::remove(album.filePath(stale));
}

// Whether the photo must be decoded: an image of the design not kept, or a second image not kept
// that the photo gets (its header says it has more pixels than the design's image shows).
bool mustDecode(const AlbumPhoto& photo, ImageCache::PhotoFile& file)
{
    QSize header;
    for (const AlbumPhotoImage& image : photo.images) {
        if (image.outcome == AlbumPhotoImage::Kept)
            continue;
        if (!image.second())
            return true;
        if (!header.isValid())
            header = file.headerSize();
        if (AlbumImages::secondImageSize(header, photo.rotation, image.box).isValid())
            return true;
    }
    return false;
}

QSize boxOf(const AlbumPhoto& photo, AlbumPhotoImage::Kind kind)
{
    for (const AlbumPhotoImage& image : photo.images)
        if (image.kind == kind)
            return image.box;
    return {};
}

// Make, on a worker: reads the photo once; takes the images the last album had made of the same
// content, and makes the others from one decode, under their working names.
void makePhoto(AlbumPhoto& photo, const QDir& album, int quality)
{
    ImageCache::PhotoFile file(photo.path);
    const auto keeps = [](const AlbumPhotoImage& image) { return image.keep.entry >= 0; };
    const auto designKept = [&](const AlbumPhotoImage& image) { return image.second() || keeps(image); };
    if (!std::all_of(photo.images.begin(), photo.images.end(), designKept))
        (void)file.bytes(); // a decode reads the whole file: the stamp comes from those bytes
    photo.source = file.stamp();
    for (AlbumPhotoImage& image : photo.images) {
        if (keeps(image) && photo.source.valid() && photo.source.hash == image.keep.source) {
            image.outcome = AlbumPhotoImage::Kept;
            image.file = image.keep.file;
        }
    }
    if (!mustDecode(photo, file))
        return;
    const bool seconds = photo.images.size() > 2;
    const AlbumImages::AlbumImagePair made =
        AlbumImages::makeAlbumImages(file.bytes(), photo.rotation, boxOf(photo, AlbumPhotoImage::Index),
                                     boxOf(photo, AlbumPhotoImage::Page), seconds);
    const QImage* byKind[AlbumPhotoImage::KindCount] = {&made.index, &made.page, &made.index2x, &made.page2x};
    // A photo changed while it was read is not recorded as the one its stamp describes.
    if (!ImageCache::unchanged(photo.source, photo.path))
        photo.source = {};
    for (AlbumPhotoImage& image : photo.images) {
        const QImage& picture = *byKind[image.kind];
        const QString working = album.filePath(image.workingName());
        if (image.outcome == AlbumPhotoImage::Kept || picture.isNull() ||
            !Imaging::save(picture, working, image.saveKind, quality))
            continue;
        image.outcome = AlbumPhotoImage::Made;
        image.file = photo.source.valid() ? ImageCache::stamp(working) : FileStamp{};
    }
}

// Puts the photo's index images (step 1) or page images (step 2) in their places: the kept ones
// (where they are not already), the made ones. A second image neither kept nor made is one the
// photo does not get.
void placeImages(Run& run, AlbumPhoto& photo, int step)
{
    for (AlbumPhotoImage& image : photo.images) {
        const bool index = image.kind == AlbumPhotoImage::Index || image.kind == AlbumPhotoImage::Index2x;
        if (index != (step == 1) || (image.second() && image.outcome == AlbumPhotoImage::Missing))
            continue;
        const QString target = run.inAlbum(image.fileName);
        const QString working = run.inAlbum(image.workingName());
        switch (image.outcome) {
        case AlbumPhotoImage::Kept:
            image.placed = image.keep.inPlace || commitFile(working, target);
            run.result.reusedImages += image.placed ? 1 : 0;
            break;
        case AlbumPhotoImage::Made:
            image.placed = commitFile(working, target);
            break;
        case AlbumPhotoImage::Missing:
            break;
        }
        if (!image.placed) {
            qCInfo(lcGenerate) << "no image" << target << "from" << photo.path;
            run.result.failedImages.append(target);
        }
    }
}

// Make: each photo is read and decoded once for all its images, by workers a few photos ahead.
// The coordinator keeps the steps: in step 1 it reports photo i, looks at the stop request, then
// puts photo i's index images in place; in step 2 likewise for its page images. What the
// coordinator has not reached when a stop comes is thrown away, so nothing of it stays in the
// album, neither made nor kept.
void makeImages(Run& run, std::vector<AlbumPhoto>& photos)
{
    const int n = int(photos.size());
    {
        const QDir album(run.album);
        WorkAhead ahead(n, [&](int at) { makePhoto(photos[size_t(at)], album, run.quality); });
        for (int i = 1; i <= n; ++i) {
            run.report(1, i);
            if (run.stop.stop_requested())
                break;
            ahead.take(i - 1);
            placeImages(run, photos[size_t(i - 1)], 1);
        }
        ahead.abandon();
    }
    for (int i = 1; i <= n; ++i) {
        run.report(2, i);
        if (run.stop.stop_requested())
            break;
        placeImages(run, photos[size_t(i - 1)], 2);
    }
    for (const AlbumPhoto& photo : photos) {
        for (const AlbumPhotoImage& image : photo.images) {
            if (image.placed)
                continue;
            QFile::remove(run.inAlbum(image.workingName()));
            if (image.keep.inPlace)
                QFile::remove(run.inAlbum(image.fileName));
        }
    }
}

// The cover from the page image (of this run or an earlier one); a kept cover stays while its
// page image is in the album (a stopped run may have taken that away).
void writeCover(const Run& run, QStringList kept)
{
    const AlbumOptions& options = run.options;
    for (const bool second : {false, true})
        if (!QFileInfo::exists(run.inAlbum(AlbumImages::coverSource(options.coverNumber, second))))
            kept.removeAll(AlbumImages::coverName(second));
    (void)AlbumImages::produceCoverImage(run.album, options.coverNumber, options.coverEffect, run.pageKind, run.quality,
                                         options.highDensity, kept);
}

// Collect, decide, remove what is stale, make: the images of a new album.
void makeNewAlbumImages(Run& run)
{
    std::vector<AlbumPhoto> photos = collectPhotos(run);
    removeWorkingFiles(run);
    ImageCache cache(run.album, run.options);
    cache.decide(photos);
    const QStringList inPlace = cache.putKeptAside(photos);
    const QStringList covers = cache.keptCovers(inPlace);
    removeStale(run, inPlace + covers);
    makeImages(run, photos);
    writeCover(run, covers);
    cache.finish(photos);
}

// A run without second images takes away those of an earlier run.
void removeSecondImages(const Run& run)
{
    const QDir album(run.album);
    for (const QString& name :
         album.entryList({QStringLiteral("index*@2x.jpg"), QStringLiteral("page*@2x.jpg")}, QDir::Files))
        QFile::remove(album.filePath(name));
}

// The sizes the pages state for an album image and its second image, read from the files'
// headers (page style only, and kept images, are not decoded); invalid where a file is missing.
basResOutPrn::ImageSizes imageSizes(const Run& run, const QString& name)
{
    basResOutPrn::ImageSizes sizes;
    sizes.design = Imaging::imageSize(run.inAlbum(name));
    if (sizes.design.isValid())
        sizes.second = Imaging::imageSize(run.inAlbum(basResOutPrn::secondImageName(name)));
    return sizes;
}

// Both modes: the background.
void writeBackground(const Run& run)
{
    const AlbumOptions& options = run.options;
    // An earlier run's background goes first (page style only keeps the images), so that "no
    // background", or a background of the other format, leaves no old file to show.
    for (const QString& name : StyleSheetBackground::BackgroundFiles)
        QFile::remove(run.inAlbum(name));
    if (options.background && AlbumImages::produceBackgroundImage(options.backgroundFile, run.album).isEmpty())
        qCInfo(lcGenerate) << "no background from" << options.backgroundFile;
}

void writeStyleSheet(const Run& run)
{
    const AlbumOptions& options = run.options;
    const QString album = run.album;
    CStyleSheet styleSheet; // after the background: it names only the background file written above
    if (!styleSheet.CreateCSS(options.themePath(), options.colorName, album))
        qCInfo(lcGenerate) << "no style sheet from" << options.themePath();
}

// Writes the run's pages from the template, read and its sections parsed once; a template that
// cannot be read, or a section that is missing or damaged, fails each page that needs it.
class PageWriter
{
public:
    explicit PageWriter(Run& run) : m_run(run)
    {
        m_text = basResOutPrn::readTemplateFile(run.options.templateFilePath(), &m_error);
    }
    struct Section {
        std::optional<basResOutPrn::SlotTable> slots;
        QString error;
    };
    Section section(const QString& name) const
    {
        Section s;
        if (!m_text)
            s.error = m_error;
        else
            s.slots = basResOutPrn::ReadFormatSection(m_text->text, name, &s.error);
        return s;
    }
    template <typename PageText> void write(const Section& s, const QString& name, const PageText& pageText)
    {
        m_output.OutputFileName = m_run.inAlbum(name);
        QString error = s.error;
        if (!s.slots ||
            !basResOutPrn::writePageFile(m_output.OutputFileName, pageText(*s.slots), m_text->encoding, &error)) {
            qCWarning(lcGenerate) << "page not written" << m_output.OutputFileName << error;
            m_run.result.failedPages.append(m_output.OutputFileName);
            if (m_run.result.failureReason.isEmpty())
                m_run.result.failureReason = error;
        }
    }

private:
    Run& m_run;
    std::optional<basResOutPrn::TemplateText> m_text;
    QString m_error;
    basResOutPrn::OutputState m_output;
};

void writePages(Run& run)
{
    const AlbumOptions& options = run.options;
    const QVector<PhotoRow>& photos = run.rows;
    const int n = int(photos.size());
    // A photo without its images (it could not be read, or no earlier run made them) gets the
    // template's note in their place rather than a broken image; the cover likewise. With second
    // images the pages state each image's size and that of its second image.
    std::vector<bool> noIndexImage(static_cast<size_t>(n)), noPageImage(static_cast<size_t>(n));
    std::vector<basResOutPrn::ImageSizes> indexSizes, pageSizes;
    for (int i = 1; i <= n; ++i) {
        const QString nnn = basResOutPrn::photoNumberText(i);
        const QString index = QStringLiteral("index%1.jpg").arg(nnn);
        const QString page = QStringLiteral("page%1.jpg").arg(nnn);
        noIndexImage[size_t(i - 1)] = !QFileInfo::exists(run.inAlbum(index));
        noPageImage[size_t(i - 1)] = !QFileInfo::exists(run.inAlbum(page));
        if (options.highDensity) {
            indexSizes.push_back(imageSizes(run, index));
            pageSizes.push_back(imageSizes(run, page));
        }
    }
    const bool coverImage = QFileInfo::exists(run.inAlbum(QStringLiteral("top.jpg")));
    const basResOutPrn::ImageSizes coverSizes =
        options.highDensity ? imageSizes(run, QStringLiteral("top.jpg")) : basResOutPrn::ImageSizes{};
    using basResOutPrn::SlotTable;
    PageWriter pages(run);
    pages.write(pages.section(basResOutSimpleTop::SectionName), QStringLiteral("top.htm"), [&](const SlotTable& slots) {
        return basResOutSimpleTop::WriteSimpleTop(slots, options, photos, coverImage, coverSizes);
    });
    pages.write(pages.section(basResOutSimpleIndex::SectionName), QStringLiteral("index.htm"),
                [&](const SlotTable& slots) {
                    return basResOutSimpleIndex::WriteSimpleIndex(slots, options, photos, noIndexImage, indexSizes);
                });
    // Step 3 never stops: a cancel here still leaves every page written.
    const PageWriter::Section pageSection = pages.section(basResOutSimplePage::sectionName(options));
    for (int i = 1; i <= n; ++i) {
        run.report(3, i);
        pages.write(pageSection, QStringLiteral("page%1.htm").arg(basResOutPrn::photoNumberText(i)),
                    [&](const SlotTable& slots) {
                        return basResOutSimplePage::WriteSimplePage(
                            slots, options, photos, i, !noPageImage[size_t(i - 1)],
                            options.highDensity ? pageSizes[size_t(i - 1)] : basResOutPrn::ImageSizes{});
                    });
    }
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
    Run run{options,
            photos,
            mode == GenerationMode::NewAlbum,
            stop,
            progress,
            options.albumFolder(),
            options.jpegQuality(),
            options.progressive ? Imaging::SaveKind::ProgressiveJpeg : Imaging::SaveKind::BaselineJpeg,
            {}};
    (void)basToolsAp::MakeFolder(run.album); // normally it exists already
    if (run.newAlbum) {
        makeNewAlbumImages(run);
    } else {
        removeStale(run, {}); // page style only: the images stay
        if (!options.highDensity)
            removeSecondImages(run); // no page names them any more
        writeCover(run, {});
    }
    writeBackground(run);
    writeStyleSheet(run);
    writePages(run);
    if (!run.result.failedPages.isEmpty())
        run.result.errorText = QStringLiteral("\n･Lumivert作成エラー");
    run.result.cancelled = stop.stop_requested();
    return run.result;
}

} // namespace AlbumGenerator
