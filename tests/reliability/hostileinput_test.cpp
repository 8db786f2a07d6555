// SPDX-License-Identifier: MIT
// Hostile input: decompression bombs, EXIF with loops and impossible counts and offsets, odd file
// names, a crowded folder, a huge garbage settings file, giant templates. Nothing crashes; each gets
// its documented or a clear outcome. Peak memory of the bombs is printed.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/cprivateprofile.h"
#include "catalogue/cgetfiles.h"
#include "catalogue/photoimport.h"
#include "components/imaging.h"
#include "generate/basresoutprn.h"
#include "reliabilityutil.h"

namespace
{

// A small real JPEG whose frame header is patched to claim width x height.
QByteArray jpegClaiming(int width, int height, bool progressive = false)
{
    QTemporaryDir dir;
    QByteArray bytes = TestUtil::readAll(
        TestUtil::writeJpeg(dir.filePath(QStringLiteral("s.jpg")), 16, 16, std::nullopt, progressive));
    const qsizetype sof = bytes.indexOf(QByteArray(progressive ? "\xFF\xC2" : "\xFF\xC0", 2));
    if (sof < 0)
        return {};
    qToBigEndian<quint16>(quint16(height), bytes.data() + sof + 5);
    qToBigEndian<quint16>(quint16(width), bytes.data() + sof + 7);
    return bytes;
}

// A GIF whose logical screen is width x height, holding one 1 x 1 frame.
QByteArray gifClaiming(int width, int height)
{
    QByteArray g("GIF89a");
    char le[2];
    qToLittleEndian<quint16>(quint16(width), le);
    g.append(le, 2);
    qToLittleEndian<quint16>(quint16(height), le);
    g.append(le, 2);
    g.append("\x80\x00\x00", 3); // global colour table of 2 entries
    g.append("\x00\x00\x00\xff\xff\xff", 6);
    g.append("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10); // one 1 x 1 frame at 0,0
    g.append("\x02\x02\x44\x01\x00", 5);                      // LZW: clear, pixel 0, end
    g.append(';');
    return g;
}

long currentRssKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

struct Measured {
    bool finished = false; // the child ended by itself within the time allowed
    int exitCode = -1;     // 0 refused, 1 decoded, other: crashed
    double extraMiB = 0;   // the child's peak resident memory above what it started with
    double seconds = 0;
};

// Loads the file in a child process, so its peak memory is its own and a crash or hang is caught.
Measured loadInChild(const QString& path, QSize box)
{
    Measured m;
    const long startKb = currentRssKb();
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const Imaging::LoadResult r = Imaging::load(path, box);
        _exit(r.ok() ? 1 : 0);
    }
    int status = 0;
    rusage usage{};
    while (timer.elapsed() < 60000) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) {
            m.finished = true;
            break;
        }
        usleep(2000);
    }
    if (!m.finished) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
    }
    m.seconds = timer.elapsed() / 1000.0;
    m.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m.extraMiB = qMax(0.0, double(usage.ru_maxrss - startKb) / 1024.0);
    return m;
}

} // namespace

struct Bomb {
    const char* name;
    QByteArray (*make)();
    bool fullSize;          // loaded without a fit box, as a background image is
    double maxExtraMiB;     // memory the load may take
    bool mayDecode = false; // a real (if odd) picture: decoding it is fine, within the memory bound
};

class DecompressionBomb : public ::testing::TestWithParam<Bomb>
{
};

TEST_P(DecompressionBomb, RefusedQuicklyWithBoundedMemory)
{
    const Bomb& bomb = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bomb"));
    const QByteArray bytes = bomb.make();
    ASSERT_FALSE(bytes.isEmpty());
    TestUtil::writeAll(path, bytes);

    // In this process first: a clear failure, no crash.
    const Imaging::LoadResult here = Imaging::load(path, bomb.fullSize ? QSize() : QSize(120, 90));
    if (!bomb.mayDecode) {
        EXPECT_FALSE(here.ok());
        EXPECT_FALSE(here.error.isEmpty());
    }

    const Measured m = loadInChild(path, bomb.fullSize ? QSize() : QSize(120, 90));
    std::printf("[ bomb     ] %-32s %6lld bytes: %s in %.2f s, peak memory +%.1f MiB\n", bomb.name,
                static_cast<long long>(bytes.size()),
                !m.finished       ? "HANG"
                : m.exitCode == 0 ? "refused"
                : m.exitCode == 1 ? "decoded"
                                  : "CRASHED",
                m.seconds, m.extraMiB);
    ::testing::Test::RecordProperty("peak_extra_mib", QByteArray::number(m.extraMiB, 'f', 1).toStdString());
    EXPECT_TRUE(m.finished) << "no result within 60 s";
    EXPECT_LT(m.exitCode, bomb.mayDecode ? 2 : 1) << "0 refused, 1 decoded, above: killed by a signal";
    EXPECT_LT(m.extraMiB, bomb.maxExtraMiB);
}

