// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "common/testutil.h"
#include "components/imaging.h"

using namespace Imaging;

namespace
{

struct Mean {
    double r = 0, g = 0, b = 0;
};

Mean meanColour(const QImage& image)
{
    Mean m;
    const QImage x = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < x.height(); ++y)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, y);
            m.r += qRed(p);
            m.g += qGreen(p);
            m.b += qBlue(p);
        }
    const double n = double(x.width()) * x.height();
    return {m.r / n, m.g / n, m.b / n};
}

using TestUtil::meanDifference;

// A photo-like picture: smooth colour areas with edges and fine detail, not a flat test card.
QImage photo(int w, int h)
{
    QImage image = TestUtil::samplePicture(w, h, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            const int wave = int(40 * std::sin(x * 0.07) * std::cos(y * 0.05));
            const bool disc = (x - w / 3) * (x - w / 3) + (y - h / 2) * (y - h / 2) < (h / 4) * (h / 4);
            image.setPixel(
                x, y,
                disc ? qRgb(30, 90, 200)
                     : qRgb(std::clamp(qRed(c) + wave, 0, 255), std::clamp(qGreen(c) - wave, 0, 255), qBlue(c) / 2));
        }
    return image;
}

struct EffectRow {
    const char* name;
    std::function<QImage(const QImage&)> apply;
    double minimumChange;
};

std::vector<EffectRow> effectRows()
{
    return {
        {"canvas_preview", [](const QImage& i) { return canvasTexture(i, 0, 5); }, 2.0},
        {"canvas_album", [](const QImage& i) { return canvasTexture(i, 0, 20); }, 8.0},
        {"oil_preview", [](const QImage& i) { return oilPainting(i, 1, 5); }, 1.0},
        {"oil_album", [](const QImage& i) { return oilPainting(i, 1, 10); }, 1.5},
        {"glass_preview", [](const QImage& i) { return glassTile(i, 2, 2); }, 1.0},
        {"glass_album", [](const QImage& i) { return glassTile(i, 20, 20); }, 8.0},
        {"monochrome", [](const QImage& i) { return monochrome(i); }, 10.0},
        {"warm", [](const QImage& i) { return toneAdjust1(i, 40, 30, -30); }, 20.0},
        {"sepia", [](const QImage& i) { return toneAdjust2(toneAdjust1(i, 40, 30, -30), -50); }, 20.0},
    };
}

class EffectTest : public ::testing::TestWithParam<EffectRow>
{
};

void PrintTo(const EffectRow& row, std::ostream* os)
{
    *os << row.name;
}

} // namespace

TEST_P(EffectTest, ChangesThePictureKeepsItsSizeAndIsDeterministic)
{
    const EffectRow& row = GetParam();
    for (const QSize size : {QSize(120, 90), QSize(640, 480), QSize(68, 90)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        const QImage input = photo(size.width(), size.height());
        const QImage before = input.copy();
        const QImage once = row.apply(input);
        const QImage twice = row.apply(input);
        ASSERT_FALSE(once.isNull());
        EXPECT_EQ(once.size(), size);
        EXPECT_EQ(once, twice);
        EXPECT_EQ(input, before); // the source is left as it was
        EXPECT_GT(meanDifference(once, input), row.minimumChange);
    }
    EXPECT_TRUE(row.apply(QImage()).isNull());
}

INSTANTIATE_TEST_SUITE_P(Effects, EffectTest, ::testing::ValuesIn(effectRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Effects, MonochromeHasEqualChannels)
{
    const QImage grey = monochrome(photo(80, 60));
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb c = grey.pixel(x, y);
            ASSERT_EQ(qRed(c), qGreen(c));
            ASSERT_EQ(qGreen(c), qBlue(c));
        }
}

TEST(Effects, WarmTintAndSepia)
{
    for (const QImage& input : {photo(200, 150), TestUtil::samplePicture(200, 150, 9)}) {
        const Mean in = meanColour(input);
        const QImage warmImage = toneAdjust1(input, 40, 30, -30);
        const Mean warm = meanColour(warmImage);
        EXPECT_GT(warm.r, in.r + 20);
        EXPECT_GT(warm.g, in.g + 15);
        EXPECT_LT(warm.b, in.b - 15);

        // Sepia: brown on average, and the scene's own colours mostly gone.
        const QImage sepia = toneAdjust2(warmImage, -50);
        const Mean s = meanColour(sepia);
        EXPECT_GT(s.r, s.g + 5);
        EXPECT_GT(s.g, s.b + 20);
        double spread = 0;
        for (int y = 0; y < sepia.height(); ++y)
            for (int x = 0; x < sepia.width(); ++x) {
                const QRgb c = sepia.pixel(x, y);
                // Distance from the sepia hue line: blue below green below red, the steps alike.
                spread +=
                    std::abs((qRed(c) - qGreen(c)) - (s.r - s.g)) + std::abs((qGreen(c) - qBlue(c)) - (s.g - s.b));
            }
        EXPECT_LT(spread / (sepia.width() * sepia.height()), 25.0);
    }
    // Raising saturation pushes colours apart.
    const QImage input = photo(100, 80);
    EXPECT_GT(meanDifference(toneAdjust2(input, 50), input), 5.0);
    EXPECT_EQ(toneAdjust2(input, 0), input.convertToFormat(QImage::Format_RGB32));
}
