// SPDX-License-Identifier: MIT
// What keeping the list's pictures on disk costs: making a picture (PNG encode + spool write), its
// first decode, a cached decode, reading its bytes back for a save, and the spool's size, for a
// list of 999 thumbnails of 120 x 90 with photo-like detail.
//
//   listpicture_bench [COUNT]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <vector>

#include "components/listpicture.h"

namespace
{

// Smooth colour fields with a little grain: compresses about as a thumbnail of a photo does.
QImage thumbnail(int seed)
{
    QImage image(120, 90, QImage::Format_RGB32);
    QRandomGenerator random(quint32(seed) + 1);
    const double a = random.bounded(6.0), b = random.bounded(6.0), c = random.bounded(6.0);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(24)) - 12;
            const auto channel = [&](double phase, double scale) {
                return std::clamp(int(128 + 100 * std::sin(phase + x / scale + y / (scale * 1.7))) + grain, 0, 255);
            };
            line[x] = qRgb(channel(a, 11), channel(b, 17), channel(c, 23));
        }
    }
    return image;
}

double msSince(const QElapsedTimer& timer, int count)
{
    return double(timer.nsecsElapsed()) / 1e6 / count;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 999;

    std::vector<QImage> images;
    images.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        images.push_back(thumbnail(i));

    QElapsedTimer timer;
    timer.start();
    std::vector<ListPicture> pictures(images.begin(), images.end());
    const double make = msSince(timer, count);

    timer.restart();
    qint64 pixels = 0;
    for (const ListPicture& p : pictures)
        pixels += p.toImage().width();
    const double firstDecode = msSince(timer, count);

    // The last 64 are in the decoded cache now: what a repaint of a screenful costs.
    timer.restart();
    constexpr int Repaints = 100;
    for (int k = 0; k < Repaints; ++k)
        for (int i = std::max(0, count - 32); i < count; ++i)
            pixels += pictures[size_t(i)].toImage().width();
    const double cached = msSince(timer, Repaints * std::min(count, 32));

    timer.restart();
    qint64 bytes = 0;
    for (const ListPicture& p : pictures)
        bytes += p.png().size();
    const double read = msSince(timer, count);

    const PictureSpool::Statistics s = PictureSpool::statistics();
    std::printf("%d pictures of 120 x 90 (%lld pixels touched)\n", count, static_cast<long long>(pixels));
    std::printf("  make (PNG encode + spool write)   %7.3f ms each\n", make);
    std::printf("  first decode (spool read + PNG)   %7.3f ms each\n", firstDecode);
    std::printf("  cached decode                     %7.4f ms each\n", cached);
    std::printf("  bytes for a save (spool read)     %7.3f ms each\n", read);
    std::printf("  spool: %lld pictures, %.1f KB each, %.1f MB on disk; %lld kept in memory\n",
                static_cast<long long>(s.spooledPictures), double(bytes) / count / 1024,
                double(s.spoolFileSize) / 1048576, static_cast<long long>(s.memoryPictures));
    std::printf("  decoded they would hold %.1f MB in memory\n", double(count) * 120 * 90 * 4 / 1048576);
    return 0;
}