INSTANTIATE_TEST_SUITE_P(
    Bombs, DecompressionBomb,
    ::testing::Values(Bomb{"jpeg_65000x65000_thumbnail", [] { return jpegClaiming(65000, 65000); }, false, 64},
                      Bomb{"jpeg_65000x65000_full", [] { return jpegClaiming(65000, 65000); }, true, 64},
                      Bomb{"jpeg_65000x1_thumbnail", [] { return jpegClaiming(65000, 1); }, false, 64, true},
                      Bomb{"jpeg_15000x15000_thumbnail", [] { return jpegClaiming(15000, 15000); }, false, 64, true},
                      Bomb{"jpeg_15000x15000_full", [] { return jpegClaiming(15000, 15000); }, true, 64},
                      // A progressive file holds all its coefficients at full size, whatever the scale.
                      Bomb{"jpeg_progressive_15000x15000_thumbnail", [] { return jpegClaiming(15000, 15000, true); },
                           false, 64},
                      Bomb{"gif_65535x65535_thumbnail", [] { return gifClaiming(65535, 65535); }, false, 64},
                      Bomb{"gif_65535x65535_full", [] { return gifClaiming(65535, 65535); }, true, 64},
                      Bomb{"gif_20000x12000_thumbnail", [] { return gifClaiming(20000, 12000); }, false, 64}),
    [](const auto& info) { return std::string(info.param.name); });

namespace
{

// A TIFF block (little-endian) for an APP1 "Exif" segment, built entry by entry.
struct Tiff {
    QByteArray bytes{"II*\0\x08\0\0\0", 8};
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        bytes.append(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        bytes.append(b, 4);
    }
    void entry(quint16 tag, quint16 type, quint32 count, quint32 valueOrOffset)
    {
        u16(tag);
        u16(type);
        u32(count);
        u32(valueOrOffset);
    }
};

QByteArray withExif(const QByteArray& tiff)
{
    QTemporaryDir dir;
    const QByteArray jpeg = TestUtil::readAll(TestUtil::writeJpeg(dir.filePath(QStringLiteral("e.jpg")), 24, 16));
    QByteArray app1("\xFF\xE1", 2);
    char len[2];
    qToBigEndian<quint16>(quint16(2 + 6 + tiff.size()), len);
    app1.append(len, 2);
    app1.append(QByteArray("Exif\0\0", 6));
    app1.append(tiff);
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

} // namespace

TEST(HostileExif, LoopsHugeCountsAndOffsetsBeyondTheFile)
{
    QList<std::pair<const char*, QByteArray>> cases;
    {
        Tiff t; // IFD0 whose next-IFD pointer is itself
        t.u16(1);
        t.entry(0x010F, 2, 4, 0x00414141); // Make "AAA"
        t.u32(8);
        cases.append({"IFD0 pointing at itself", t.bytes});
    }
    {
        Tiff t; // Exif IFD pointer back at IFD0, Exif IFD's own pointer at IFD0 again
        t.u16(2);
        t.entry(0x010F, 2, 4, 0x00424242);
        t.entry(0x8769, 4, 1, 8);
        t.u32(8);
        cases.append({"Exif IFD is IFD0", t.bytes});
    }
    {
        Tiff t; // counts that overflow any buffer
        t.u16(3);
        t.entry(0x010F, 2, 0xFFFFFFFF, 26);
        t.entry(0x0110, 7, 0x7FFFFFFF, 26);
        t.entry(0x829A, 5, 0x40000000, 26);
        t.u32(0);
        cases.append({"huge counts", t.bytes});
    }
    {
        Tiff t; // offsets far beyond the end of the file
        t.u16(3);
        t.entry(0x010F, 2, 64, 0x7FFFFFF0);
        t.entry(0x8769, 4, 1, 0xFFFFFFF0);
        t.entry(0x0132, 2, 20, 0x00100000);
        t.u32(0x7FFFFFFF);
        cases.append({"offsets beyond the file", t.bytes});
    }
    {
        Tiff t; // an entry count promising far more entries than there are
        t.u16(0xFFFF);
        t.entry(0x010F, 2, 4, 0x00434343);
        cases.append({"entry count beyond the file", t.bytes});
    }
    {
        Tiff t; // a chain of IFDs, each pointing at the next, then back at the first
        for (int i = 0; i < 3; ++i) {
            t.u16(1);
            t.entry(0x010F, 2, 4, 0x00444444);
            t.u32(i < 2 ? quint32(t.bytes.size() + 4) : 8);
        }
        cases.append({"IFD chain looping back", t.bytes});
    }
    cases.append({"header only", QByteArray("II*\0\xff\xff\xff\x7f", 8)});
    cases.append({"big-endian garbage", QByteArray("MM\0*", 4) + QByteArray(200, '\xff')});

    QTemporaryDir dir;
    for (const auto& [name, tiff] : cases) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QStringLiteral("exif.jpg"));
        TestUtil::writeAll(path, withExif(tiff));
        QElapsedTimer timer;
        timer.start();
        const Imaging::ShootingInfo info = Imaging::readShootingInfo(path);
        const Imaging::Photo photo = Imaging::loadPhoto(path, QSize(120, 90));
        // The pixels are fine whatever the EXIF says; the texts are whatever could be read.
        EXPECT_TRUE(photo.load.ok());
        EXPECT_EQ(photo.info.hasInfo, info.hasInfo);
        EXPECT_LE(info.maker.size(), 64);
        // A photo still becomes a row, with "不明" where nothing could be read.
        const PhotoRow row = PhotoImport::readPhotoRow(path);
        EXPECT_FALSE(row.picture.isNull());
        std::printf("[ exif     ] %-28s hasInfo=%d maker=\"%s\" %lld ms\n", name, int(info.hasInfo),
                    qPrintable(info.maker), static_cast<long long>(timer.elapsed()));
    }
}

