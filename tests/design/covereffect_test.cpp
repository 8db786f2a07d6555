// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "common/testutil.h"
#include "components/imaging.h"
#include "design/covereffect.h"

namespace
{

using Effect = std::function<QImage(const QImage&)>;

struct EffectRow {
    int index;
    const char* what;
    Effect expected;
};

class CoverEffectTest : public ::testing::TestWithParam<int>
{
protected:
    // A grid picture of the thumbnail box's size and a larger page image.
    const QImage thumb = TestUtil::samplePicture(120, 90, 3);
    const QImage page = TestUtil::samplePicture(320, 240, 4);
};

const EffectRow kPreview[] = {
    {0, "the picture itself", [](const QImage& i) { return i; }},
    {1, "canvas (0, 5)", [](const QImage& i) { return Imaging::canvasTexture(i, 0, 5); }},
    {2, "oil (1, 5)", [](const QImage& i) { return Imaging::oilPainting(i, 1, 5); }},
    {3, "glass tile (2, 2)", [](const QImage& i) { return Imaging::glassTile(i, 2, 2); }},
    {4, "monochrome", [](const QImage& i) { return Imaging::monochrome(i); }},
    // Sepia is previewed with the cover's own two steps, so the preview shows the cover's tone.
    {5, "sepia as on the cover",
     [](const QImage& i) { return Imaging::toneAdjust2(Imaging::toneAdjust1(i, 40, 30, -30), -50); }},
};

const EffectRow kAlbum[] = {
    {0, "copy", [](const QImage& i) { return Imaging::copy(i); }},
    {1, "canvas (0, 20)", [](const QImage& i) { return Imaging::canvasTexture(i, 0, 20); }},
    {2, "oil (1, 10)", [](const QImage& i) { return Imaging::oilPainting(i, 1, 10); }},
    {3, "glass tile (20, 20)", [](const QImage& i) { return Imaging::glassTile(i, 20, 20); }},
    {4, "monochrome", [](const QImage& i) { return Imaging::monochrome(i); }},
    {5, "sepia", [](const QImage& i) { return Imaging::toneAdjust2(Imaging::toneAdjust1(i, 40, 30, -30), -50); }},
};

TEST_P(CoverEffectTest, PreviewUsesTheLightArguments)
{
    const EffectRow& row = kPreview[GetParam()];
    SCOPED_TRACE(row.what);
    const QImage got = CoverEffect::preview(thumb, row.index);
    ASSERT_FALSE(got.isNull());
    EXPECT_EQ(got.size(), thumb.size());
    EXPECT_EQ(got, row.expected(thumb));
}

TEST_P(CoverEffectTest, AlbumUsesTheFullArguments)
{
    const EffectRow& row = kAlbum[GetParam()];
    SCOPED_TRACE(row.what);
    const QImage got = CoverEffect::album(page, row.index);
    ASSERT_FALSE(got.isNull());
    EXPECT_EQ(got.size(), page.size());
    EXPECT_EQ(got, row.expected(page));
}

INSTANTIATE_TEST_SUITE_P(EachEffect, CoverEffectTest, ::testing::Range(0, 6));

TEST(CoverEffect, PreviewAndAlbumDifferForEveryRealEffect)
{
    const QImage picture = TestUtil::samplePicture(120, 90, 5);
    for (int index : {1, 2, 3}) {
        SCOPED_TRACE(index);
        EXPECT_NE(CoverEffect::preview(picture, index), CoverEffect::album(picture, index));
    }
    EXPECT_EQ(CoverEffect::preview(picture, 4), CoverEffect::album(picture, 4));
    EXPECT_EQ(CoverEffect::preview(picture, 5), CoverEffect::album(picture, 5));
}

TEST(CoverEffect, NothingForIndexesOutsideTheListOrNoPicture)
{
    const QImage picture = TestUtil::samplePicture(40, 30, 1);
    for (int index : {-1, 6, 7, 100}) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(CoverEffect::preview(picture, index).isNull());
        EXPECT_TRUE(CoverEffect::album(picture, index).isNull());
    }
    for (int index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(CoverEffect::preview(QImage(), index).isNull());
        EXPECT_TRUE(CoverEffect::album(QImage(), index).isNull());
    }
}

TEST(CoverEffect, NamesInListOrder)
{
    EXPECT_EQ(CoverEffect::names(), (QStringList{QStringLiteral("効果なし"), QStringLiteral("キャンバス地効果"),
                                                 QStringLiteral("油絵風効果"), QStringLiteral("ガラスタイル効果"),
                                                 QStringLiteral("モノクロ効果"), QStringLiteral("セピア調効果")}));
}

} // namespace

// The cover's second image: the effect at twice the size with its sizes doubled, halved again,
// is closer to the design's cover than the design's parameters applied at twice the size.
TEST(CoverEffect, AtScaleTwoTheEffectsSizesGrowWithThePicture)
{
    QImage page(240, 180, QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            page.setPixel(x, y, qRgb((x * 255) / 240, (y * 255) / 180, ((x / 30 + y / 30) % 2) * 200));
    const QImage doubled = page.scaled(page.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    auto distance = [](const QImage& a, const QImage& b) {
        double sum = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
        return sum / (a.width() * a.height());
    };
    auto halved = [&](const QImage& image) {
        return image.scaled(page.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    for (const int effect : {1, 2, 3}) {
        SCOPED_TRACE(effect);
        const QImage design = CoverEffect::album(page, effect);
        const QImage scaled = CoverEffect::album(doubled, effect, 2);
        ASSERT_EQ(scaled.size(), doubled.size());
        EXPECT_LT(distance(halved(scaled), design), distance(halved(CoverEffect::album(doubled, effect)), design));
    }
    // Pixel-by-pixel effects have no sizes: scale changes nothing.
    EXPECT_EQ(CoverEffect::album(doubled, 4, 2), CoverEffect::album(doubled, 4));
    EXPECT_TRUE(CoverEffect::album(page, 1, 0).isNull());
}
