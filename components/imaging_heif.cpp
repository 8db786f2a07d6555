// SPDX-License-Identifier: MIT
// The component's only door to libheif: HEIF photos (HEVC-coded HEIC, AV1-coded AVIF) come out as
// the same upright, 8-bit, sRGB pictures a JPEG gives. libheif applies the file's own rotation,
// mirroring and crop; colour profiles (ICC or nclx) are converted to sRGB; an alpha channel is
// flattened onto white; an HDR picture (PQ or HLG transfer) is tone-mapped to standard range here,
// since Qt's colour spaces know neither transfer.
#include "components/imaging.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include <QColorSpace>
#include <QLoggingCategory>
#include <QPointF>

#include <libheif/heif.h>

#include "components/imaging_internal.h"
#include "components/workerpool.h"

Q_DECLARE_LOGGING_CATEGORY(lcImaging)

namespace Imaging
{

namespace
{

using Context = std::unique_ptr<heif_context, decltype(&heif_context_free)>;
using Handle = std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)>;
using Image = std::unique_ptr<heif_image, decltype(&heif_image_release)>;
using Options = std::unique_ptr<heif_decoding_options, decltype(&heif_decoding_options_free)>;
using NclxProfile = std::unique_ptr<heif_color_profile_nclx, decltype(&heif_nclx_color_profile_free)>;

// Decodes of several photos at once share this much memory (libheif's YCbCr planes plus its RGB
// output, estimated); a decode that needs more than is free waits for others to finish, and one
// larger than all of it runs alone. Two 12 MP photos take about 110 MB; two 200 MP ones would take
// 2 GB and so are decoded one after the other.
constexpr qint64 kDecodeMemoryBudget = qint64(1200) << 20;

class MemoryGate
{
public:
    qint64 enter(qint64 wanted)
    {
        std::unique_lock lock(m_mutex);
        const qint64 take = std::min(wanted, kDecodeMemoryBudget);
        m_free.wait(lock, [&] { return m_used + take <= kDecodeMemoryBudget; });
        m_used += take;
        ++m_decodes;
        return take;
    }
    void leave(qint64 taken)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_used -= taken;
            --m_decodes;
        }
        m_free.notify_all();
    }
    int decodes() const
    {
        const std::lock_guard lock(m_mutex);
        return m_decodes;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_free;
    qint64 m_used = 0;
    int m_decodes = 0;
};

MemoryGate& gate()
{
    static MemoryGate instance;
    return instance;
}

struct GatePass {
    qint64 taken;
    explicit GatePass(qint64 wanted) : taken(gate().enter(wanted)) {}
    ~GatePass() { gate().leave(taken); }
    GatePass(const GatePass&) = delete;
    GatePass& operator=(const GatePass&) = delete;
};

// What went wrong, in the terms PhotoCheck reports.
Internal::HeifFault faultOf(const heif_error& error)
{
    if (error.code == heif_error_Memory_allocation_error || error.subcode == heif_suberror_Security_limit_exceeded)
        return Internal::HeifFault::TooLarge;
    switch (error.code) {
    case heif_error_Unsupported_filetype:
    case heif_error_Unsupported_feature:
    case heif_error_Plugin_loading_error:
        return Internal::HeifFault::NotAPhoto;
    default:
        break;
    }
    switch (error.subcode) {
    case heif_suberror_No_meta_box:
    case heif_suberror_No_pitm_box:
    case heif_suberror_No_or_invalid_primary_item:
    case heif_suberror_Unsupported_codec:
    case heif_suberror_Unsupported_image_type:
        return Internal::HeifFault::NotAPhoto;
    default:
        return Internal::HeifFault::Damaged;
    }
}

QString textOf(const heif_error& error)
{
    return QString::fromUtf8(error.message ? error.message : "unknown libheif error");
}

