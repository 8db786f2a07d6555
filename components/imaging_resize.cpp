// SPDX-License-Identifier: MIT
// Exact-size resampling: area averaging along an axis that shrinks, linear interpolation along
// one that grows. Separable, integer arithmetic throughout, so the same input always gives the
// same bytes on every machine, with SSE2 or without. Output rows are made one at a time from the
// few horizontally resampled source rows they take, kept in a small ring.
#include "components/imaging.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define LUMIVERT_RESIZE_SSE2 1
#endif

#include <QColorSpace>

#include "components/imaging_internal.h"

namespace Imaging
{

namespace
{

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits; // fits an int16, as every weight does

// For each output pixel, `count` weights (summing to kWeightOne, zero where unused) over source
// pixels first, first + 1, ...; first + count never passes the end of the source line, and
// first never decreases from one output pixel to the next.
struct Taps {
    int count = 1;
    std::vector<int> first;
    std::vector<int16_t> weights;
    const int16_t* of(int i) const { return weights.data() + size_t(i) * count; }
};

// Taps for dst output pixels covering the first extentNum / extentDen source pixels (at most
// src of them): the whole row normally, a little less when the decoder padded the picture.
Taps makeTaps(int src, int dst, qint64 extentNum, qint64 extentDen)
{
    std::vector<int> first(dst);
    std::vector<std::vector<int>> lists(dst);
    const qint64 a = extentNum;          // output pixel i spans [i * a, (i + 1) * a) ...
    const qint64 unit = extentDen * dst; // ... and source pixel j spans [j * unit, (j + 1) * unit)
    if (a > unit) {                      // shrinking
        // Each output pixel is the exact overlap-weighted average of the source pixels it covers.
        for (int i = 0; i < dst; ++i) {
            const qint64 begin = i * a;
            const qint64 end = begin + a;
            const int j0 = int(begin / unit);
            const int j1 = std::min(src - 1, int((end - 1) / unit));
            std::vector<int>& weights = lists[i];
            first[i] = j0;
            qint64 sum = 0;
            int largest = 0;
            for (int j = j0; j <= j1; ++j) {
                const qint64 overlap = std::min(end, (j + 1) * unit) - std::max(begin, j * unit);
                const int w = int(overlap * kWeightOne / a);
                weights.push_back(w);
                sum += w;
                if (w > weights[largest])
                    largest = int(weights.size()) - 1;
            }
            weights[largest] += kWeightOne - int(sum);
        }
    } else { // enlarging: linear interpolation, pixel centres aligned
        // Output pixel i samples source position (i + 0.5) * a / unit - 0.5.
        const qint64 denom = 2 * unit;
        for (int i = 0; i < dst; ++i) {
            const qint64 num = (2 * qint64(i) + 1) * a - unit;
            if (num <= 0) {
                lists[i] = {kWeightOne};
                continue;
            }
            const int j0 = std::min(src - 1, int(num / denom));
            const int frac = int((num % denom) * kWeightOne / denom);
            first[i] = j0;
            if (j0 + 1 >= src || frac == 0)
                lists[i] = {kWeightOne};
            else
                lists[i] = {kWeightOne - frac, frac};
        }
    }
    // One stride for all: a short list is padded with zero weights, at its front when it sits
    // at the end of the line.
    Taps taps;
    for (const std::vector<int>& weights : lists)
        taps.count = std::max(taps.count, int(weights.size()));
    taps.first.resize(dst);
    taps.weights.assign(size_t(dst) * taps.count, 0);
    for (int i = 0; i < dst; ++i) {
        taps.first[i] = std::min(first[i], src - taps.count);
        const int shift = first[i] - taps.first[i];
        for (size_t k = 0; k < lists[i].size(); ++k)
            taps.weights[size_t(i) * taps.count + shift + k] = int16_t(lists[i][k]);
    }
    return taps;
}

// Pixels as four 16-bit channels holding value * 256, the precision kept between the passes.
struct Wide {
    uint16_t c[4];
};
constexpr int kMidShift = kWeightBits - 8; // source * weight down to value * 256
constexpr uint32_t kMidRound = 1u << (kMidShift - 1);
constexpr int kOutShift = kWeightBits + 8; // value * 256 * weight down to value
constexpr uint32_t kOutRound = 1u << (kOutShift - 1);

// One source line through the horizontal taps. The SSE2 paths do the same integer arithmetic
// as the plain loops (no sum can overflow), so every machine gives the same bytes.
void horizontal(const uchar* line, int bpp, const Taps& taps, Wide* out)
{
    const int dw = int(taps.first.size());
#ifdef LUMIVERT_RESIZE_SSE2
    if (bpp == 4) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i round = _mm_set1_epi32(int(kMidRound));
        for (int x = 0; x < dw; ++x) {
            const uchar* p = line + size_t(taps.first[x]) * 4;
            const int16_t* w = taps.of(x);
            __m128i acc = zero;
            int k = 0;
            for (; k + 1 < taps.count; k += 2) { // two pixels at once: channel pairs times weight pairs
                const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + k * 4));
                const __m128i pairs = _mm_unpacklo_epi8(_mm_unpacklo_epi8(two, _mm_srli_si128(two, 4)), zero);
                const __m128i weights = _mm_set1_epi32(int(uint16_t(w[k])) | int(uint32_t(uint16_t(w[k + 1])) << 16));
                acc = _mm_add_epi32(acc, _mm_madd_epi16(pairs, weights));
            }
            if (k < taps.count) {
                int one;
                std::memcpy(&one, p + k * 4, 4);
                const __m128i pixel = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(one), zero), zero);
                acc = _mm_add_epi32(acc, _mm_madd_epi16(pixel, _mm_set1_epi32(int(uint16_t(w[k])))));
            }
            acc = _mm_srli_epi32(_mm_add_epi32(acc, round), kMidShift);
            // At most 65280: through the signed pack with an offset of 32768.
            const __m128i packed =
                _mm_add_epi16(_mm_packs_epi32(_mm_sub_epi32(acc, _mm_set1_epi32(32768)), zero), _mm_set1_epi16(-32768));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), packed);
        }
        return;
    }
