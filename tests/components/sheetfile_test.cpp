// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "components/sheetfile.h"
#include "common/testutil.h"

namespace
{

Sheet sampleSheet()
{
    Sheet sheet;
    sheet.columnWidths = {960, 1605, 960, 1350, 960, 1815, 960, 960, 930, 5055};
    for (int i = 1; i <= 3; ++i) {
        PhotoRow row;
        row.image = TestUtil::samplePicture(120, 90, i);
        row.picture = i == 2 ? TestUtil::samplePicture(68, 90, i) : row.image;
        row.pathName = QStringLiteral("/写真/旅行 %1.jpg").arg(i);
        row.fileName = QStringLiteral("旅行 %1.jpg").arg(i);
        row.model = QStringLiteral("ABC Shot %1").arg(i);
        row.dateTime = QStringLiteral("2004/03/0%1 12:00:00").arg(i);
        row.tv = QStringLiteral("1/160sec");
        row.av = QStringLiteral("f2.8");
        row.rotation = i;
        row.caption = QStringLiteral("一行目\r\nsecond line %1").arg(i);
        sheet.rows << row;
    }
    // A photo that could not be read: no pictures, unknown texts.
    PhotoRow broken;
    broken.pathName = QStringLiteral("/写真/broken.jpg");
    broken.fileName = QStringLiteral("broken.jpg");
    broken.model = broken.dateTime = broken.tv = broken.av = QStringLiteral("不明");
    sheet.rows << broken;
    return sheet;
}

void expectSame(const Sheet& a, const Sheet& b)
{
    EXPECT_EQ(a.columnWidths, b.columnWidths);
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (int i = 0; i < a.rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.rows[i], b.rows[i]); // pictures compared pixel by pixel, format included
    }
}

// Magic, version, payload length, SHA-256.
constexpr qsizetype HeaderSizeForTests = 8 + 4 + 8 + 32;

// The header of the format around a payload of our own making.
QByteArray wrap(const QByteArray& payload, quint32 version = 1)
{
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    out << version << quint64(payload.size());
    const QByteArray hash = QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
    out.writeRawData(hash.constData(), int(hash.size()));
    return QByteArray("LMVSHEET") + header + payload;
}

TEST(SheetFile, RoundTripKeepsEveryCellAndTheWidths)
{
    const Sheet sheet = sampleSheet();
    const std::optional<Sheet> back = SheetFile::decode(SheetFile::encode(sheet));
    ASSERT_TRUE(back.has_value());
    expectSame(*back, sheet);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumivert.bin"));
    QString error;
    ASSERT_TRUE(SheetFile::save(path, sheet, &error)) << error.toStdString();
    const std::optional<Sheet> loaded = SheetFile::load(path, &error);
    ASSERT_TRUE(loaded.has_value()) << error.toStdString();
    expectSame(*loaded, sheet);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Lumivert.bin"})
        << "no temporary file is left behind";
}

TEST(SheetFile, EmptySheetAndOtherPixelFormatsRoundTrip)
{
    const Sheet empty;
    const std::optional<Sheet> back = SheetFile::decode(SheetFile::encode(empty));
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(back->rows.isEmpty());
    EXPECT_TRUE(back->columnWidths.isEmpty());

    Sheet sheet;
    for (QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB888, QImage::Format_Grayscale8,
                                  QImage::Format_ARGB32_Premultiplied}) {
        PhotoRow row;
        row.image = TestUtil::samplePicture(30, 20, int(format)).convertToFormat(format);
        sheet.rows << row;
    }
    const std::optional<Sheet> formats = SheetFile::decode(SheetFile::encode(sheet));
    ASSERT_TRUE(formats.has_value());
    expectSame(*formats, sheet);
}

