// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/testutil.h"
#include "components/imaging.h"

using namespace Imaging;

namespace
{

struct ExifRow {
    const char* name;
    std::optional<TestUtil::Exif> exif;
    ShootingInfo expected;
};

void PrintTo(const ExifRow& row, std::ostream* os)
{
    *os << row.name;
}

TestUtil::Exif camera()
{
    TestUtil::Exif exif;
    exif.make = QStringLiteral("Canon");
    exif.model = QStringLiteral("Canon EOS 5D");
    exif.dateTimeOriginal = QStringLiteral("2003:05:17 14:21:09");
    exif.exposureTime = std::make_pair(10, 1600);
    exif.fNumber = std::make_pair(28, 10);
    return exif;
}

ShootingInfo info(QString maker, QString model, QString date, qint64 en, qint64 ed, qint64 fn, qint64 fd)
{
    return ShootingInfo{true, maker, model, date, en, ed, fn, fd};
}

std::vector<ExifRow> exifRows()
{
    std::vector<ExifRow> rows;
    rows.push_back(
        {"maker_in_model", camera(), info("Canon", "Canon EOS 5D", "2003:05:17 14:21:09", 10, 1600, 28, 10)});
    TestUtil::Exif other = camera();
    other.make = QStringLiteral("NIKON CORPORATION");
    other.model = QStringLiteral("E995   "); // padded with blanks as some cameras do
    other.exposureTime = std::make_pair(1, 3);
    other.fNumber = std::make_pair(0, 0);
    rows.push_back({"maker_not_in_model", other, info("NIKON CORPORATION", "E995", "2003:05:17 14:21:09", 1, 3, 0, 0)});
    TestUtil::Exif dateOnly;
    dateOnly.dateTime = QStringLiteral("2001:01:02 03:04:05");
    dateOnly.fNumber = std::make_pair(11, 1);
    rows.push_back({"date_time_fallback", dateOnly, info("", "", "2001:01:02 03:04:05", 0, 0, 11, 1)});
    TestUtil::Exif both = dateOnly;
    both.dateTimeOriginal = QStringLiteral("1999:12:31 23:59:59");
    rows.push_back({"original_date_wins", both, info("", "", "1999:12:31 23:59:59", 0, 0, 11, 1)});
    rows.push_back({"no_exif", std::nullopt, ShootingInfo{}});
    return rows;
}

class ShootingInfoTest : public ::testing::TestWithParam<ExifRow>
{
protected:
    QTemporaryDir m_dir;
};

} // namespace

TEST_P(ShootingInfoTest, ReadsTheStoredValues)
{
    const ExifRow& row = GetParam();
    const QString file = TestUtil::writeJpeg(m_dir.filePath("photo.jpg"), 64, 48, row.exif);
    const QByteArray before = TestUtil::sha256(file);
    const Photo photo = loadPhoto(file, QSize(120, 90));
    for (const ShootingInfo& got : {readShootingInfo(file), photo.info}) {
        EXPECT_EQ(got.hasInfo, row.expected.hasInfo);
        EXPECT_EQ(got.maker, row.expected.maker);
        EXPECT_EQ(got.model, row.expected.model);
        EXPECT_EQ(got.dateTime, row.expected.dateTime);
        EXPECT_EQ(got.exposureNum, row.expected.exposureNum);
        EXPECT_EQ(got.exposureDen, row.expected.exposureDen);
        EXPECT_EQ(got.fNumberNum, row.expected.fNumberNum);
        EXPECT_EQ(got.fNumberDen, row.expected.fNumberDen);
    }
    ASSERT_TRUE(photo.load.ok());
    EXPECT_EQ(photo.load.image.size(), QSize(120, 90));
    EXPECT_EQ(TestUtil::sha256(file), before); // only ever read
}

INSTANTIATE_TEST_SUITE_P(Rows, ShootingInfoTest, ::testing::ValuesIn(exifRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ShootingInfo, MissingFileHasNone)
{
    EXPECT_FALSE(readShootingInfo(QStringLiteral("/nonexistent/photo.jpg")).hasInfo);
    EXPECT_FALSE(loadPhoto(QStringLiteral("/nonexistent/photo.jpg")).load.ok());
}
