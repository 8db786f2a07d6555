// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "catalogue/photoimport.h"
#include "common/testutil.h"

namespace
{

using TestUtil::Exif;

Exif camera(const char* make, const char* model)
{
    Exif exif;
    exif.make = QString::fromUtf8(make);
    exif.model = QString::fromUtf8(model);
    return exif;
}

class PhotoImportTest : public testing::Test
{
protected:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QString jpeg(const QString& name, int w = 40, int h = 30, const std::optional<Exif>& exif = std::nullopt)
    {
        return TestUtil::writeJpeg(file(name), w, h, exif, false, int(name.size()));
    }
    QString native(const QString& name) const { return QDir::toNativeSeparators(file(name)); }
    QTemporaryDir m_dir;
};

TEST_F(PhotoImportTest, JpgFilesComeBeforeJpegFiles)
{
    jpeg(QStringLiteral("a.jpeg"));
    jpeg(QStringLiteral("z.jpg"));
    jpeg(QStringLiteral("M.JPG"));
    jpeg(QStringLiteral("写真 1.Jpeg"));
    TestUtil::writeAll(file(QStringLiteral("notes.txt")), "not a photo");
    EXPECT_EQ(PhotoImport::listPhotoFiles(m_dir.path()),
              (QStringList{native("M.JPG"), native("z.jpg"), native("a.jpeg"), native("写真 1.Jpeg")}));
    const ImportResult result = PhotoImport::run(m_dir.path());
    ASSERT_EQ(result.rows.size(), 4);
    EXPECT_EQ(result.rows[0].fileName, "M.JPG");
    EXPECT_EQ(result.rows[1].fileName, "z.jpg");
    EXPECT_EQ(result.rows[1].pathName, native("z.jpg"));
    EXPECT_EQ(result.rows[2].fileName, "a.jpeg");
    EXPECT_EQ(result.rows[3].fileName, "写真 1.Jpeg");
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.failed, 0);
}

TEST_F(PhotoImportTest, AThousandJpgFilesGive999RowsAndNoJpeg)
{
    const QByteArray tiny = TestUtil::readAll(jpeg(QStringLiteral("seed.tmp"), 16, 12));
    ASSERT_TRUE(QFile::remove(file(QStringLiteral("seed.tmp"))));
    for (int i = 0; i < 1000; ++i)
        TestUtil::writeAll(file(QStringLiteral("p%1.jpg").arg(i, 4, 10, QLatin1Char('0'))), tiny);
    TestUtil::writeAll(file(QStringLiteral("a.jpeg")), tiny);
    int calls = 0;
    const ImportResult result = PhotoImport::run(m_dir.path(), {}, [&calls](int i, int n) {
        ++calls;
        EXPECT_EQ(n, 999);
        EXPECT_EQ(i, calls);
    });
    ASSERT_EQ(result.rows.size(), 999);
    EXPECT_EQ(calls, 999);
    for (int i = 0; i < 999; ++i) {
        if (result.rows[i].fileName != QStringLiteral("p%1.jpg").arg(i, 4, 10, QLatin1Char('0'))) {
            ADD_FAILURE() << "row " << i + 1 << " holds " << result.rows[i].fileName.toStdString();
            break;
        }
    }
    EXPECT_EQ(result.rows.last().image.size(), QSize(120, 90));
    // What was left out is told: the last "*.jpg" and the "*.jpeg".
    EXPECT_EQ(result.leftOut, 2);
    EXPECT_EQ(result.firstLeftOut, QStringLiteral("p0999.jpg"));
    EXPECT_EQ(result.lastLeftOut, QStringLiteral("a.jpeg"));
}

TEST_F(PhotoImportTest, RowsCarryThumbnailPathAndShootingTexts)
{
    Exif first = camera("ABC", "ABC Shot 5");
    first.dateTimeOriginal = QStringLiteral("2004:03:05 12:00:00");
    first.exposureTime = std::pair{10, 1600};
    first.fNumber = std::pair{28, 10};
    jpeg(QStringLiteral("1.jpg"), 2048, 1536, first);
    Exif second = camera("XYZ", "Shot 7");
    second.dateTime = QStringLiteral("2005:12:31 23:59:58"); // no DateTimeOriginal: the fallback
    second.exposureTime = std::pair{3, 1000};
    second.fNumber = std::pair{0, 0};
    jpeg(QStringLiteral("2.jpg"), 1536, 2048, second);
    jpeg(QStringLiteral("3.jpg"), 60, 45); // no shooting information
    TestUtil::writeAll(file(QStringLiteral("4.jpg")), "this is not a JPEG");
    TestUtil::writeAll(file(QStringLiteral("5.jpg")), TestUtil::readAll(file(QStringLiteral("3.jpg"))).left(20));

    const ImportResult result = PhotoImport::run(m_dir.path());
    ASSERT_EQ(result.rows.size(), 5);
    EXPECT_EQ(result.failed, 2);
    struct Expected {
        QSize thumbnail;
        const char* model;
        const char* date;
        const char* tv;
        const char* av;
    } expected[] = {
        {{120, 90}, "ABC Shot 5", "2004/03/05 12:00:00", "1/160sec", "f2.8"},
        {{68, 90}, "XYZ Shot 7", "2005/12/31 23:59:58", "1/333sec", "不明"},
        {{120, 90}, "不明", "不明", "不明", "不明"},
        {{0, 0}, "不明", "不明", "不明", "不明"},
        {{0, 0}, "不明", "不明", "不明", "不明"},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i + 1);
        const PhotoRow& row = result.rows[i];
        EXPECT_EQ(row.fileName, QStringLiteral("%1.jpg").arg(i + 1));
        EXPECT_EQ(row.pathName, native(row.fileName));
        EXPECT_EQ(row.image.size(), expected[i].thumbnail);
        EXPECT_EQ(row.picture, row.image);
        EXPECT_EQ(row.model, QString::fromUtf8(expected[i].model));
        EXPECT_EQ(row.dateTime, QString::fromUtf8(expected[i].date));
        EXPECT_EQ(row.tv, QString::fromUtf8(expected[i].tv));
        EXPECT_EQ(row.av, QString::fromUtf8(expected[i].av));
        EXPECT_EQ(row.rotation, 0);
        EXPECT_TRUE(row.caption.isEmpty());
    }
}

