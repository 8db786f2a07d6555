// SPDX-License-Identifier: MIT
// "Lumivert.bin" and "Lumivert.ini" are replaced whole: a save that fails half-way (full disk,
// a write that stops at a size limit) leaves the previous file intact and readable.
#include <gtest/gtest.h>

#include <QScopeGuard>
#include <QTemporaryDir>

#include "app/cprivateprofile.h"
#include "catalogue/photolistfile.h"
#include "components/imaging.h"
#include "components/listpicture.h"
#include "components/photolistmodel.h"
#include "components/sheetfile.h"
#include "reliabilityutil.h"

namespace {

PhotoRow sampleRow(int i, int side)
{
    PhotoRow row;
    row.image = TestUtil::samplePicture(side, side * 3 / 4, i);
    row.picture = row.image;
    row.pathName = QStringLiteral("/photos/%1.jpg").arg(i);
    row.fileName = QStringLiteral("%1.jpg").arg(i);
    row.caption = QStringLiteral("caption %1").arg(i);
    return row;
}

// The rows as a load from folder gives them: each names the file of its name there.
QVector<PhotoRow> inFolder(QVector<PhotoRow> rows, const QString& folder)
{
    for (PhotoRow& row : rows)
        row.pathName = QDir::toNativeSeparators(QDir(folder).filePath(row.fileName));
    return rows;
}

void fillModel(PhotoListModel& model, int count, int side)
{
    QVector<PhotoRow> rows;
    for (int i = 1; i <= count; ++i)
        rows << sampleRow(i, side);
    model.setRows(rows);
}

}  // namespace

// The two ways a save is made to fail half-way; the old file must survive both.
enum class Fault { FullDisk, SizeLimit };

class AtomicSave : public ::testing::TestWithParam<Fault>
{
protected:
    QTemporaryDir dir;
    QString folder;
    std::unique_ptr<Reliability::TinyDisk> disk;
    std::unique_ptr<Reliability::FileSizeLimit> limit;

    void SetUp() override
    {
        folder = dir.filePath(QStringLiteral("photos"));
        QDir().mkpath(folder);
        if (GetParam() == Fault::FullDisk) {
            disk = std::make_unique<Reliability::TinyDisk>(folder, 256 * 1024);
            if (!disk->mounted())
                GTEST_SKIP() << "mounting a tmpfs is not permitted here; the size-limit case covers the fault";
        }
    }
    // Starts the fault: from now on a large write cannot complete.
    void inject()
    {
        if (GetParam() == Fault::FullDisk)
            disk->fill();
        else
            limit = std::make_unique<Reliability::FileSizeLimit>(20 * 1024);
        if (limit) {
            ASSERT_TRUE(limit->ok());
        }
    }
    void lift() { limit.reset(); }
};

TEST_P(AtomicSave, ListFileSurvivesAFailedSave)
{
    PhotoListModel old;
    fillModel(old, 2, 40);
    ASSERT_TRUE(PhotoListFile::save(old, folder, {100, 200}));
    const QString path = PhotoListFile::path(folder);
    const QByteArray oldBytes = TestUtil::readAll(path);
    ASSERT_LT(oldBytes.size(), 20 * 1024);

    PhotoListModel bigger;
    fillModel(bigger, 40, 120);  // noisy thumbnails: far more than the room left
    inject();
    QString error;
    EXPECT_FALSE(PhotoListFile::save(bigger, folder, {300}, &error));
    lift();
    EXPECT_FALSE(error.isEmpty());

    EXPECT_EQ(TestUtil::readAll(path), oldBytes);
    PhotoListModel back;
    QList<int> widths;
    ASSERT_TRUE(PhotoListFile::load(back, folder, &widths));
    EXPECT_EQ(back.rows(), inFolder(old.rows(), folder));
    EXPECT_EQ(widths, (QList<int>{100, 200}));
    // No temporary file is left beside the list.
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral("zz-filler"));
    EXPECT_EQ(names, QStringList{QStringLiteral("Lumivert.bin")});
}

