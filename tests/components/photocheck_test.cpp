// SPDX-License-Identifier: MIT
// Telling a user why a photo cannot be shown: a JPEG cut short (which Qt decodes with grey
// filling), a file that is no image, an empty or missing file.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/testutil.h"
#include "components/imaging.h"
#include "components/photocheck.h"

using PhotoCheck::JpegEnd;
using PhotoCheck::Problem;

TEST(PhotoCheck, JpegCutAnywhereIsCutShortAndDataAfterItsEndIsNot)
{
    QTemporaryDir dir;
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        const QByteArray whole =
            TestUtil::readAll(TestUtil::writeJpeg(dir.filePath(QStringLiteral("p.jpg")), 320, 240, {}, progressive, 3));
        EXPECT_EQ(PhotoCheck::jpegEnd(whole), JpegEnd::Complete);
        // A camera's trailer after the end-of-image marker is no damage.
        EXPECT_EQ(PhotoCheck::jpegEnd(whole + QByteArray(100, '\0') + "TRAILER"), JpegEnd::Complete);
        // Cut inside the headers, inside the coded data, and just before the end marker.
        for (const qsizetype cut :
             {qsizetype(3), qsizetype(40), whole.size() / 3, whole.size() / 2, whole.size() - 1}) {
            SCOPED_TRACE(cut);
            EXPECT_EQ(PhotoCheck::jpegEnd(whole.left(cut)), JpegEnd::CutShort);
        }
    }
    EXPECT_EQ(PhotoCheck::jpegEnd("hello\n"), JpegEnd::NotJpeg);
    EXPECT_EQ(PhotoCheck::jpegEnd(QByteArray("\xFF\xD8\xFF\xE0\x00\x01", 6)), JpegEnd::Broken);
}

TEST(PhotoCheck, FilesAreDiagnosedInWordsAUserUnderstands)
{
    QTemporaryDir dir;
    const QString good = TestUtil::writeJpeg(dir.filePath(QStringLiteral("good.jpg")), 320, 240);
    const QByteArray bytes = TestUtil::readAll(good);
    TestUtil::writeAll(dir.filePath(QStringLiteral("cut.jpg")), bytes.left(bytes.size() / 2));
    TestUtil::writeAll(dir.filePath(QStringLiteral("x.jpg")), "just some text\n");
    TestUtil::writeAll(dir.filePath(QStringLiteral("empty.jpg")), {});

    EXPECT_EQ(PhotoCheck::checkDecoded(good).problem, Problem::None);
    EXPECT_EQ(PhotoCheck::checkDecoded(dir.filePath(QStringLiteral("cut.jpg"))).problem, Problem::Damaged);
    const struct {
        const char* name;
        Problem problem;
        const char* words;
    } rows[] = {
        {"cut.jpg", Problem::Damaged, "the file is damaged or cut short"},
        {"x.jpg", Problem::NotJpeg, "not a photo this program can read"},
        {"empty.jpg", Problem::Empty, "the file is empty"},
        {"gone.jpg", Problem::CannotOpen, "cannot be opened: no such file or directory"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const PhotoCheck::Finding finding = PhotoCheck::diagnose(dir.filePath(QString::fromLatin1(row.name)));
        EXPECT_EQ(finding.problem, row.problem);
        EXPECT_EQ(PhotoCheck::describe(finding), QString::fromLatin1(row.words));
    }
}

TEST(PhotoCheckBytes, ADecodeSaysWhetherAJpegReachesItsEnd)
{
    QTemporaryDir dir;
    const QByteArray whole = TestUtil::readAll(TestUtil::writeJpeg(dir.filePath("p.jpg"), 320, 240));
    QByteArray brokenMarker = whole;
    brokenMarker[brokenMarker.indexOf(QByteArray("\xFF\xDA", 2)) + 3] = 0; // scan header length 0..1
    brokenMarker.chop(2);
    const struct {
        const char* what;
        QByteArray bytes;
        bool cutShort;
    } cases[] = {
        {"whole", whole, false},
        {"data after the end marker", whole + QByteArray(100, 'x'), false},
        {"cut short", whole.left(whole.size() * 2 / 3), true},
        {"a broken marker", brokenMarker, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PhotoCheck::cutShort(c.bytes), c.cutShort);
        const Imaging::LoadResult loaded = Imaging::decode(c.bytes, QSize(100, 75));
        EXPECT_EQ(loaded.cutShort, c.cutShort);
        // load() of the same bytes in a file says the same.
        TestUtil::writeAll(dir.filePath("c.jpg"), c.bytes);
        EXPECT_EQ(Imaging::load(dir.filePath("c.jpg"), QSize(100, 75)).cutShort, c.cutShort);
    }
}
