// SPDX-License-Identifier: MIT
// The six cover effects. Pure functions of their input and arguments, integer arithmetic where
// the result bytes depend on it, so a cover made twice is the same file twice.
#include "components/imaging.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include <QColorSpace>
#include <QStringList>

#include "components/imaging_internal.h"

namespace Imaging
{

namespace
{

int clamp255(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Rec. 601 luma, rounded.
int luma(int r, int g, int b)
{
    return (299 * r + 587 * g + 114 * b + 500) / 1000;
}

// Effects work on straight (not premultiplied) colour and keep the alpha as it was.
QImage workingCopy(const QImage& image)
{
    const QImage src = Internal::to32Bit(image);
    return src.hasAlphaChannel() ? src.convertToFormat(QImage::Format_ARGB32) : src.copy();
}

// Small deterministic integer hash of a position, for canvas grain.
uint32_t hash2(int x, int y)
{
    uint32_t h = uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

template <typename F> void forEachPixel(QImage& image, F f)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = f(line[x]);
    }
}

} // namespace

QImage canvasTexture(const QImage& image, int p, int q)
{
    if (image.isNull())
        return {};
    QImage out = workingCopy(image);
    const int w = out.width(), h = out.height();
    const int strength = std::clamp(q, 0, 100);
    // Threads of a plain weave, t pixels wide; each cell of the checkerboard is a warp or a weft
    // crossing, raised in the middle of the thread and sinking where it dives under the next.
    const int t = std::clamp(4 + p, 2, 32);
    const int period = 2 * t;
    std::vector<int> relief(size_t(period) * period);
    for (int y = 0; y < period; ++y) {
        for (int x = 0; x < period; ++x) {
            const double u = std::sin(std::numbers::pi * ((x % t) + 0.5) / t);
            const double v = std::sin(std::numbers::pi * ((y % t) + 0.5) / t);
            const bool weft = ((x / t) + (y / t)) % 2 == 0;
            const double across = weft ? v : u;
            const double along = weft ? u : v;
            relief[size_t(y) * period + x] = int(std::lround(255.0 * across * (0.6 + 0.4 * along)));
        }
    }
    auto height = [&](int x, int y) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        const int grain = int(hash2(x, y) % 41) - 20;
        return relief[size_t(y % period) * period + (x % period)] + grain;
    };

    const QImage src = out.copy();
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // Light from the upper left: slopes facing it brighten, the others darken, and the
            // gaps between threads sit a little in shadow.
            const int slope = height(x - 1, y - 1) - height(x + 1, y + 1);
            const int shade = (slope * strength) / 80 + ((height(x, y) - 160) * strength) / 200;
            const QRgb c = in[x];
            line[x] =
                qRgba(clamp255(qRed(c) + shade), clamp255(qGreen(c) + shade), clamp255(qBlue(c) + shade), qAlpha(c));
        }
    }
    return out;
}

QImage oilPainting(const QImage& image, int p, int q)
{
    if (image.isNull())
        return {};
    const QImage src = workingCopy(image);
    QImage out = src.copy();
    const int w = src.width(), h = src.height();
    // Each pixel takes the mean colour of the most common brightness in its neighbourhood: flat
    // dabs of colour with sharp edges between them, the brush growing with q.
    const int radius = std::clamp((q + 1) / 3, 1, 16);
    const int levels = 16 << std::clamp(p, 0, 2);

    std::vector<uint8_t> level(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x)
            level[size_t(y) * w + x] = uint8_t(luma(qRed(in[x]), qGreen(in[x]), qBlue(in[x])) * levels / 256);
    }

    std::vector<int> count(levels), sumR(levels), sumG(levels), sumB(levels);
    auto addColumn = [&](int x, int y0, int y1, int sign) {
        if (x < 0 || x >= w)
            return;
        for (int y = y0; y <= y1; ++y) {
            const QRgb c = reinterpret_cast<const QRgb*>(src.constScanLine(y))[x];
            const int l = level[size_t(y) * w + x];
            count[l] += sign;
            sumR[l] += sign * qRed(c);
            sumG[l] += sign * qGreen(c);
            sumB[l] += sign * qBlue(c);
        }
    };

    for (int y = 0; y < h; ++y) {
        const int y0 = std::max(0, y - radius), y1 = std::min(h - 1, y + radius);
        std::fill(count.begin(), count.end(), 0);
        std::fill(sumR.begin(), sumR.end(), 0);
        std::fill(sumG.begin(), sumG.end(), 0);
        std::fill(sumB.begin(), sumB.end(), 0);
        for (int x = -radius; x < radius; ++x)
            addColumn(x, y0, y1, 1);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            addColumn(x + radius, y0, y1, 1);
            addColumn(x - radius - 1, y0, y1, -1);
            int best = 0;
            for (int l = 1; l < levels; ++l)
                if (count[l] > count[best])
                    best = l;
            const int n = count[best];
            line[x] =
                qRgba((sumR[best] + n / 2) / n, (sumG[best] + n / 2) / n, (sumB[best] + n / 2) / n, qAlpha(line[x]));
        }
    }
    return out;
}