TEST(HostileNames, SpacesJapaneseMarksAngleBracketsAndQuotes)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("a b &&<\"'写真"));
    QDir().mkpath(folder);
    const QStringList names = {QStringLiteral(" leading space.jpg"), QStringLiteral("写真 一.jpg"),
                               QStringLiteral("a&&b.jpg"),           QStringLiteral("<script>.jpg"),
                               QStringLiteral("\"quoted\".jpg"),     QStringLiteral("it's.JPG"),
                               QStringLiteral("semi;colon%20.jpeg")};
    for (int i = 0; i < names.size(); ++i)
        TestUtil::writeJpeg(QDir(folder).filePath(names[i]), 40, 30, std::nullopt, false, i);
    const ImportResult result = PhotoImport::run(folder);
    ASSERT_EQ(result.rows.size(), names.size());
    EXPECT_EQ(result.failed, 0);
    QStringList got;
    for (const PhotoRow& row : result.rows) {
        got << row.fileName;
        EXPECT_EQ(row.pathName, QDir(folder).filePath(row.fileName));
        EXPECT_FALSE(row.picture.isNull()) << row.fileName.toStdString();
    }
    QStringList want = names;
    std::sort(want.begin(), want.end(), [](const QString& a, const QString& b) {
        // "*.jpg" first, then "*.jpeg", each in case-insensitive order
        const bool ja = a.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive);
        const bool jb = b.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive);
        if (ja != jb)
            return jb;
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(got, want);
}

TEST(HostileFolder, FiveThousandFilesImportAtMost999)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("crowd"));
    QDir().mkpath(folder);
    const QByteArray jpeg = TestUtil::readAll(TestUtil::writeJpeg(dir.filePath(QStringLiteral("one.jpg")), 12, 9));
    for (int i = 0; i < 5000; ++i) {
        // Mostly photos, some other files and a few that only look like photos.
        const QString name = i % 10 == 9   ? QStringLiteral("note%1.txt").arg(i, 4, 10, QLatin1Char('0'))
                             : i % 50 == 7 ? QStringLiteral("broken%1.jpg").arg(i, 4, 10, QLatin1Char('0'))
                                           : QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        TestUtil::writeAll(QDir(folder).filePath(name), name.startsWith(QLatin1String("broken")) ? "junk" : jpeg);
    }
    CGetFiles files;
    ASSERT_TRUE(files.GetFiles(folder, QStringLiteral("*.jpg")));
    EXPECT_EQ(files.Record().Count(), 999);
    const QStringList listed = PhotoImport::listPhotoFiles(folder);
    ASSERT_EQ(listed.size(), 999);
    const ImportResult result = PhotoImport::run(folder);
    ASSERT_EQ(result.rows.size(), 999);
    EXPECT_EQ(result.failed, 100); // broken0007 .. broken4957 all sort before IMG_
    for (int i = 0; i < result.rows.size(); ++i)
        ASSERT_EQ(result.rows[i].pathName, listed[i]) << i;
}