// The top-level boxes of the file, by their sizes: Complete when they end exactly at the end of
// the file, CutShort when one runs past it.
bool boxesRunPastEnd(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 size = bytes.size();
    qint64 at = 0;
    while (at < size) {
        if (size - at < 8)
            return true;
        quint64 box = quint64(p[at]) << 24 | quint64(p[at + 1]) << 16 | quint64(p[at + 2]) << 8 | p[at + 3];
        qint64 header = 8;
        if (box == 1) {
            if (size - at < 16)
                return true;
            box = 0;
            for (int i = 0; i < 8; ++i)
                box = box << 8 | p[at + 8 + i];
            header = 16;
        } else if (box == 0) {
            return false; // the last box, up to the end of the file
        }
        if (box < quint64(header))
            return false; // malformed rather than cut short: libheif says so itself
        if (box > quint64(size - at))
            return true;
        at += qint64(box);
    }
    return false;
}

// An image sequence (a burst, a moving picture) by its major brand: without a still image beside
// its frames it is no photo.
bool isSequence(const QByteArray& bytes)
{
    const QByteArray brand = bytes.mid(8, 4);
    return brand == "msf1" || brand == "hevs" || brand == "avis";
}

// A libheif context on the file's bytes, with limits of our own: the picture-size limit the rest of
// the program keeps, and memory blocks large enough for such a picture at 16 bits a channel.
struct Opened {
    Context context{nullptr, heif_context_free};
    Handle primary{nullptr, heif_image_handle_release};
    heif_error error = heif_error_success;
};

Opened open(const QByteArray& bytes, qint64 maxPixels)
{
    Internal::initHeif();
    Opened opened;
    opened.context.reset(heif_context_alloc());
    if (!opened.context) {
        opened.error = {heif_error_Memory_allocation_error, heif_suberror_Unspecified, "cannot allocate a context"};
        return opened;
    }
    heif_security_limits limits = *heif_get_global_security_limits();
    limits.max_image_size_pixels = quint64(maxPixels);
    limits.max_memory_block_size = quint64(maxPixels) * 8;
    heif_context_set_security_limits(opened.context.get(), &limits);
    opened.error = heif_context_read_from_memory_without_copy(opened.context.get(), bytes.constData(),
                                                              size_t(bytes.size()), nullptr);
    if (opened.error.code != heif_error_Ok)
        return opened;
    heif_image_handle* handle = nullptr;
    opened.error = heif_context_get_primary_image_handle(opened.context.get(), &handle);
    opened.primary.reset(handle);
    return opened;
}

// ---- Colour

struct Chromaticities {
    QPointF white, red, green, blue;
};

constexpr QPointF kD65(0.3127, 0.3290);

bool chromaticitiesOf(int primaries, Chromaticities& out)
{
    switch (primaries) {
    case heif_color_primaries_ITU_R_BT_709_5:
        out = {kD65, {0.640, 0.330}, {0.300, 0.600}, {0.150, 0.060}};
        return true;
    case heif_color_primaries_ITU_R_BT_2020_2_and_2100_0:
        out = {kD65, {0.708, 0.292}, {0.170, 0.797}, {0.131, 0.046}};
        return true;
    case heif_color_primaries_SMPTE_EG_432_1: // Display P3
        out = {kD65, {0.680, 0.320}, {0.265, 0.690}, {0.150, 0.060}};
        return true;
    case heif_color_primaries_SMPTE_RP_431_2: // DCI P3, its own white
        out = {{0.314, 0.351}, {0.680, 0.320}, {0.265, 0.690}, {0.150, 0.060}};
        return true;
    case heif_color_primaries_ITU_R_BT_601_6:
    case heif_color_primaries_SMPTE_240M:
        out = {kD65, {0.630, 0.340}, {0.310, 0.595}, {0.155, 0.070}};
        return true;
    default:
        return false; // unspecified or rare: taken as sRGB
    }
}

bool isHdrTransfer(int transfer)
{
    return transfer == heif_transfer_characteristic_ITU_R_BT_2100_0_PQ ||
           transfer == heif_transfer_characteristic_ITU_R_BT_2100_0_HLG;
}

