// SPDX-License-Identifier: MIT
// A folder copied from phones and cameras: HEIC, HEIF, AVIF and JPEG photos mixed. Each kind comes in
// upright, with the same shooting texts as a JPEG, whatever its name says it is.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTransform>

#include "catalogue/photoimport.h"
#include "catalogue/shootingtext.h"
#include "common/testutil.h"

namespace
{

TestUtil::Exif phone()
{
    TestUtil::Exif exif;
    exif.make = QStringLiteral("Apple");
    exif.model = QStringLiteral("iPhone 15 Pro");
    exif.dateTimeOriginal = QStringLiteral("2026:07:14 09:30:00");
    exif.exposureTime = std::pair(1, 250);
    exif.fNumber = std::pair(178, 100);
    exif.orientation = 6;
    return exif;
}

QString native(const QTemporaryDir& dir, const char* name)
{
    return QDir::toNativeSeparators(dir.filePath(QString::fromUtf8(name)));
}

} // namespace

TEST(PhotoImportHeif, MixedFolderListsEachGroupInOrderAndReadsFilesByContent)
{
    QTemporaryDir dir;
    const QImage sensor = TestUtil::samplePicture(160, 120, 4); // stored landscape, shown portrait
    const TestUtil::Heif sideways{.orientation = 6, .exif = phone()};
    TestUtil::writeHeif(dir.filePath(QStringLiteral("IMG_0002.HEIC")), sensor, sideways);
    TestUtil::writeHeif(dir.filePath(QStringLiteral("IMG_0001.heic")), sensor, sideways);
    TestUtil::writeHeif(dir.filePath(QStringLiteral("camera.HIF")), sensor, {.bits = 10});
    TestUtil::writeHeif(dir.filePath(QStringLiteral("still.heif")), sensor);
    TestUtil::writeHeif(dir.filePath(QStringLiteral("web.AVIF")), sensor, {.av1 = true});
    // A HEIC saved under a JPEG name, and a JPEG under a HEIC name.
    TestUtil::writeHeif(dir.filePath(QStringLiteral("renamed.jpg")), sensor, sideways);
    TestUtil::Exif jpegExif = phone();
    TestUtil::writeJpeg(dir.filePath(QStringLiteral("converted.heic")), 160, 120, jpegExif);
    TestUtil::writeJpeg(dir.filePath(QStringLiteral("DSC_0001.JPG")), 160, 120, jpegExif);
    TestUtil::writeJpeg(dir.filePath(QStringLiteral("scan.jpeg")), 160, 120);
    // A Live Photo's movie and a sidecar beside the photos are not listed.
    TestUtil::writeAll(dir.filePath(QStringLiteral("IMG_0001.MOV")), "movie");
    TestUtil::writeAll(dir.filePath(QStringLiteral("IMG_0001.AAE")), "<plist/>");

    const QStringList expected{
        native(dir, "DSC_0001.JPG"),   native(dir, "renamed.jpg"),   native(dir, "scan.jpeg"),
        native(dir, "converted.heic"), native(dir, "IMG_0001.heic"), native(dir, "IMG_0002.HEIC"),
        native(dir, "still.heif"),     native(dir, "camera.HIF"),    native(dir, "web.AVIF")};
    EXPECT_EQ(PhotoImport::listPhotoFiles(dir.path()), expected);

    const ImportResult result = PhotoImport::run(dir.path());
    ASSERT_EQ(result.rows.size(), expected.size());
    EXPECT_EQ(result.failed, 0);
    EXPECT_TRUE(result.problems.isEmpty());
    const PhotoRow& jpegRow = result.rows[0]; // EXIF orientation 6: the list turns it
    EXPECT_EQ(jpegRow.rotation, 2);
    for (const int i : {1, 4, 5}) { // HEIC photos, turned by their own file
        const PhotoRow& row = result.rows[i];
        SCOPED_TRACE(row.fileName.toStdString());
        EXPECT_EQ(row.rotation, 0);
        EXPECT_EQ(row.image.size(), QSize(68, 90));
        EXPECT_EQ(row.picture.size(), QSize(68, 90));
        // The same texts a JPEG with the same values gives.
        EXPECT_EQ(row.model, jpegRow.model);
        EXPECT_EQ(row.dateTime, jpegRow.dateTime);
        EXPECT_EQ(row.tv, jpegRow.tv);
        EXPECT_EQ(row.av, jpegRow.av);
        // Upright: the stored picture turned a quarter clockwise, as the JPEG's list picture is.
        const QImage upright = sensor.transformed(QTransform().rotate(90)).scaled(68, 90);
        EXPECT_NEAR(qRed(row.image.toImage().pixel(5, 80)), qRed(upright.pixel(5, 80)), 24);
        EXPECT_NEAR(qGreen(row.image.toImage().pixel(60, 5)), qGreen(upright.pixel(60, 5)), 24);
    }
    EXPECT_EQ(result.rows[3].rotation, 2); // a JPEG named .heic is a JPEG
    for (const int i : {6, 7, 8}) {
        SCOPED_TRACE(result.rows[i].fileName.toStdString());
        EXPECT_EQ(result.rows[i].image.size(), QSize(120, 90));
        EXPECT_EQ(result.rows[i].model, ShootingText::Unknown);
    }
}

TEST(PhotoImportHeif, TheLimitCountsEveryKindAndBrokenFilesAreReported)
{
    QTemporaryDir dir;
    for (int i = 0; i < 997; ++i)
        TestUtil::writeAll(dir.filePath(QStringLiteral("p%1.jpg").arg(i, 4, 10, QLatin1Char('0'))), {});
    for (const char* name : {"a.heic", "b.avif", "c.hif"})
        TestUtil::writeAll(dir.filePath(QString::fromUtf8(name)), {});
    const QStringList listed = PhotoImport::listPhotoFiles(dir.path());
    ASSERT_EQ(listed.size(), 999);
    EXPECT_EQ(listed.last(), native(dir, "c.hif")); // "*.hif" is listed before "*.avif", which is left out

    QTemporaryDir broken;
    const QByteArray whole = TestUtil::readAll(
        TestUtil::writeHeif(broken.filePath(QStringLiteral("whole.heic")), TestUtil::samplePicture(96, 64)));
    TestUtil::writeAll(broken.filePath(QStringLiteral("cut.heic")), whole.left(whole.size() * 2 / 3));
    TestUtil::writeAll(broken.filePath(QStringLiteral("text.avif")), "not a picture at all\n");
    const ImportResult result = PhotoImport::run(broken.path());
    ASSERT_EQ(result.rows.size(), 3);
    ASSERT_EQ(result.problems.size(), 2);
    EXPECT_EQ(result.problems[0].fileName, QStringLiteral("cut.heic"));
    EXPECT_EQ(result.problems[0].finding.problem, PhotoCheck::Problem::Damaged);
    EXPECT_EQ(result.problems[1].fileName, QStringLiteral("text.avif"));
    EXPECT_EQ(result.problems[1].finding.problem, PhotoCheck::Problem::NotJpeg);
}
