// SPDX-License-Identifier: MIT
// Exact-size resampling: area averaging along an axis that shrinks, linear interpolation along
// one that grows. Separable, integer arithmetic throughout, so the same input always gives the
// same bytes on every machine.
#include "components/imaging.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <QColorSpace>

#include "components/imaging_internal.h"

namespace Imaging
{

namespace
{

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// The source pixels and weights (summing to kWeightOne) that make one output pixel.
struct Tap {
    int first = 0;
    std::vector<int> weights;
};

// Taps for dst output pixels covering the first extentNum / extentDen source pixels (at most
// src of them): the whole row normally, a little less when the decoder padded the picture.
std::vector<Tap> makeTaps(int src, int dst, qint64 extentNum, qint64 extentDen)
{
    std::vector<Tap> taps(dst);
    const qint64 a = extentNum;          // output pixel i spans [i * a, (i + 1) * a) ...
    const qint64 unit = extentDen * dst; // ... and source pixel j spans [j * unit, (j + 1) * unit)
    if (a > unit) {                      // shrinking
        // Each output pixel is the exact overlap-weighted average of the source pixels it covers.
        for (int i = 0; i < dst; ++i) {
            const qint64 begin = i * a;
            const qint64 end = begin + a;
            const int j0 = int(begin / unit);
            const int j1 = std::min(src - 1, int((end - 1) / unit));
            Tap& tap = taps[i];
            tap.first = j0;
            qint64 sum = 0;
            int largest = 0;
            for (int j = j0; j <= j1; ++j) {
                const qint64 overlap = std::min(end, (j + 1) * unit) - std::max(begin, j * unit);
                const int w = int(overlap * kWeightOne / a);
                tap.weights.push_back(w);
                sum += w;
                if (w > tap.weights[largest])
                    largest = int(tap.weights.size()) - 1;
            }
            tap.weights[largest] += kWeightOne - int(sum);
        }
    } else { // enlarging: linear interpolation, pixel centres aligned
        // Output pixel i samples source position (i + 0.5) * a / unit - 0.5.
        const qint64 denom = 2 * unit;
        for (int i = 0; i < dst; ++i) {
            const qint64 num = (2 * qint64(i) + 1) * a - unit;
            Tap& tap = taps[i];
            if (num <= 0) {
                tap.weights = {kWeightOne};
                continue;
            }
            const int j0 = std::min(src - 1, int(num / denom));
            const int frac = int((num % denom) * kWeightOne / denom);
            tap.first = j0;
            if (j0 + 1 >= src || frac == 0)
                tap.weights = {kWeightOne};
            else
                tap.weights = {kWeightOne - frac, frac};
        }
    }
    return taps;
}

// Pixels as four 16-bit channels holding value * 256, the precision kept between the passes.
struct Wide {
    uint16_t c[4];
};

} // namespace

namespace Internal
{

QImage resizeRegion(const QImage& image, QSize size, qint64 numX, qint64 denX, qint64 numY, qint64 denY)
{
    if (image.isNull() || size.isEmpty() || numX <= 0 || denX <= 0 || numY <= 0 || denY <= 0)
        return {};
    const bool packed = image.format() == QImage::Format_RGB888 || image.format() == QImage::Format_RGBX8888;
    const QImage src = packed ? image : Internal::to32Bit(image);
    const int bpp = src.depth() / 8;
    const int sw = src.width(), sh = src.height();
    const int dw = size.width(), dh = size.height();
    // The pass between the two directions holds sh x dw pixels; refuse what no picture needs.
    if (qint64(sh) * dw > Internal::kMaxPixels)
        return {};
    QImage dst(size, src.format());
    if (dst.isNull())
        return {};
    dst.setColorSpace(src.colorSpace());

    const std::vector<Tap> xTaps = makeTaps(sw, dw, numX, denX);
    const std::vector<Tap> yTaps = makeTaps(sh, dh, numY, denY);

    // Horizontal pass: sh rows of dw wide pixels.
    std::vector<Wide> mid(size_t(sh) * dw);
    for (int y = 0; y < sh; ++y) {
        const auto* line = src.constScanLine(y);
        Wide* out = mid.data() + size_t(y) * dw;
        for (int x = 0; x < dw; ++x) {
            const Tap& tap = xTaps[x];
            uint32_t acc[4] = {0, 0, 0, 0};
            const uchar* p = line + size_t(tap.first) * bpp;
            if (bpp == 4) {
                for (const int w : tap.weights) {
                    acc[0] += p[0] * uint32_t(w);
                    acc[1] += p[1] * uint32_t(w);
                    acc[2] += p[2] * uint32_t(w);
                    acc[3] += p[3] * uint32_t(w);
                    p += 4;
                }
            } else {
                for (const int w : tap.weights) {
                    acc[0] += p[0] * uint32_t(w);
                    acc[1] += p[1] * uint32_t(w);
                    acc[2] += p[2] * uint32_t(w);
                    p += 3;
                }
            }
            for (int c = 0; c < 4; ++c)
                out[x].c[c] = uint16_t((acc[c] + (1 << (kWeightBits - 9))) >> (kWeightBits - 8));
        }
    }

    // Vertical pass, rounding back to 8 bits.
    std::vector<uint32_t> acc(size_t(dw) * 4);
    for (int y = 0; y < dh; ++y) {
        const Tap& tap = yTaps[y];
        std::fill(acc.begin(), acc.end(), 0u);
        int row = tap.first;
        for (const int w : tap.weights) {
            const Wide* in = mid.data() + size_t(row) * dw;
            for (int x = 0; x < dw; ++x) {
                acc[4 * x + 0] += in[x].c[0] * uint32_t(w);
                acc[4 * x + 1] += in[x].c[1] * uint32_t(w);
                acc[4 * x + 2] += in[x].c[2] * uint32_t(w);
                acc[4 * x + 3] += in[x].c[3] * uint32_t(w);
            }
            ++row;
        }
        uchar* out = dst.scanLine(y);
        constexpr int shift = kWeightBits + 8;
        for (int x = 0; x < dw; ++x)
            for (int c = 0; c < bpp; ++c)
                out[x * bpp + c] = uchar(std::min<uint32_t>((acc[4 * x + c] + (1u << (shift - 1))) >> shift, 255));
    }
    return dst;
}

} // namespace Internal

QImage resize(const QImage& image, QSize size)
{
    return Internal::resizeRegion(image, size, image.width(), 1, image.height(), 1);
}

} // namespace Imaging