// The colour space an SDR nclx description names; invalid when it is sRGB already.
QColorSpace colourSpaceOfNclx(const heif_color_profile_nclx& nclx)
{
    Chromaticities c;
    const bool known = chromaticitiesOf(nclx.color_primaries, c);
    QColorSpace::TransferFunction transfer = QColorSpace::TransferFunction::SRgb;
    float gamma = 0;
    switch (nclx.transfer_characteristics) {
    case heif_transfer_characteristic_linear:
        transfer = QColorSpace::TransferFunction::Linear;
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
        transfer = QColorSpace::TransferFunction::Gamma;
        gamma = 2.2f;
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
        transfer = QColorSpace::TransferFunction::Gamma;
        gamma = 2.8f;
        break;
    default: // sRGB, and BT.709's camera curve, which displays much like it
        break;
    }
    if ((!known || nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5) &&
        transfer == QColorSpace::TransferFunction::SRgb)
        return {};
    if (!known)
        chromaticitiesOf(heif_color_primaries_ITU_R_BT_709_5, c);
    return QColorSpace(c.white, c.red, c.green, c.blue, transfer, gamma);
}

// 3 x 3 matrices for the HDR mapping's change of primaries.
using Matrix = std::array<double, 9>;

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m[r * 3 + c] = a[r * 3] * b[c] + a[r * 3 + 1] * b[3 + c] + a[r * 3 + 2] * b[6 + c];
    return m;
}

Matrix inverse(const Matrix& m)
{
    const double det =
        m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) + m[2] * (m[3] * m[7] - m[4] * m[6]);
    const double d = det == 0 ? 0 : 1 / det;
    return {(m[4] * m[8] - m[5] * m[7]) * d, (m[2] * m[7] - m[1] * m[8]) * d, (m[1] * m[5] - m[2] * m[4]) * d,
            (m[5] * m[6] - m[3] * m[8]) * d, (m[0] * m[8] - m[2] * m[6]) * d, (m[2] * m[3] - m[0] * m[5]) * d,
            (m[3] * m[7] - m[4] * m[6]) * d, (m[1] * m[6] - m[0] * m[7]) * d, (m[0] * m[4] - m[1] * m[3]) * d};
}

// Linear RGB of these primaries to CIE XYZ.
Matrix toXyz(const Chromaticities& c)
{
    const auto xyz = [](QPointF p) { return std::array<double, 3>{p.x() / p.y(), 1.0, (1 - p.x() - p.y()) / p.y()}; };
    const auto r = xyz(c.red), g = xyz(c.green), b = xyz(c.blue), w = xyz(c.white);
    const Matrix m{r[0], g[0], b[0], r[1], g[1], b[1], r[2], g[2], b[2]};
    const Matrix inv = inverse(m);
    const double s[3] = {inv[0] * w[0] + inv[1] * w[1] + inv[2] * w[2], inv[3] * w[0] + inv[4] * w[1] + inv[5] * w[2],
                         inv[6] * w[0] + inv[7] * w[1] + inv[8] * w[2]};
    return {m[0] * s[0], m[1] * s[1], m[2] * s[2], m[3] * s[0], m[4] * s[1],
            m[5] * s[2], m[6] * s[0], m[7] * s[1], m[8] * s[2]};
}

