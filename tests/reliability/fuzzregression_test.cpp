// SPDX-License-Identifier: MIT
// Inputs the fuzz targets found (crashes, hangs, leaks) or that once came close, kept and fed to the
// same code on every test run. One folder per target under fuzz-inputs/.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include "components/imaging.h"
#include "components/imaging_internal.h"
#include "components/sheetfile.h"
#include "generate/basresoutprn.h"
#include "reliabilityutil.h"

namespace
{

QString inputsDir(const QString& target)
{
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("fuzz-inputs/") + target);
}

QStringList inputs(const QString& target)
{
    QStringList files;
    const QDir dir(inputsDir(target));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        files << dir.filePath(name);
    return files;
}

void checkSheet(const QByteArray& bytes)
{
    const auto sheet = SheetFile::decode(bytes);
    if (!sheet)
        return;
    const QByteArray again = SheetFile::encode(*sheet);
    if (again.isEmpty())
        return;
    const auto back = SheetFile::decode(again);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->rows.size(), sheet->rows.size());
    EXPECT_EQ(back->columnWidths, sheet->columnWidths);
}

} // namespace

TEST(FuzzRegression, InputsAreKept)
{
    int total = 0;
    for (const char* t : {"template", "sheetfile", "sheetpayload", "exif", "image", "heif"})
        total += int(inputs(QString::fromLatin1(t)).size());
    EXPECT_GT(total, 0) << "fuzz-inputs/ is missing beside " << __FILE__;
}

TEST(FuzzRegression, Template)
{
    for (const QString& path : inputs(QStringLiteral("template"))) {
        SCOPED_TRACE(path.toStdString());
        const auto tmpl = basResOutPrn::decodeTemplate(TestUtil::readAll(path));
        for (const char* section : {"SimpleTop", "SimpleIndex", "SimplePage", "SimplePageJ"}) {
            const auto slots = basResOutPrn::ReadFormatSection(tmpl.text, QString::fromLatin1(section));
            if (slots) {
                EXPECT_GE(slots->count, 0);
                for (int i = 1; i <= basResOutPrn::SlotCount; ++i)
                    (void)basResOutPrn::ReplaceMark(slots->text(i), QStringLiteral("v&&"));
            }
        }
        (void)basResOutPrn::readFormatSectionFile(path, QStringLiteral("SimpleTop"));
    }
}

TEST(FuzzRegression, SheetFile)
{
    for (const QString& path : inputs(QStringLiteral("sheetfile"))) {
        SCOPED_TRACE(path.toStdString());
        checkSheet(TestUtil::readAll(path));
    }
    // Payloads behind a valid header, as the payload target builds them.
    for (const QString& path : inputs(QStringLiteral("sheetpayload"))) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray payload = TestUtil::readAll(path);
        QByteArray file("LMVSHEET", 8);
        char be[8];
        qToBigEndian<quint32>(1, be);
        file.append(be, 4);
        qToBigEndian<quint64>(quint64(payload.size()), be);
        file.append(be, 8);
        file.append(QCryptographicHash::hash(payload, QCryptographicHash::Sha256));
        file.append(payload);
        checkSheet(file);
    }
}

TEST(FuzzRegression, ShootingInfoAndImages)
{
    for (const QString& path :
         inputs(QStringLiteral("exif")) + inputs(QStringLiteral("image")) + inputs(QStringLiteral("heif"))) {
        SCOPED_TRACE(path.toStdString());
        const Imaging::ShootingInfo fromFile = Imaging::readShootingInfo(path);
        const Imaging::ShootingInfo fromBytes = Imaging::Internal::shootingInfoFromBytes(TestUtil::readAll(path));
        EXPECT_EQ(fromFile.hasInfo, fromBytes.hasInfo);
        EXPECT_EQ(fromFile.maker, fromBytes.maker);
        EXPECT_EQ(fromFile.dateTime, fromBytes.dateTime);
        (void)Imaging::imageSize(path);
        for (const QSize box : {QSize(120, 90), QSize(800, 600)}) {
            const Imaging::LoadResult r = Imaging::load(path, box);
            if (r.ok()) {
                EXPECT_EQ(r.image.size(), Imaging::fitSize(r.fullSize, box));
            }
        }
    }
}
