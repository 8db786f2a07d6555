// SPDX-License-Identifier: MIT
// An album of HEIF photos: JPEG images made by the same steps as for a JPEG photo, upright, with no
// metadata of the photo, no original published, and reused by the next new album as JPEG's are.
#include <gtest/gtest.h>

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <stop_token>

#include "catalogue/photoimport.h"
#include "common/testutil.h"
#include "components/imaging.h"
#include "generate/albumgenerator.h"

TEST(AlbumHeif, ImagesAreUprightJpegsWithoutMetadataAndAreReused)
{
    QTemporaryDir dir;
    const QByteArray savedCacheHome = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    const QString photos = dir.filePath(QStringLiteral("photos"));
    QDir().mkpath(photos);
    TestUtil::Exif exif;
    exif.make = QStringLiteral("samsung");
    exif.model = QStringLiteral("Galaxy S24 Ultra");
    exif.orientation = 6;
    TestUtil::writeHeif(QDir(photos).filePath(QStringLiteral("20260714_093000.heic")),
                        TestUtil::samplePicture(800, 600, 2), {.orientation = 6, .exif = exif});
    TestUtil::writeHeif(QDir(photos).filePath(QStringLiteral("web.avif")), TestUtil::samplePicture(800, 600, 5),
                        {.av1 = true});
    TestUtil::writeJpeg(QDir(photos).filePath(QStringLiteral("DSC_0001.jpg")), 800, 600);
    const ImportResult imported = PhotoImport::run(photos);
    ASSERT_EQ(imported.rows.size(), 3);

    AlbumOptions options;
    options.photoFolder = photos;
    options.programFolder = TestUtil::binDir();
    options.themeFile = QStringLiteral("basic.css");
    options.coverNumber = 2;
    const auto generate = [&] {
        std::stop_source stop;
        return AlbumGenerator::run(options, imported.rows, GenerationMode::NewAlbum, stop.get_token(), {});
    };
    const GenerationResult first = generate();
    EXPECT_TRUE(first.failedImages.isEmpty());
    EXPECT_EQ(first.reusedImages, 0);

    const QDir album(QDir(photos).filePath(QStringLiteral("Lumivert")));
    const auto sizeOf = [&](const char* name) {
        QImageReader reader(album.filePath(QString::fromLatin1(name)));
        EXPECT_EQ(reader.format(), "jpeg") << name;
        return reader.size();
    };
    // rows: DSC_0001.jpg, then 20260714_093000.heic (shown portrait by its file), then web.avif
    EXPECT_EQ(sizeOf("page002.jpg"), QSize(270, 360)); // into the 480 x 360 page box
    EXPECT_EQ(sizeOf("page003.jpg"), QSize(480, 360));
    EXPECT_EQ(sizeOf("index002.jpg").height(), options.indexBox().height());
    for (const QString& name : album.entryList(QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(name.endsWith(QLatin1String(".heic"), Qt::CaseInsensitive) ||
                     name.endsWith(QLatin1String(".avif"), Qt::CaseInsensitive));
        if (name.endsWith(QLatin1String(".jpg"))) {
            EXPECT_FALSE(Imaging::readShootingInfo(album.filePath(name)).hasInfo);
        }
    }

    const GenerationResult second = generate();
    // Index and page images of all three photos, each with its second image for high-density screens.
    EXPECT_EQ(second.reusedImages, 12);

    if (savedCacheHome.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", savedCacheHome);
}