// HDR to standard range. The signal is turned into light relative to HDR reference white (203 cd/m²,
// BT.2408), which becomes sRGB white: PQ by its absolute curve, HLG through its inverse OETF and the
// OOTF of a 1000 cd/m² display (system gamma 1.2, on the scene luminance), where 75 % signal is
// reference white. Light above 0.8 of white is rolled off smoothly (slope 1 at the knee, approaching
// white), on the brightest channel so that hues keep their balance; then the primaries change to
// sRGB's and the sRGB curve encodes 8 bits. Highlights are so compressed rather than clipped, and
// mid-tones and skin keep the brightness a standard rendition gives them.
class HdrMapper
{
public:
    HdrMapper(int transfer, int primaries, int bits)
        : m_hlg(transfer == heif_transfer_characteristic_ITU_R_BT_2100_0_HLG)
    {
        const int levels = 1 << bits;
        m_toLight.resize(size_t(levels));
        for (int i = 0; i < levels; ++i) {
            const double e = double(i) / (levels - 1);
            double light;
            if (m_hlg) { // scene light, 0..1
                constexpr double a = 0.17883277, b = 0.28466892, c = 0.55991073;
                light = e <= 0.5 ? e * e / 3 : (std::exp((e - c) / a) + b) / 12;
            } else { // display light in cd/m², relative to reference white
                constexpr double m1 = 2610.0 / 16384, m2 = 2523.0 / 4096 * 128;
                constexpr double c1 = 3424.0 / 4096, c2 = 2413.0 / 4096 * 32, c3 = 2392.0 / 4096 * 32;
                const double p = std::pow(e, 1 / m2);
                light = 10000 * std::pow(std::max(p - c1, 0.0) / (c2 - c3 * p), 1 / m1) / kReferenceWhite;
            }
            m_toLight[size_t(i)] = float(light);
        }
        Chromaticities source, srgb;
        if (!chromaticitiesOf(primaries, source))
            chromaticitiesOf(heif_color_primaries_ITU_R_BT_2020_2_and_2100_0, source);
        chromaticitiesOf(heif_color_primaries_ITU_R_BT_709_5, srgb);
        const Matrix m = multiply(inverse(toXyz(srgb)), toXyz(source));
        const Matrix sourceXyz = toXyz(source);
        for (int i = 0; i < 9; ++i)
            m_matrix[size_t(i)] = float(m[size_t(i)]);
        for (int i = 0; i < 3; ++i)
            m_luma[size_t(i)] = float(sourceXyz[size_t(3 + i)]);
        m_encode.resize(kEncodeSteps + 1);
        for (int i = 0; i <= kEncodeSteps; ++i) {
            const double v = double(i) / kEncodeSteps;
            const double s = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
            m_encode[size_t(i)] = uchar(std::lround(std::clamp(s, 0.0, 1.0) * 255));
        }
    }

    // One pixel of 16-bit samples to 8-bit sRGB.
    void map(const quint16* in, uchar* out) const
    {
        const size_t top = m_toLight.size() - 1;
        float rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = m_toLight[std::min<size_t>(in[c], top)];
        if (m_hlg) {
            const float y = m_luma[0] * rgb[0] + m_luma[1] * rgb[1] + m_luma[2] * rgb[2];
            const float gain = y > 0 ? float(1000.0 / kReferenceWhite * std::pow(double(y), 0.2)) : 0.f;
            for (float& v : rgb)
                v *= gain;
        }
        float out3[3];
        for (int r = 0; r < 3; ++r)
            out3[r] = std::max(0.f, m_matrix[size_t(r * 3)] * rgb[0] + m_matrix[size_t(r * 3 + 1)] * rgb[1] +
                                        m_matrix[size_t(r * 3 + 2)] * rgb[2]);
        const float peak = std::max({out3[0], out3[1], out3[2]});
        if (peak > kKnee) {
            const float rolled = kKnee + (1 - kKnee) * (1 - std::exp(-(peak - kKnee) / (1 - kKnee)));
            const float scale = rolled / peak;
            for (float& v : out3)
                v *= scale;
        }
        for (int c = 0; c < 3; ++c)
            out[c] = m_encode[size_t(std::lround(std::min(out3[c], 1.f) * kEncodeSteps))];
    }

private:
    static constexpr double kReferenceWhite = 203;
    static constexpr float kKnee = 0.8f;
    static constexpr int kEncodeSteps = 16383;
    bool m_hlg;
    std::vector<float> m_toLight;
    std::array<float, 9> m_matrix{};
    std::array<float, 3> m_luma{};
    std::vector<uchar> m_encode;
};

// ---- Decoding

