// SPDX-License-Identifier: MIT
// Writes a folder of large sample photos for the benchmarks: photographic-looking detail (fractal
// value noise over smooth gradients, plus sensor-like grain), alternately baseline and progressive.
//
//   photoset_bench FOLDER [--count 30] [--size 4000x3000] [--first 1] [--exif-thumbnail]
//
// With --exif-thumbnail every photo carries a camera-like EXIF block with a 160 x 120 embedded
// thumbnail, as camera photos do.
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QStringList>
#include <QtConcurrent/QtConcurrentMap>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{

uint32_t hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

// Smooth value noise on a lattice of the given cell size, in 0..1.
struct ValueNoise {
    int cell;
    uint32_t seed;
    float lattice(int x, int y) const { return float(hash(uint32_t(x) * 73856093U ^ uint32_t(y) * 19349663U ^ seed) & 0xFFFF) / 65535.0f; }
    float at(int x, int y) const
    {
        const int cx = x / cell, cy = y / cell;
        const float fx = float(x % cell) / float(cell), fy = float(y % cell) / float(cell);
        const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
        const float a = lattice(cx, cy), b = lattice(cx + 1, cy), c = lattice(cx, cy + 1), d = lattice(cx + 1, cy + 1);
        return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
    }
};

QImage picture(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::vector<ValueNoise> octaves;
    for (int cell = std::max(w, h) / 3; cell >= 2; cell /= 2)
        octaves.push_back({cell, uint32_t(seed) * 2654435761U + uint32_t(cell)});
    const float hue = float(seed % 7) / 7.0f;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            float v = 0, amp = 0.5f, r = 0, g = 0;
            for (size_t o = 0; o < octaves.size(); ++o) {
                const float n = octaves[o].at(x, y);
                v += n * amp;
                if (o == 1)
                    r = n;
                if (o == 2)
                    g = n;
                amp *= 0.55f;
            }
            const float grain = float(int(hash(uint32_t(x) * 9176U + uint32_t(y) * 7919U + uint32_t(seed)) & 31) - 16);
            const float sky = float(y) / float(h);
            const int R = int(255 * (0.55f * v + 0.35f * r + 0.1f * hue) + grain);
            const int G = int(255 * (0.6f * v + 0.3f * g + 0.1f * (1 - sky)) + grain);
            const int B = int(255 * (0.5f * v + 0.3f * (1 - r) + 0.2f * sky) + grain);
            line[x] = qRgb(std::clamp(R, 0, 255), std::clamp(G, 0, 255), std::clamp(B, 0, 255));
        }
    }
    return image;
}

QByteArray encode(const QImage& image, bool progressive, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

void put16(QByteArray& b, int at, uint16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}
void put32(QByteArray& b, int at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A little-endian EXIF block: IFD0 with Make, Model and DateTime, IFD1 with the JPEG thumbnail.
QByteArray exifSegment(const QByteArray& thumbnail)
{
    const QByteArray make("Benchcam\0", 9), model("Benchcam B12\0", 13), date("2026:12:07 12:00:00\0", 20);
    QByteArray tiff(8, '\0');
    tiff[0] = 'I';
    tiff[1] = 'I';
    put16(tiff, 2, 42);
    put32(tiff, 4, 8);
    const int ifd0 = 8, ifd0Size = 2 + 3 * 12 + 4;
    const int ifd1 = ifd0 + ifd0Size, ifd1Size = 2 + 3 * 12 + 4;
    const int data = ifd1 + ifd1Size;
    const int makeAt = data, modelAt = makeAt + int(make.size()), dateAt = modelAt + int(model.size());
    const int thumbAt = dateAt + int(date.size());
    tiff.resize(thumbAt + thumbnail.size());
    auto entry = [&](int at, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        put16(tiff, at, tag);
        put16(tiff, at + 2, type);
        put32(tiff, at + 4, count);
        put32(tiff, at + 8, value);
    };
    put16(tiff, ifd0, 3);
    entry(ifd0 + 2, 0x010F, 2, uint32_t(make.size()), uint32_t(makeAt));
    entry(ifd0 + 14, 0x0110, 2, uint32_t(model.size()), uint32_t(modelAt));
    entry(ifd0 + 26, 0x0132, 2, uint32_t(date.size()), uint32_t(dateAt));
    put32(tiff, ifd0 + 38, uint32_t(ifd1));
    put16(tiff, ifd1, 3);
    entry(ifd1 + 2, 0x0103, 3, 1, 6);
    entry(ifd1 + 14, 0x0201, 4, 1, uint32_t(thumbAt));
    entry(ifd1 + 26, 0x0202, 4, 1, uint32_t(thumbnail.size()));
    put32(tiff, ifd1 + 38, 0);
    tiff.replace(makeAt, make.size(), make);
    tiff.replace(modelAt, model.size(), model);
    tiff.replace(dateAt, date.size(), date);
    tiff.replace(thumbAt, thumbnail.size(), thumbnail);
    QByteArray app1("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    app1.append(char(length >> 8)).append(char(length & 0xFF));
    app1.append(QByteArray("Exif\0\0", 6)).append(tiff);
    return app1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: photoset_bench FOLDER [--count N] [--size WxH] [--first K] [--exif-thumbnail]\n");
        return 2;
    }
    const QString folder = args.takeFirst();
    int count = 30, first = 1, w = 4000, h = 3000;
    bool thumbnail = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--count" && i + 1 < args.size())
            count = args[++i].toInt();
        else if (args[i] == "--first" && i + 1 < args.size())
            first = args[++i].toInt();
        else if (args[i] == "--size" && i + 1 < args.size()) {
            const QStringList wh = args[++i].split('x');
            w = wh.value(0).toInt();
            h = wh.value(1).toInt();
        } else if (args[i] == "--exif-thumbnail")
            thumbnail = true;
    }
    QDir().mkpath(folder);
    std::vector<int> numbers;
    for (int i = first; i < first + count; ++i)
        numbers.push_back(i);
    QtConcurrent::blockingMap(numbers, [&](int i) {
        const QImage image = picture(w, h, i);
        const bool progressive = i % 2 == 0;
        QByteArray bytes = encode(image, progressive, 92);
        if (thumbnail) {
            const QImage small = image.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            bytes.insert(2, exifSegment(encode(small, false, 80)));
        }
        QFile file(QDir(folder).filePath(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'))));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        std::printf("%s %dx%d %s\n", qPrintable(file.fileName()), w, h, progressive ? "progressive" : "baseline");
    });
    return 0;
}