TEST_P(AtomicSave, SettingsFileSurvivesAFailedWrite)
{
    const QString ini = QDir(folder).filePath(QStringLiteral("Lumivert.ini"));
    const CPrivateProfile profile;
    ASSERT_NE(profile.SetValueString(ini, QStringLiteral("Main"), QStringLiteral("Top"), QStringLiteral("120")), 0);
    ASSERT_NE(profile.SetValueString(ini, QStringLiteral("Folder"), QStringLiteral("Folder"), QStringLiteral("/p")), 0);
    // Many keys make the file larger than the room the fault leaves.
    for (int i = 1; i <= 1500; ++i)
        ASSERT_NE(profile.SetValueString(ini, QStringLiteral("Pad"), QStringLiteral("K%1").arg(i),
                                         QString(12, QLatin1Char('v'))),
                  0);
    const QByteArray oldBytes = TestUtil::readAll(ini);
    ASSERT_GT(oldBytes.size(), 20 * 1024);

    inject();
    if (GetParam() == Fault::SizeLimit) {
        // The file is already above the limit: every rewrite stops half-way.
        EXPECT_EQ(profile.SetValueString(ini, QStringLiteral("Main"), QStringLiteral("Top"), QStringLiteral("7")), 0);
    } else {
        // A full disk: a rewrite that grows the file cannot finish.
        EXPECT_EQ(profile.SetValueString(ini, QStringLiteral("Main"), QStringLiteral("Left"),
                                         QString(100, QLatin1Char('w'))),
                  0);
    }
    lift();
    EXPECT_EQ(TestUtil::readAll(ini), oldBytes);
    EXPECT_EQ(profile.GetValueLong(ini, QStringLiteral("Main"), QStringLiteral("Top")), 120);
    EXPECT_EQ(profile.GetValueString(ini, QStringLiteral("Folder"), QStringLiteral("Folder")), QStringLiteral("/p"));
}

TEST_P(AtomicSave, ImageSaveLeavesNoPartialFile)
{
    const QString target = QDir(folder).filePath(QStringLiteral("page001.jpg"));
    ASSERT_TRUE(Imaging::save(TestUtil::samplePicture(32, 24), target, Imaging::SaveKind::BaselineJpeg, 75));
    const QByteArray oldBytes = TestUtil::readAll(target);
    inject();
    EXPECT_FALSE(Imaging::save(TestUtil::samplePicture(1200, 900, 3), target, Imaging::SaveKind::BaselineJpeg, 100));
    lift();
    EXPECT_EQ(TestUtil::readAll(target), oldBytes);
    EXPECT_EQ(Reliability::strayFiles(folder), (GetParam() == Fault::FullDisk ? QStringList{"zz-filler"} : QStringList{}));
}

// The list's pictures live in a spool file; when its disk fills, the pictures that no longer fit
// stay in memory, and every picture, spooled or not, reads back and saves whole.
TEST_P(AtomicSave, ListPicturesSurviveAFullSpool)
{
    PictureSpool::setFolder(QDir(folder).filePath(QStringLiteral("spool")));
    const auto restore = qScopeGuard([] { PictureSpool::setFolder(QString()); });
    QVector<PhotoRow> rows;
    rows << sampleRow(0, 120); // spooled before the fault
    inject();
    for (int i = 1; i <= 30; ++i)
        rows << sampleRow(i, 120);
    lift();
    EXPECT_GT(PictureSpool::statistics().memoryPictures, 0) << "the fault reached the spool";
    for (int i = 0; i < rows.size(); ++i) {
        const QImage expected = TestUtil::samplePicture(120, 90, i);
        EXPECT_EQ(rows[i].image.toImage(), expected) << i;
        EXPECT_EQ(rows[i].picture, rows[i].image) << i;
    }
    // The list file goes beside the fault's folder, where there is room.
    if (disk)
        disk.reset();
    PhotoListModel model;
    model.setRows(rows);
    const QString saved = dir.filePath(QStringLiteral("saved"));
    QDir().mkpath(saved);
    ASSERT_TRUE(PhotoListFile::save(model, saved, {}));
    PhotoListModel loaded;
    ASSERT_TRUE(PhotoListFile::load(loaded, saved));
    EXPECT_EQ(loaded.rows(), inFolder(model.rows(), saved));
}

INSTANTIATE_TEST_SUITE_P(Faults, AtomicSave, ::testing::Values(Fault::FullDisk, Fault::SizeLimit),
                         [](const auto& info) {
                             return std::string(info.param == Fault::FullDisk ? "FullDisk" : "SizeLimit");
                         });

