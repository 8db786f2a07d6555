// SPDX-License-Identifier: MIT
// GIF writing through giflib (Qt reads GIF but cannot write it).
#include "components/imaging_internal.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QHash>

#include <gif_lib.h>

namespace Imaging::Internal
{

namespace
{

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};
using GifWriter = std::unique_ptr<GifFileType, GifCloser>;

struct MapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapFreer>;

int appendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// A pixel at most half covered is written as the transparent colour.
constexpr int kTransparentBelow = 128;

struct Indexed {
    std::vector<GifByteType> pixels;
    std::vector<GifColorType> colours;
    int transparent = -1;
};

// Exact palette when the picture has few enough colours (a GIF read back, a drawing), otherwise
// giflib's median-cut quantiser. Colours are sorted so the result does not depend on hashing.
Indexed indexed(const QImage& image, bool withTransparency)
{
    const int w = image.width(), h = image.height();
    const int limit = withTransparency ? 255 : 256;
    Indexed out;
    out.pixels.resize(size_t(w) * h);

    std::vector<QRgb> opaque(size_t(w) * h);
    std::vector<bool> clear(withTransparency ? size_t(w) * h : 0);
    QHash<QRgb, int> unique;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            const QRgb p = qUnpremultiply(line[x]);
            opaque[i] = p | 0xFF000000u;
            if (withTransparency && qAlpha(p) < kTransparentBelow) {
                clear[i] = true;
                continue;
            }
            if (unique.size() <= limit)
                unique.insert(opaque[i], 0);
        }
    }

    if (unique.size() <= limit) {
        std::vector<QRgb> palette(unique.keyBegin(), unique.keyEnd());
        std::sort(palette.begin(), palette.end());
        for (int i = 0; i < int(palette.size()); ++i) {
            unique[palette[i]] = i;
            out.colours.push_back(GifColorType{GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                                               GifByteType(qBlue(palette[i]))});
        }
        for (size_t i = 0; i < opaque.size(); ++i)
            out.pixels[i] = (withTransparency && clear[i]) ? 0 : GifByteType(unique.value(opaque[i]));
    } else {
        std::vector<GifByteType> r(opaque.size()), g(opaque.size()), b(opaque.size());
        for (size_t i = 0; i < opaque.size(); ++i) {
            r[i] = GifByteType(qRed(opaque[i]));
            g[i] = GifByteType(qGreen(opaque[i]));
            b[i] = GifByteType(qBlue(opaque[i]));
        }
        int size = limit;
        std::vector<GifColorType> map(256);
        if (GifQuantizeBuffer(unsigned(w), unsigned(h), &size, r.data(), g.data(), b.data(), out.pixels.data(),
                              map.data()) != GIF_OK)
            return {};
        out.colours.assign(map.begin(), map.begin() + size);
    }
    if (withTransparency) {
        out.transparent = int(out.colours.size());
        out.colours.push_back(GifColorType{0, 0, 0});
        for (size_t i = 0; i < clear.size(); ++i)
            if (clear[i])
                out.pixels[i] = GifByteType(out.transparent);
    }
    return out;
}

} // namespace

QByteArray encodeGif(const QImage& source)
{
    if (source.isNull() || source.width() > 65535 || source.height() > 65535)
        return {};
    const QImage image = to32Bit(source);
    bool withTransparency = false;
    if (image.hasAlphaChannel()) {
        for (int y = 0; y < image.height() && !withTransparency; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(line[x]) < kTransparentBelow) {
                    withTransparency = true;
                    break;
                }
        }
    }
    Indexed pic = indexed(image, withTransparency);
    if (pic.colours.empty())
        return {};

    // GifMakeMapObject wants a power of two entries (at least two).
    const int bits = std::max(1, GifBitSize(int(pic.colours.size())));
    pic.colours.resize(size_t(1) << bits, GifColorType{0, 0, 0});
    const ColorMap map(GifMakeMapObject(int(pic.colours.size()), pic.colours.data()));
    if (!map)
        return {};

    QByteArray bytes;
    int error = 0;
    GifWriter gif(EGifOpen(&bytes, appendToBuffer, &error));
    if (!gif)
        return {};
    EGifSetGifVersion(gif.get(), withTransparency);
    if (EGifPutScreenDesc(gif.get(), image.width(), image.height(), bits, 0, map.get()) != GIF_OK)
        return {};
    if (withTransparency) {
        const GifByteType control[4] = {0x01, 0, 0, GifByteType(pic.transparent)};
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, control) != GIF_OK)
            return {};
    }
    if (EGifPutImageDesc(gif.get(), 0, 0, image.width(), image.height(), false, nullptr) != GIF_OK)
        return {};
    for (int y = 0; y < image.height(); ++y)
        if (EGifPutLine(gif.get(), pic.pixels.data() + size_t(y) * image.width(), image.width()) != GIF_OK)
            return {};
    if (EGifCloseFile(gif.release(), &error) != GIF_OK)
        return {};
    return bytes;
}

} // namespace Imaging::Internal