// The decoded picture as an 8-bit QImage sharing libheif's buffer where it can (RGB888, or
// RGBX8888 once an alpha channel is flattened onto white), so a large photo is not copied.
QImage wrap(Image image, bool alpha)
{
    int stride = 0;
    uchar* data = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    const int w = heif_image_get_primary_width(image.get());
    const int h = heif_image_get_primary_height(image.get());
    if (!data || w <= 0 || h <= 0)
        return {};
    if (alpha) {
        for (int y = 0; y < h; ++y) {
            uchar* p = data + qint64(y) * stride;
            for (int x = 0; x < w; ++x, p += 4) {
                const uint a = p[3];
                for (int c = 0; c < 3; ++c)
                    p[c] = uchar((p[c] * a + 255 * (255 - a) + 127) / 255);
                p[3] = 255;
            }
        }
    }
    heif_image* raw = image.release();
    return QImage(
        data, w, h, stride, alpha ? QImage::Format_RGBX8888 : QImage::Format_RGB888,
        [](void* info) { heif_image_release(static_cast<heif_image*>(info)); }, raw);
}

QImage mapHdr(const heif_image* image, bool alpha, const heif_color_profile_nclx& nclx)
{
    int stride = 0;
    const uchar* data = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const int w = heif_image_get_primary_width(image);
    const int h = heif_image_get_primary_height(image);
    const int bits = heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved);
    if (!data || w <= 0 || h <= 0 || bits < 8 || bits > 16)
        return {};
    QImage out(w, h, QImage::Format_RGB888);
    if (out.isNull())
        return {};
    const HdrMapper mapper(nclx.transfer_characteristics, nclx.color_primaries, bits);
    const int channels = alpha ? 4 : 3;
    const uint maxValue = (1u << bits) - 1;
    std::vector<quint16> line(size_t(w) * channels);
    for (int y = 0; y < h; ++y) {
        std::memcpy(line.data(), data + qint64(y) * stride, line.size() * 2); // little-endian samples
        uchar* o = out.scanLine(y);
        for (int x = 0; x < w; ++x, o += 3) {
            const quint16* p = line.data() + size_t(x) * channels;
            mapper.map(p, o);
            if (alpha) {
                const uint a = std::min<uint>(p[3], maxValue);
                for (int c = 0; c < 3; ++c)
                    o[c] = uchar((o[c] * a + 255 * (maxValue - a) + maxValue / 2) / maxValue);
            }
        }
    }
    return out;
}

// Tile threads of libheif's own: both cores for a photo decoded alone, none (the calling thread)
// when the worker pool already decodes a photo on every core.
int tileThreads()
{
    const int cores = WorkerPool::coreCount();
    return gate().decodes() >= cores ? 0 : cores;
}

struct Decoded {
    QImage image;
    QColorSpace space; // of image; invalid when it is sRGB
    heif_error error = heif_error_success;
};

Decoded decode(heif_context* context, const heif_image_handle* handle)
{
    Decoded out;
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    heif_color_profile_nclx* rawNclx = nullptr;
    QByteArray icc;
    if (const size_t iccSize = heif_image_handle_get_raw_color_profile_size(handle); iccSize > 0) {
        icc.resize(qsizetype(iccSize));
        if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            icc.clear();
    }
    if (heif_image_handle_get_nclx_color_profile(handle, &rawNclx).code != heif_error_Ok)
        rawNclx = nullptr;
    const NclxProfile nclx(rawNclx, heif_nclx_color_profile_free);
    const bool hdr = icc.isEmpty() && nclx && isHdrTransfer(nclx->transfer_characteristics);

    const qint64 pixels = qint64(heif_image_handle_get_width(handle)) * heif_image_handle_get_height(handle);
    const int luma = std::max(8, heif_image_handle_get_luma_bits_per_pixel(handle));
    const qint64 sampleBytes = luma > 8 ? 2 : 1;
    // YCbCr 4:2:0 planes, then the interleaved RGB(A) result.
    const GatePass pass(pixels * sampleBytes * 3 / 2 + pixels * (hdr ? 2 : 1) * (alpha ? 4 : 3) +
                        pixels * (alpha ? sampleBytes : 0));
    heif_context_set_max_decoding_threads(context, tileThreads());

    const Options options(heif_decoding_options_alloc(), heif_decoding_options_free);
    options->convert_hdr_to_8bit = hdr ? 0 : 1;
    const heif_chroma chroma = hdr ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                                   : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    heif_image* raw = nullptr;
    out.error = heif_decode_image(handle, &raw, heif_colorspace_RGB, chroma, options.get());
    Image image(raw, heif_image_release);
    if (out.error.code != heif_error_Ok)
        return out;
    if (hdr) {
        out.image = mapHdr(image.get(), alpha, *nclx);
    } else {
        out.image = wrap(std::move(image), alpha);
        if (!icc.isEmpty())
            out.space = QColorSpace::fromIccProfile(icc);
        else if (nclx)
            out.space = colourSpaceOfNclx(*nclx);
        if (out.space.isValid() && out.space == QColorSpace(QColorSpace::SRgb))
            out.space = QColorSpace();
    }
    if (out.image.isNull())
        out.error = {heif_error_Memory_allocation_error, heif_suberror_Unspecified, "cannot hold the picture"};
    return out;
}