TEST(HostileSettings, TenMegabytesOfGarbage)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Lumivert.ini"));
    QByteArray garbage(10 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator rng(7);
    const char alphabet[] = "[]=;\r\n\0 \xff\xe3MainTopFolder0123456789-";
    for (char& c : garbage)
        c = alphabet[rng.bounded(int(sizeof(alphabet) - 1))];
    TestUtil::writeAll(ini, garbage);
    const CPrivateProfile profile;
    QElapsedTimer timer;
    timer.start();
    const qint32 top = profile.GetValueLong(ini, QStringLiteral("Main"), QStringLiteral("Top"));
    const QString folder = profile.GetValueString(ini, QStringLiteral("Folder"), QStringLiteral("Folder"));
    EXPECT_LE(QByteArray(folder.toUtf8()).size(), CPrivateProfile::MaxValueBytes);
    EXPECT_GE(top, -1 - 0x7FFFFFFF);
    // A write still lands and reads back; the rest of the file stays as it was.
    ASSERT_NE(profile.SetValueString(ini, QStringLiteral("Lumivert Test"), QStringLiteral("Key"), QStringLiteral("v")),
              0);
    EXPECT_EQ(profile.GetValueString(ini, QStringLiteral("Lumivert Test"), QStringLiteral("Key")), QStringLiteral("v"));
    EXPECT_TRUE(TestUtil::readAll(ini).startsWith(garbage.left(1 << 20)));
    std::printf("[ settings ] 10 MiB of garbage: three calls in %lld ms\n", static_cast<long long>(timer.elapsed()));

    // Binary garbage without a single line break.
    TestUtil::writeAll(ini, QByteArray(10 * 1024 * 1024, '\xff'));
    EXPECT_EQ(profile.GetValueLong(ini, QStringLiteral("Main"), QStringLiteral("Top")), -1);
    EXPECT_EQ(profile.GetValueString(ini, QStringLiteral("Main"), QStringLiteral("Top")), QString());
}

TEST(HostileTemplate, HundredThousandLinesAndAMegabyteLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumivert.fmt"));
    QByteArray text = "SimpleTop\r\n";
    for (int i = 0; i < 100000; ++i)
        text += QByteArray::number(i % 50 + 1).rightJustified(3, '0') + " 0<p>line " + QByteArray::number(i) +
                " &&</p>\r\n";
    text += "End\r\nSimpleIndex\r\n001 0" + QByteArray(1 << 20, 'x') + "&&\r\n' " + QByteArray(1 << 20, '\'') +
            "\r\nEnd\r\n";
    text += "SimplePage\r\n001 0" + QByteArray(1 << 20, '&') + "\r\n"; // no End: refused
    TestUtil::writeAll(path, text);

    QElapsedTimer timer;
    timer.start();
    const auto top = basResOutPrn::readFormatSectionFile(path, QStringLiteral("SimpleTop"));
    ASSERT_TRUE(top.has_value());
    EXPECT_EQ(top->count, 100000);
    EXPECT_EQ(top->text(50), QStringLiteral("<p>line 99999 &&</p>"));
    const auto index = basResOutPrn::readFormatSectionFile(path, QStringLiteral("SimpleIndex"));
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(index->count, 1);
    EXPECT_EQ(index->text(1).size(), (1 << 20) + 2);
    EXPECT_EQ(basResOutPrn::ReplaceMark(index->text(1), QStringLiteral("v")).size(), (1 << 20) + 1);
    QString error;
    EXPECT_FALSE(basResOutPrn::readFormatSectionFile(path, QStringLiteral("SimplePage"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
    // A mark-only line of a megabyte filled by a value holding marks.
    QString marks(1 << 20, QLatin1Char('&'));
    EXPECT_EQ(basResOutPrn::ReplaceMark(marks, QStringLiteral("&&")), marks);
    std::printf("[ template ] 100,000 lines and 1 MiB lines read in %lld ms\n",
                static_cast<long long>(timer.elapsed()));
}