#endif
    for (int x = 0; x < dw; ++x) {
        const uchar* p = line + size_t(taps.first[x]) * bpp;
        const int16_t* w = taps.of(x);
        uint32_t acc[4] = {0, 0, 0, 0};
        for (int k = 0; k < taps.count; ++k, p += bpp) {
            for (int c = 0; c < bpp; ++c)
                acc[c] += p[c] * uint32_t(w[k]);
        }
        for (int c = 0; c < 4; ++c)
            out[x].c[c] = uint16_t((acc[c] + kMidRound) >> kMidShift);
    }
}

// acc[i] += in[i] * weight for n values.
void accumulate(const Wide* row, uint16_t weight, uint32_t* acc, int n)
{
    const auto* in = reinterpret_cast<const uint16_t*>(row);
    int i = 0;
#ifdef LUMIVERT_RESIZE_SSE2
    const __m128i w = _mm_set1_epi16(short(weight));
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i lo = _mm_mullo_epi16(v, w), hi = _mm_mulhi_epu16(v, w);
        auto* a = reinterpret_cast<__m128i*>(acc + i);
        _mm_storeu_si128(a, _mm_add_epi32(_mm_loadu_si128(a), _mm_unpacklo_epi16(lo, hi)));
        _mm_storeu_si128(a + 1, _mm_add_epi32(_mm_loadu_si128(a + 1), _mm_unpackhi_epi16(lo, hi)));
    }
#endif
    for (; i < n; ++i)
        acc[i] += in[i] * uint32_t(weight);
}

// The accumulated row rounded back to 8 bits.
void narrow(const uint32_t* acc, int dw, int bpp, uchar* out)
{
    int x = 0;
#ifdef LUMIVERT_RESIZE_SSE2
    if (bpp == 4) {
        const __m128i round = _mm_set1_epi32(int(kOutRound));
        for (; x + 2 <= dw; x += 2) {
            const auto* in = reinterpret_cast<const __m128i*>(acc + 4 * x);
            const __m128i a = _mm_srli_epi32(_mm_add_epi32(_mm_loadu_si128(in), round), kOutShift);
            const __m128i b = _mm_srli_epi32(_mm_add_epi32(_mm_loadu_si128(in + 1), round), kOutShift);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * x),
                             _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_setzero_si128()));
        }
    }
#endif
    for (; x < dw; ++x)
        for (int c = 0; c < bpp; ++c)
            out[x * bpp + c] = uchar(std::min<uint32_t>((acc[4 * x + c] + kOutRound) >> kOutShift, 255));
}

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
    // Output rows are sized by dw; refuse what no picture needs.
    if (qint64(std::max(sh, dh)) * dw > Internal::kMaxPixels)
        return {};
    QImage dst(size, src.format());
    if (dst.isNull())
        return {};
    dst.setColorSpace(src.colorSpace());

    const Taps xTaps = makeTaps(sw, dw, numX, denX);
    const Taps yTaps = makeTaps(sh, dh, numY, denY);

    // Rows of the horizontal pass are kept while the vertical taps need them: output rows take
    // source rows in increasing order, yTaps.count at a time.
    std::vector<Wide> ring(size_t(yTaps.count) * dw);
    auto rowAt = [&](int y) { return ring.data() + size_t(y % yTaps.count) * dw; };
    int done = 0; // source rows [0, done) have been through the horizontal pass
    std::vector<uint32_t> acc(size_t(dw) * 4);
    for (int y = 0; y < dh; ++y) {
        const int first = yTaps.first[y];
        for (; done < first + yTaps.count; ++done)
            horizontal(src.constScanLine(done), bpp, xTaps, rowAt(done));
        std::fill(acc.begin(), acc.end(), 0u);
        const int16_t* w = yTaps.of(y);
        for (int k = 0; k < yTaps.count; ++k) {
            if (w[k] != 0)
                accumulate(rowAt(first + k), uint16_t(w[k]), acc.data(), dw * 4);
        }
        narrow(acc.data(), dw, bpp, dst.scanLine(y));
    }
    return dst;
}

} // namespace Internal

QImage resize(const QImage& image, QSize size)
{
    return Internal::resizeRegion(image, size, image.width(), 1, image.height(), 1);
}

} // namespace Imaging
