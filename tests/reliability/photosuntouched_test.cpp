// SPDX-License-Identifier: MIT
// The photos are only ever read: a whole session over one folder (import, editing, list save and
// load, both generation modes, preview) leaves every photo's bytes and modification time as they were.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QThread>

#include "catalogue/editcommands.h"
#include "catalogue/photoimport.h"
#include "catalogue/photolistfile.h"
#include "components/photolistmodel.h"
#include "generate/albumgenerator.h"
#include "generate/preview.h"
#include "reliabilityutil.h"

namespace {

// Copies a folder tree (the program data, so the preview writes into a copy, not the build's).
bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir src(from);
    for (const QFileInfo& info : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(info.fileName());
        if (info.isDir()) {
            if (!copyTree(info.filePath(), target))
                return false;
        } else if (!QFile::copy(info.filePath(), target)) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(PhotosUntouched, WholeSessionNeverWritesAPhoto)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("写真 & \"photos\""));
    QDir().mkpath(folder);
    TestUtil::Exif exif;
    exif.make = QStringLiteral("Maker");
    exif.model = QStringLiteral("Model");
    exif.dateTimeOriginal = QStringLiteral("2026:12:07 10:00:00");
    exif.exposureTime = std::make_pair(1, 250);
    exif.fNumber = std::make_pair(28, 10);
    QStringList photos;
    const QStringList names = {QStringLiteral("a b.jpg"), QStringLiteral("日本語.jpg"), QStringLiteral("x&&y.jpg"),
                               QStringLiteral("<lt>.JPEG"), QStringLiteral("q'\"uote.jpg")};
    for (int i = 0; i < names.size(); ++i)
        photos << TestUtil::writeJpeg(QDir(folder).filePath(names[i]), 320 + 16 * i, 240, exif, i == 1, i);
    // Photos made earlier than the session, so a rewrite would show in the modification time too.
    QThread::msleep(20);
    const auto before = Reliability::stamps(photos);

    const ImportResult imported = PhotoImport::run(folder);
    ASSERT_EQ(imported.rows.size(), names.size());
    EXPECT_EQ(imported.failed, 0);
    PhotoListModel model;
    model.setRows(imported.rows);

    // Editing: turn, move, caption, sort, remove (the removed photo stays on disk).
    PhotoRow turned = model.photoAt(2);
    turned.rotation = 1;
    model.setPhotoAt(2, turned);
    EditCommands::applyRotation(model, 2);
    EditCommands::moveBottom(model, 1);
    PhotoRow captioned = model.photoAt(1);
    captioned.caption = QStringLiteral("キャプション &&\r\n<b>");
    model.setPhotoAt(1, captioned);
    EditCommands::sortByFileName(model, false);
    ASSERT_TRUE(EditCommands::remove(model, model.photoCount()));

    ASSERT_TRUE(PhotoListFile::save(model, folder, {}));
    PhotoListModel reloaded;
    ASSERT_TRUE(PhotoListFile::load(reloaded, folder));
    EXPECT_EQ(reloaded.photoCount(), model.photoCount());

    const QString program = dir.filePath(QStringLiteral("program"));
    ASSERT_TRUE(copyTree(TestUtil::binDir(), program)) << "copying the program data";
    AlbumOptions options;
    options.photoFolder = folder;
    options.programFolder = program;
    options.themeFile = QStringLiteral("basic.css");
    options.coverNumber = 1;
    options.coverEffect = 3;
    options.background = true;
    options.backgroundFile = photos[1];  // a photo as the background: read, never written
    options.title = QStringLiteral("<&&>");
    for (const GenerationMode mode : {GenerationMode::NewAlbum, GenerationMode::PageStyleOnly}) {
        const GenerationResult result = AlbumGenerator::run(options, model.rows(), mode);
        EXPECT_TRUE(result.failedPages.isEmpty()) << result.failedPages.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.failedImages.isEmpty()) << result.failedImages.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_FALSE(Preview::run(options, dir.filePath(QStringLiteral("cache/Preview/Lumivert"))).isEmpty());
    // A second import of the same folder (the re-import of the Step2 page).
    EXPECT_EQ(PhotoImport::run(folder).rows.size(), names.size());

    const auto after = Reliability::stamps(photos);
    for (const QString& p : photos) {
        SCOPED_TRACE(p.toStdString());
        EXPECT_EQ(after.value(p), before.value(p));
    }
    // And nothing else appeared beside the photos but the list file and the album folder.
    QStringList extra = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& p : photos)
        extra.removeAll(QFileInfo(p).fileName());
    extra.sort();
    EXPECT_EQ(extra, (QStringList{QStringLiteral("Lumivert"), QStringLiteral("Lumivert.bin")}));
}