bool sameShape(QSize a, QSize b)
{
    const QSize fitted = fitSize(a, b);
    return fitted.isValid() && std::abs(fitted.width() - b.width()) <= 1 && std::abs(fitted.height() - b.height()) <= 1;
}

// The smallest thumbnail image that still covers target and has the primary picture's shape after
// the transformations; a thumbnail of another aspect, turn or crop is never used.
Decoded decodeThumbnail(heif_context* context, const heif_image_handle* primary, QSize full, QSize target)
{
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count <= 0)
        return {};
    std::vector<heif_item_id> ids(static_cast<size_t>(count));
    heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    Handle best(nullptr, heif_image_handle_release);
    for (const heif_item_id id : ids) {
        heif_image_handle* raw = nullptr;
        if (heif_image_handle_get_thumbnail(primary, id, &raw).code != heif_error_Ok)
            continue;
        Handle thumb(raw, heif_image_handle_release);
        const QSize size(heif_image_handle_get_width(raw), heif_image_handle_get_height(raw));
        if (size.width() < target.width() || size.height() < target.height() || size.width() >= full.width() ||
            !sameShape(full, size))
            continue;
        if (!best || size.width() < heif_image_handle_get_width(best.get()))
            best = std::move(thumb);
    }
    if (!best)
        return {};
    Decoded decoded = decode(context, best.get());
    // The decoded size is the one that counts: it has the thumbnail's own transformations applied.
    if (decoded.image.isNull() || decoded.image.width() < target.width() || decoded.image.height() < target.height() ||
        !sameShape(full, decoded.image.size()))
        return {};
    return decoded;
}

} // namespace

