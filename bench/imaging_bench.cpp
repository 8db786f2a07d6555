// SPDX-License-Identifier: MIT
// Times the two image paths of an album run on large photos and sets them beside libjpeg's own
// reduced decodes (djpeg -scale 1/8 and 1/2), the floor a thumbnail or page image can reach.
//
//   imaging_bench [folder-of-jpegs]
//
// Without a folder it makes 12-megapixel photos with photographic detail, half of them
// baseline and half progressive, in a temporary folder.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "components/imaging.h"

namespace
{

uint32_t hashOf(int x, int y, int seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double valueNoise(double x, double y, int seed)
{
    const int xi = int(std::floor(x)), yi = int(std::floor(y));
    const double fx = x - xi, fy = y - yi;
    auto at = [&](int a, int b) { return (hashOf(a, b, seed) & 0xffff) / 65535.0; };
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = at(xi, yi) + (at(xi + 1, yi) - at(xi, yi)) * sx;
    const double bottom = at(xi, yi + 1) + (at(xi + 1, yi + 1) - at(xi, yi + 1)) * sx;
    return top + (bottom - top) * sy;
}

double fractal(double x, double y, int seed, int octaves)
{
    double sum = 0, amplitude = 0.5, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x * frequency, y * frequency, seed + i);
        amplitude *= 0.5;
        frequency *= 2.03;
    }
    return sum;
}

// Sky with clouds over textured hills and a lake: detail at every scale, like a real photo,
// so the encoder and decoder do realistic work. Drawn at a third of the size, enlarged, and
// given per-pixel grain.
QImage scene(int w, int h, int seed)
{
    const int sw = w / 3, sh = h / 3;
    QImage small(sw, sh, QImage::Format_RGB32);
    const double scale = 8.0 / sw;
    for (int y = 0; y < sh; ++y) {
        auto* line = reinterpret_cast<QRgb*>(small.scanLine(y));
        for (int x = 0; x < sw; ++x) {
            const double u = x * scale, v = y * scale, fy = double(y) / sh;
            const double horizon = 0.45 + 0.24 * (fractal(u * 0.3, 0.0, seed, 4) - 0.5);
            double r, g, b;
            if (fy < horizon) {
                const double cloud = std::clamp((fractal(u * 0.8, v * 2.0, seed + 10, 6) - 0.5) * 3.0, 0.0, 1.0);
                r = 90 + 80 * fy + cloud * 150;
                g = 140 + 60 * fy + cloud * 105;
                b = 220 - 20 * fy + cloud * 30;
            } else {
                const double t = fractal(u * 2, v * 2, seed + 20, 7);
                const double d = (fy - horizon) / (1 - horizon);
                if (fractal(u * 0.5, v * 0.5, seed + 30, 3) > 0.62) {
                    r = 40 + 60 * t;
                    g = 70 + 50 * t;
                    b = 120 + 60 * t;
                } else {
                    r = 60 + 120 * t * (1 - d * 0.5);
                    g = 90 + 110 * t;
                    b = 30 + 50 * t * d;
                }
            }
            line[x] = qRgb(std::clamp(int(r), 0, 255), std::clamp(int(g), 0, 255), std::clamp(int(b), 0, 255));
        }
    }
    QImage image = small.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int grain = int(hashOf(x, y, seed) % 25) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + grain, 0, 255), std::clamp(qGreen(c) + grain, 0, 255),
                           std::clamp(qBlue(c) + grain, 0, 255));
        }
    }
    return image;
}

QStringList makePhotos(const QString& folder, int count)
{
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const bool progressive = i % 2 == 1;
        const QString path = QDir(folder).filePath(QStringLiteral("photo%1%2.jpg").arg(i).arg(progressive ? "p" : "b"));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        writer.setProgressiveScanWrite(progressive);
        if (!writer.write(scene(4000, 3000, i)))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        files << path;
    }
    return files;
}