QImage glassTile(const QImage& image, int p, int q)
{
    if (image.isNull())
        return {};
    const QImage src = workingCopy(image);
    QImage out = src.copy();
    const int w = src.width(), h = src.height();
    const int tw = std::clamp(p, 2, 1000), th = std::clamp(q, 2, 1000);
    // Each block acts as a lens: it shows the scene around it at half size, so the picture
    // breaks into a grid of small views; a bevel lights the top and left edges of each block.
    // Small blocks (the preview's) get a fainter rim, or the rims would be all one sees.
    const int bevelLight = 28 * std::min(8, std::min(tw, th)) / 8;
    for (int y = 0; y < h; ++y) {
        const int oy = y % th;
        const int cy = y - oy + th / 2;
        const int sy = std::clamp(cy + 2 * (oy - th / 2), 0, h - 1);
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int ox = x % tw;
            const int cx = x - ox + tw / 2;
            const int sx = std::clamp(cx + 2 * (ox - tw / 2), 0, w - 1);
            // Bevel: +1 at the upper-left rim, -1 at the lower-right rim, 0 inside.
            const int edge = std::max(1, std::min(tw, th) / 6);
            int bevel = 0;
            if (ox < edge || oy < edge)
                bevel = 1;
            if (ox >= tw - edge || oy >= th - edge)
                bevel = (bevel == 1) ? 0 : -1;
            const int shade = bevel * bevelLight;
            const QRgb c = in[sx];
            line[x] = qRgba(clamp255(qRed(c) + shade), clamp255(qGreen(c) + shade), clamp255(qBlue(c) + shade),
                            qAlpha(line[x]));
        }
    }
    return out;
}

QImage monochrome(const QImage& image)
{
    if (image.isNull())
        return {};
    QImage out = workingCopy(image);
    forEachPixel(out, [](QRgb c) {
        const int y = luma(qRed(c), qGreen(c), qBlue(c));
        return qRgba(y, y, y, qAlpha(c));
    });
    return out;
}

// toneAdjust1 records the offsets it added in the image's text under this key, summed over
// repeated calls, so that toneAdjust2 can fade the scene's colours while the toning stays:
// that pair is how the album makes a sepia cover. save() never writes image text to a file.
namespace
{

QString toneKey()
{
    return QStringLiteral("lumivert-tone");
}

std::array<int, 3> toneOf(const QImage& image)
{
    std::array<int, 3> tone{0, 0, 0};
    const QStringList parts = image.text(toneKey()).split(QLatin1Char(','));
    if (parts.size() == 3)
        for (int i = 0; i < 3; ++i)
            tone[i] = std::clamp(parts[i].toInt(), -255, 255);
    return tone;
}

} // namespace

QImage toneAdjust1(const QImage& image, int r, int g, int b)
{
    if (image.isNull())
        return {};
    r = std::clamp(r, -255, 255);
    g = std::clamp(g, -255, 255);
    b = std::clamp(b, -255, 255);
    QImage out = workingCopy(image);
    forEachPixel(out, [=](QRgb c) {
        return qRgba(clamp255(qRed(c) + r), clamp255(qGreen(c) + g), clamp255(qBlue(c) + b), qAlpha(c));
    });
    const std::array<int, 3> before = toneOf(image);
    out.setText(toneKey(), QStringLiteral("%1,%2,%3")
                               .arg(std::clamp(before[0] + r, -255, 255))
                               .arg(std::clamp(before[1] + g, -255, 255))
                               .arg(std::clamp(before[2] + b, -255, 255)));
    return out;
}

QImage toneAdjust2(const QImage& image, int v)
{
    if (image.isNull())
        return {};
    v = std::clamp(v, -100, 100);
    const QImage src = workingCopy(image);
    // A fresh image: no text, so the toning is not applied twice by a later call.
    QImage out(src.size(), src.format());
    if (out.isNull())
        return {};
    out.setColorSpace(src.colorSpace());

    // Saturation is measured from the toned grey: the luma plus the colour the recorded tone
    // gives a grey pixel. Lowering it fades the scene's own colours toward a toned monochrome
    // (sepia, after a warm toneAdjust1); on an untoned image it is ordinary desaturation.
    // Lowering goes with the cube of (1 + v / 100): -50 keeps an eighth of the colour, little
    // enough that a green meadow or a blue sky reads as brown, as on an old print.
    const std::array<int, 3> tone = toneOf(image);
    const int toneLuma = luma(tone[0] + 255, tone[1] + 255, tone[2] + 255) - 255;
    const int tint[3] = {tone[0] - toneLuma, tone[1] - toneLuma, tone[2] - toneLuma};
    const int k = v < 0 ? (100 + v) * (100 + v) * (100 + v) * 1024 / 1000000 : (100 + v) * 1024 / 100; // in 1/1024

    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = in[x];
            const int ch[3] = {qRed(c), qGreen(c), qBlue(c)};
            const int l = luma(ch[0], ch[1], ch[2]);
            int res[3];
            for (int i = 0; i < 3; ++i) {
                const int base = l + tint[i];
                const int d = ch[i] - base;
                res[i] = clamp255(base + (d * k + (d >= 0 ? 512 : -512)) / 1024);
            }
            line[x] = qRgba(res[0], res[1], res[2], qAlpha(c));
        }
    }
    return out;
}

} // namespace Imaging