namespace Internal
{

void initHeif()
{
    // On the first HEIF file a process meets, not at start: loading the decoder plug-ins costs a
    // few milliseconds that a run over JPEG photos alone (a re-created album) need not pay.
    // Never paired with heif_deinit(): that unloads the decoder plug-ins, after which blocks a plug-in
    // keeps for itself until the process ends can no longer be told apart from our own by the leak
    // checker. The plug-ins stay loaded for the life of the process, as they would anyway.
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

bool isHeif(const QByteArray& head)
{
    if (head.size() < 12 || head.mid(4, 4) != "ftyp")
        return false;
    return heif_check_filetype(reinterpret_cast<const uint8_t*>(head.constData()),
                               int(std::min<qsizetype>(head.size(), 1 << 20))) != heif_filetype_no;
}

QSize heifSize(const QByteArray& bytes)
{
    const Opened opened = open(bytes, kMaxPixels);
    if (!opened.primary)
        return {};
    return {heif_image_handle_get_width(opened.primary.get()), heif_image_handle_get_height(opened.primary.get())};
}

LoadResult loadHeif(const QByteArray& bytes, QSize fitBox, qint64 maxPixels)
{
    LoadResult result;
    result.format = FileFormat::Heif;
    const Opened opened = open(bytes, maxPixels);
    if (opened.error.code != heif_error_Ok || !opened.primary) {
        result.error = textOf(opened.error);
        return result;
    }
    heif_image_handle* primary = opened.primary.get();
    const QSize full(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary));
    if (full.isEmpty()) {
        result.error = QStringLiteral("no picture size");
        return result;
    }
    const qint64 pixels = qint64(full.width()) * full.height();
    if (pixels > maxPixels) {
        result.error = QStringLiteral("picture too large: %1 x %2").arg(full.width()).arg(full.height());
        return result;
    }
    // As for JPEG: no coded picture of this many pixels fits in so few bytes.
    if (pixels > 16'000'000 && pixels / 4096 > bytes.size()) {
        result.error = QStringLiteral("picture too large for its file: %1 x %2 in %3 bytes")
                           .arg(full.width())
                           .arg(full.height())
                           .arg(bytes.size());
        return result;
    }
    result.fullSize = full;
    const bool fitting = fitBox.isValid() && !fitBox.isEmpty();
    const QSize target = fitting ? fitSize(full, fitBox) : full;

    Decoded decoded;
    if (fitting)
        decoded = decodeThumbnail(opened.context.get(), primary, full, target);
    if (decoded.image.isNull())
        decoded = decode(opened.context.get(), primary);
    if (decoded.image.isNull()) {
        result.error = textOf(decoded.error);
        return result;
    }
    QImage image = decoded.image;
    if (image.size() != target)
        image = Internal::resizeRegion(image, target, image.width(), 1, image.height(), 1);
    image = Internal::to32Bit(image); // a copy: libheif's buffer is let go with `decoded`
    if (image.isNull()) {
        result.error = QStringLiteral("cannot fit the picture");
        return result;
    }
    if (decoded.space.isValid()) {
        image.setColorSpace(decoded.space);
        image.convertToColorSpace(QColorSpace::SRgb);
    } else {
        image.setColorSpace(QColorSpace::SRgb);
    }
    result.image = image;
    return result;
}

HeifFault heifFault(const QByteArray& bytes, qint64 maxPixels)
{
    if (boxesRunPastEnd(bytes))
        return HeifFault::Damaged;
    const Opened opened = open(bytes, maxPixels);
    if (opened.error.code != heif_error_Ok || !opened.primary)
        return isSequence(bytes) ? HeifFault::NotAPhoto : faultOf(opened.error);
    const qint64 pixels =
        qint64(heif_image_handle_get_width(opened.primary.get())) * heif_image_handle_get_height(opened.primary.get());
    if (pixels > maxPixels)
        return HeifFault::TooLarge;
    const Decoded decoded = decode(opened.context.get(), opened.primary.get());
    return decoded.image.isNull() ? faultOf(decoded.error) : HeifFault::None;
}

QByteArray heifExif(const QByteArray& bytes)
{
    const Opened opened = open(bytes, kMaxPixels);
    if (!opened.primary)
        return {};
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(opened.primary.get(), "Exif", &id, 1) < 1)
        return {};
    const size_t size = heif_image_handle_get_metadata_size(opened.primary.get(), id);
    if (size < 4 || size > size_t(16) << 20)
        return {};
    QByteArray block(qsizetype(size), Qt::Uninitialized);
    if (heif_image_handle_get_metadata(opened.primary.get(), id, block.data()).code != heif_error_Ok)
        return {};
    // The block starts with the offset of the TIFF header behind these four bytes.
    const quint32 offset = quint32(uchar(block[0])) << 24 | quint32(uchar(block[1])) << 16 |
                           quint32(uchar(block[2])) << 8 | uchar(block[3]);
    if (offset > quint32(block.size()) - 4)
        return {};
    return block.mid(qsizetype(4 + offset));
}

bool heifCutShort(const QByteArray& bytes)
{
    return boxesRunPastEnd(bytes);
}

} // namespace Internal

} // namespace Imaging