// Best of a few runs, in milliseconds: the floor without the noise of a busy machine.
template <typename F> double bestMs(int runs, F f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

double runProgram(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    process.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Imaging::Session session;
    constexpr int kRuns = 5;

    QTemporaryDir scratch;
    QStringList files;
    if (argc > 1) {
        const QDir dir(QString::fromLocal8Bit(argv[1]));
        for (const QString& name : dir.entryList({"*.jpg", "*.jpeg", "*.JPG", "*.JPEG"}, QDir::Files, QDir::Name))
            files << dir.filePath(name);
    } else {
        std::printf("making 4 photos of 4000 x 3000 (2 baseline, 2 progressive)...\n");
        files = makePhotos(scratch.path(), 4);
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "no photos\n");
        return 1;
    }

    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    // Starting a process costs something too; measured on a tiny file and taken off.
    double startup = 0;
    if (!djpeg.isEmpty()) {
        const QString tiny = scratch.filePath("tiny.jpg");
        QImage dot(8, 8, QImage::Format_RGB32);
        dot.fill(Qt::gray);
        if (!Imaging::save(dot, tiny, Imaging::SaveKind::BaselineJpeg, 75))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(tiny));
        startup = bestMs(5, [&] { runProgram(djpeg, {"-outfile", "/dev/null", tiny}); });
    }

    std::printf("%-28s %9s %11s %10s %11s %11s %10s\n", "photo", "full ms", "thumb ms", "djpeg1/8", "page ms",
                "djpeg1/2", "thumb/1/8");
    double sumThumb = 0, sumFloor8 = 0, sumPage = 0, sumFloor2 = 0;
    for (const QString& file : files) {
        const QSize size = Imaging::imageSize(file);
        const double full = bestMs(kRuns, [&] { (void)Imaging::load(file); });
        const double thumb = bestMs(kRuns, [&] { (void)Imaging::load(file, QSize(120, 90)); });
        const QString pagePath = scratch.filePath("page.jpg");
        const double page = bestMs(kRuns, [&] {
            const Imaging::LoadResult r = Imaging::load(file, QSize(640, 480));
            (void)Imaging::save(r.image, pagePath, Imaging::SaveKind::BaselineJpeg, 75);
        });
        double floor8 = 0, floor2 = 0;
        if (!djpeg.isEmpty()) {
            floor8 = bestMs(kRuns,
                            [&] {
                                runProgram(djpeg, {"-scale", "1/8", "-outfile", "/dev/null", file});
                            }) -
                     startup;
            floor2 = bestMs(kRuns,
                            [&] {
                                runProgram(djpeg, {"-scale", "1/2", "-outfile", "/dev/null", file});
                            }) -
                     startup;
        }
        sumThumb += thumb;
        sumFloor8 += floor8;
        sumPage += page;
        sumFloor2 += floor2;
        std::printf("%-20s %4dx%-4d %8.1f %11.1f %10.1f %11.1f %11.1f %10s\n", qPrintable(QFileInfo(file).fileName()),
                    size.width(), size.height(), full, thumb, floor8, page, floor2,
                    floor8 > 0 ? qPrintable(QString::number(thumb / floor8, 'f', 2)) : "-");
    }
    const int n = int(files.size());
    std::printf("\nper photo: thumbnail %.1f ms (djpeg -scale 1/8: %.1f ms, ratio %.2f), page image %.1f ms "
                "(djpeg -scale 1/2: %.1f ms)\n",
                sumThumb / n, sumFloor8 / n, sumFloor8 > 0 ? sumThumb / sumFloor8 : 0.0, sumPage / n, sumFloor2 / n);

    // The cover effects at album strength on the largest page image.
    const QImage page = Imaging::fit(scene(1600, 1200, 7), QSize(800, 600));
    struct Effect {
        const char* name;
        std::function<QImage()> run;
    };
    const Effect effects[] = {
        {"canvas texture (0, 20)", [&] { return Imaging::canvasTexture(page, 0, 20); }},
        {"oil painting (1, 10)", [&] { return Imaging::oilPainting(page, 1, 10); }},
        {"glass tile (20, 20)", [&] { return Imaging::glassTile(page, 20, 20); }},
        {"monochrome", [&] { return Imaging::monochrome(page); }},
        {"sepia", [&] { return Imaging::toneAdjust2(Imaging::toneAdjust1(page, 40, 30, -30), -50); }},
    };
    std::printf("\neffects on %d x %d:\n", page.width(), page.height());
    for (const Effect& effect : effects)
        std::printf("  %-24s %7.1f ms\n", effect.name, bestMs(kRuns, [&] { (void)effect.run(); }));

    if (djpeg.isEmpty())
        std::printf("djpeg not found: no floor figures (install libjpeg-turbo-progs)\n");
    else
        std::printf("djpeg figures exclude %.1f ms of process start-up\n", startup);
    return 0;
}