TEST_F(PhotoImportTest, CancelIsSeenBeforeAPhotoAndEmptiesTheResult)
{
    for (int i = 1; i <= 4; ++i)
        jpeg(QStringLiteral("%1.jpg").arg(i));
    for (int k : {1, 2, 4}) {
        SCOPED_TRACE(k);
        std::stop_source stop;
        QVector<int> seen;
        const ImportResult result = PhotoImport::run(m_dir.path(), stop.get_token(), [&](int i, int n) {
            EXPECT_EQ(n, 4);
            seen << i;
            if (i == k)
                stop.request_stop();
        });
        EXPECT_TRUE(result.cancelled);
        EXPECT_TRUE(result.rows.isEmpty());
        EXPECT_EQ(result.failed, 0);
        QVector<int> expected;
        for (int i = 1; i <= k; ++i)
            expected << i;
        EXPECT_EQ(seen, expected) << "no photo is started once the stop is seen";
    }
    std::stop_source early;
    early.request_stop();
    EXPECT_TRUE(PhotoImport::run(m_dir.path(), early.get_token()).cancelled);
}

TEST_F(PhotoImportTest, MissingOrEmptyFolderGivesAnEmptyList)
{
    for (const QString& folder : {file(QStringLiteral("missing")), m_dir.path(), QString()}) {
        SCOPED_TRACE(folder.toStdString());
        int calls = 0;
        const ImportResult result = PhotoImport::run(folder, {}, [&calls](int, int) { ++calls; });
        EXPECT_TRUE(result.rows.isEmpty());
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(result.folderMissing, folder != m_dir.path());
        EXPECT_FALSE(result.folderUnreadable);
        EXPECT_EQ(result.leftOut, 0);
    }
}

TEST_F(PhotoImportTest, PhotosThatCannotBeReadKeepTheirRowsAndAreNamedWithTheReason)
{
    jpeg(QStringLiteral("a.jpg"), 320, 240);
    const QByteArray whole =
        TestUtil::readAll(TestUtil::writeJpeg(file(QStringLiteral("b.jpg")), 320, 240, {}, true, 2));
    // Cut inside the coded data: Qt decodes it, grey where the data is missing.
    TestUtil::writeAll(file(QStringLiteral("cut.jpg")), whole.left(whole.size() * 2 / 3));
    TestUtil::writeAll(file(QStringLiteral("empty.jpg")), {});
    TestUtil::writeAll(file(QStringLiteral("x.jpg")), "this is a text file\n");
    // A complete photo with bytes after its end marker is fine.
    TestUtil::writeAll(file(QStringLiteral("y.jpg")), whole + "trailer");

    const ImportResult result = PhotoImport::run(m_dir.path());
    ASSERT_EQ(result.rows.size(), 6);
    EXPECT_EQ(result.failed, 2);
    EXPECT_FALSE(result.rows[2].image.isNull()) << "a photo cut short keeps the thumbnail Qt made";
    EXPECT_EQ(result.rows[4].fileName, QStringLiteral("x.jpg"));
    EXPECT_EQ(result.rows[4].model, QStringLiteral("不明"));
    ASSERT_EQ(result.problems.size(), 3);
    EXPECT_EQ(result.problems[0].fileName, QStringLiteral("cut.jpg"));
    EXPECT_EQ(result.problems[0].finding.problem, PhotoCheck::Problem::Damaged);
    EXPECT_EQ(result.problems[1].fileName, QStringLiteral("empty.jpg"));
    EXPECT_EQ(result.problems[1].finding.problem, PhotoCheck::Problem::Empty);
    EXPECT_EQ(result.problems[2].fileName, QStringLiteral("x.jpg"));
    EXPECT_EQ(result.problems[2].finding.problem, PhotoCheck::Problem::NotJpeg);
}

TEST_F(PhotoImportTest, PhotosAreNeverWrittenAndReadOnlyFoldersWork)
{
    const QStringList photos = {jpeg(QStringLiteral("a b.jpg"), 320, 240, camera("ABC", "Shot")),
                                jpeg(QStringLiteral("写真.jpeg"), 240, 320)};
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    QVector<QByteArray> hashes;
    for (const QString& photo : photos) {
        QFile f(photo);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
        hashes << TestUtil::sha256(photo);
    }
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const ImportResult result = PhotoImport::run(m_dir.path());
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(result.rows.size(), 2);
    EXPECT_EQ(result.rows[1].image.size(), QSize(68, 90));
    for (int i = 0; i < photos.size(); ++i) {
        SCOPED_TRACE(photos[i].toStdString());
        EXPECT_EQ(TestUtil::sha256(photos[i]), hashes[i]);
        EXPECT_EQ(QFileInfo(photos[i]).lastModified().toUTC().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "nothing is written beside them";
}

} // namespace