// A damaged, truncated or foreign list file is refused whole; the model stays as it was.
TEST(ListFileRefused, DamagedTruncatedOrForeignFilesLeaveTheModelAsItWas)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    PhotoListModel saved;
    fillModel(saved, 3, 24);
    ASSERT_TRUE(PhotoListFile::save(saved, folder, {1, 2, 3}));
    const QByteArray good = TestUtil::readAll(PhotoListFile::path(folder));

    PhotoListModel model;
    fillModel(model, 2, 16);
    PhotoRow marker = model.photoAt(1);
    marker.caption = QStringLiteral("the list as it was");
    model.setPhotoAt(1, marker);
    const QVector<PhotoRow> before = model.rows();

    QList<std::pair<std::string, QByteArray>> cases;
    for (qsizetype cut = 0; cut < good.size(); cut += qMax<qsizetype>(1, good.size() / 97))
        cases.append({"cut at " + std::to_string(cut), good.left(cut)});
    for (qsizetype at = 0; at < good.size(); at += qMax<qsizetype>(1, good.size() / 61)) {
        QByteArray flipped = good;
        flipped[at] = char(flipped[at] ^ 0x10);
        cases.append({"bit flipped at " + std::to_string(at), flipped});
    }
    cases.append({"appended byte", good + '\0'});
    cases.append({"empty", QByteArray()});
    cases.append({"a JPEG", TestUtil::readAll(TestUtil::writeJpeg(dir.filePath(QStringLiteral("x.jpg")), 8, 8))});
    cases.append({"text", QByteArray("[Main]\r\nTop=1\r\n")});
    QByteArray newer = good;
    newer[11] = char(newer[11] + 1);  // the version's low byte
    cases.append({"newer version", newer});
    cases.append({"random", QByteArray(4096, '\x5a')});

    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        TestUtil::writeAll(PhotoListFile::path(folder), bytes);
        QList<int> widths{42};
        QString error;
        EXPECT_FALSE(PhotoListFile::load(model, folder, &widths, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(widths, QList<int>{42});
        ASSERT_EQ(model.rows(), before);
    }
    // The intact file still loads.
    TestUtil::writeAll(PhotoListFile::path(folder), good);
    ASSERT_TRUE(PhotoListFile::load(model, folder));
    EXPECT_EQ(model.rows(), inFolder(saved.rows(), folder));
}

// Small files on a full disk: the whole new content fits the write buffer, so the failure only
// shows when it is flushed. Qt 6.4's QSaveFile::commit() then reports success and renames an
// empty file over the old one unless the writer flushes and checks first.
TEST(AtomicSaveSmallFiles, FullDiskAtTheFinalFlush)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("disk"));
    Reliability::TinyDisk disk(folder, 128 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";

    const QString ini = QDir(folder).filePath(QStringLiteral("Lumivert.ini"));
    const CPrivateProfile profile;
    ASSERT_NE(profile.SetValueString(ini, QStringLiteral("Main"), QStringLiteral("Top"), QStringLiteral("120")), 0);
    PhotoListModel list;
    PhotoRow row;
    row.pathName = QStringLiteral("/p/a.jpg");
    row.caption = QStringLiteral("old");
    list.setRows({row});
    ASSERT_TRUE(PhotoListFile::save(list, folder, {}));
    const QString jpeg = QDir(folder).filePath(QStringLiteral("index001.jpg"));
    ASSERT_TRUE(Imaging::save(TestUtil::samplePicture(8, 8), jpeg, Imaging::SaveKind::BaselineJpeg, 50));
    const QString gif = QDir(folder).filePath(QStringLiteral("background.gif"));
    ASSERT_TRUE(Imaging::save(TestUtil::samplePicture(8, 8), gif, Imaging::SaveKind::Gif));
    const QStringList files = {ini, PhotoListFile::path(folder), jpeg, gif};
    QList<QByteArray> old;
    for (const QString& f : files)
        old << TestUtil::readAll(f);
    disk.fill();

    EXPECT_EQ(profile.SetValueString(ini, QStringLiteral("Main"), QStringLiteral("Left"), QStringLiteral("5")), 0);
    row.caption = QStringLiteral("new");
    list.setRows({row, row});
    EXPECT_FALSE(PhotoListFile::save(list, folder, {}));
    EXPECT_FALSE(Imaging::save(TestUtil::samplePicture(9, 9), jpeg, Imaging::SaveKind::BaselineJpeg, 50));
    EXPECT_FALSE(Imaging::save(TestUtil::samplePicture(9, 9), gif, Imaging::SaveKind::Gif));
    for (int i = 0; i < files.size(); ++i)
        EXPECT_EQ(TestUtil::readAll(files[i]), old[i]) << files[i].toStdString();
    EXPECT_EQ(profile.GetValueLong(ini, QStringLiteral("Main"), QStringLiteral("Top")), 120);
    PhotoListModel back;
    ASSERT_TRUE(PhotoListFile::load(back, folder));
    EXPECT_EQ(back.photoAt(1).caption, QStringLiteral("old"));
}