TEST(SheetFile, DamagedTruncatedForeignOrNewerBytesAreRefused)
{
    const QByteArray good = SheetFile::encode(sampleSheet());
    ASSERT_TRUE(SheetFile::decode(good).has_value());

    QVector<std::pair<std::string, QByteArray>> bad;
    bad.push_back({"empty", QByteArray()});
    bad.push_back({"foreign", QByteArray("PK\x03\x04 not ours at all, but long enough for a header.....")});
    bad.push_back({"header only", good.left(52)});
    bad.push_back({"trailing byte", good + 'x'});
    QByteArray newer = good;
    newer[11] = 2; // version 2
    bad.push_back({"newer version", newer});
    QByteArray zero = good;
    zero[11] = 0;
    bad.push_back({"version 0", zero});
    for (qsizetype cut : {qsizetype(1), qsizetype(7), qsizetype(100), good.size() / 2, good.size() - 1})
        bad.push_back({"cut to " + std::to_string(cut), good.left(cut)});
    // Flips spread over header and payload: magic, version, length, hash, widths, pictures, texts.
    for (qsizetype at = 0; at < good.size(); at += std::max<qsizetype>(1, good.size() / 97)) {
        QByteArray flipped = good;
        flipped[at] = char(flipped[at] ^ 0x5a);
        bad.push_back({"flip at " + std::to_string(at), flipped});
    }
    for (const auto& [name, bytes] : bad) {
        SCOPED_TRACE(name);
        QString error;
        EXPECT_FALSE(SheetFile::decode(bytes, &error).has_value());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(SheetFile, CheckedPayloadWithBadContentIsRefused)
{
    const auto payload = [](auto write) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        write(out);
        return bytes;
    };
    const auto blob = [](QDataStream& out, const QByteArray& b) {
        out << quint32(b.size());
        out.writeRawData(b.constData(), int(b.size()));
    };
    const auto row = [&](QDataStream& out, qint32 rotation, const QByteArray& picture) {
        out << qint32(QImage::Format_RGB32);
        blob(out, picture);
        out << qint32(QImage::Format_Invalid);
        blob(out, {});
        for (int i = 0; i < 6; ++i)
            blob(out, "text");
        out << rotation;
        blob(out, "caption");
    };
    struct Case {
        const char* name;
        QByteArray payload;
    } cases[] = {
        {"huge row count", payload([](QDataStream& out) { out << quint32(0) << quint32(0xffffffff); })},
        {"too many widths", payload([](QDataStream& out) { out << quint32(100000); })},
        {"negative width", payload([](QDataStream& out) { out << quint32(1) << qint32(-5) << quint32(0); })},
        {"rows missing", payload([](QDataStream& out) { out << quint32(0) << quint32(2); })},
        {"rotation 4", payload([&](QDataStream& out) {
             out << quint32(0) << quint32(1);
             row(out, 4, {});
         })},
        {"picture not PNG", payload([&](QDataStream& out) {
             out << quint32(0) << quint32(1);
             row(out, 0, "not a picture");
         })},
        {"image marked as the same as itself",
         payload([&](QDataStream& out) { out << quint32(0) << quint32(1) << qint32(-1) << quint32(0); })},
        {"picture marked as the image but with bytes", payload([&](QDataStream& out) {
             out << quint32(0) << quint32(1) << qint32(0) << quint32(0) << qint32(-1) << quint32(3) << 'a' << 'b'
                 << 'c';
         })},
        {"text longer than the payload", payload([](QDataStream& out) {
             out << quint32(0) << quint32(1) << qint32(0) << quint32(0) << qint32(0) << quint32(0)
                 << quint32(0x7fffffff);
         })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(SheetFile::decode(wrap(c.payload)).has_value());
    }
    // The same helpers make a file that is accepted, so the cases above fail for their one reason.
    const QByteArray good = payload([&](QDataStream& out) {
        out << quint32(0) << quint32(1);
        row(out, 3, {});
    });
    const std::optional<Sheet> accepted = SheetFile::decode(wrap(good));
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->rows.value(0).rotation, 3);
}

TEST(SheetFile, CheckedPicturesKeepEveryTextAndAreStillVetted)
{
    const Sheet sheet = sampleSheet();
    const QByteArray bytes = SheetFile::encode(sheet);
    const std::optional<Sheet> checked = SheetFile::decode(bytes, nullptr, SheetFile::Pictures::Checked);
    ASSERT_TRUE(checked.has_value());
    EXPECT_EQ(checked->columnWidths, sheet.columnWidths);
    ASSERT_EQ(checked->rows.size(), sheet.rows.size());
    for (qsizetype i = 0; i < sheet.rows.size(); ++i) {
        SCOPED_TRACE(i);
        PhotoRow expected = sheet.rows.at(i);
        expected.image = expected.picture = QImage(); // only the pictures are left out
        EXPECT_EQ(checked->rows.at(i), expected);
    }
    // A picture whose header is not a PNG's, or is damaged, is refused without decoding too.
    const qsizetype png = bytes.indexOf("\x89PNG");
    ASSERT_GT(png, 0);
    for (const qsizetype at : {png + 1, png + 18}) { // the signature; the width inside IHDR
        QByteArray payload = bytes.mid(HeaderSizeForTests);
        payload[at - HeaderSizeForTests] = char(payload[at - HeaderSizeForTests] ^ 0x5a);
        EXPECT_FALSE(SheetFile::decode(wrap(payload), nullptr, SheetFile::Pictures::Checked).has_value()) << at;
        EXPECT_FALSE(SheetFile::decode(wrap(payload)).has_value()) << at;
    }
}

TEST(SheetFile, FailedSaveKeepsTheOlderFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lumivert.bin"));
    ASSERT_TRUE(SheetFile::save(path, sampleSheet()));
    const QByteArray before = TestUtil::readAll(path);

    QString error;
    EXPECT_FALSE(SheetFile::save(dir.filePath(QStringLiteral("missing/Lumivert.bin")), sampleSheet(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(SheetFile::load(dir.filePath(QStringLiteral("missing/Lumivert.bin"))).has_value());

    // A read-only folder: the save fails and the file saved before is left as it was.
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = QFile(dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
    QFile::remove(dir.filePath(QStringLiteral("probe")));
    if (!writable) {
        Sheet other;
        other.rows << PhotoRow{};
        EXPECT_FALSE(SheetFile::save(path, other));
        EXPECT_EQ(TestUtil::readAll(path), before);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (writable)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
}

} // namespace
