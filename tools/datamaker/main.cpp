// SPDX-License-Identifier: MIT
// datamaker backgrounds DIR | photos DIR
// Paints Lumivert's background tiles (seamless, so they repeat without seams) and the sample
// photos of the preview album. Deterministic: the same run gives the same pictures.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

constexpr double Pi = 3.14159265358979323846;

// Value noise on a lattice that wraps at `period` cells, so a tile of period * cell pixels repeats.
class PeriodicNoise
{
public:
    PeriodicNoise(int period, quint32 seed) : m_period(period), m_values(size_t(period * period))
    {
        QRandomGenerator random(seed);
        for (double& v : m_values)
            v = random.generateDouble();
    }
    double at(double x, double y) const // x, y in lattice cells
    {
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        const double fx = smooth(x - x0), fy = smooth(y - y0);
        auto v = [&](int i, int j) {
            i = ((i % m_period) + m_period) % m_period;
            j = ((j % m_period) + m_period) % m_period;
            return m_values[size_t(j * m_period + i)];
        };
        const double a = v(x0, y0) * (1 - fx) + v(x0 + 1, y0) * fx;
        const double b = v(x0, y0 + 1) * (1 - fx) + v(x0 + 1, y0 + 1) * fx;
        return a * (1 - fy) + b * fy;
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    int m_period;
    std::vector<double> m_values;
};

// Octaves of periodic noise over a tile of `size` pixels, 0..1.
double fractal(const std::vector<PeriodicNoise>& octaves, int size, int x, int y)
{
    double sum = 0, weight = 0, amplitude = 1;
    for (size_t o = 0; o < octaves.size(); ++o) {
        const int period = 4 << o;
        sum += amplitude * octaves[o].at(double(x) * period / size, double(y) * period / size);
        weight += amplitude;
        amplitude *= 0.5;
    }
    return sum / weight;
}

std::vector<PeriodicNoise> octaves(int count, quint32 seed)
{
    std::vector<PeriodicNoise> result;
    for (int o = 0; o < count; ++o)
        result.emplace_back(4 << o, seed + quint32(o) * 7919u);
    return result;
}

QRgb mix(QColor a, QColor b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                int(a.blue() + (b.blue() - a.blue()) * t));
}

QImage noiseTile(int size, quint32 seed, int count, const std::function<QRgb(double, int, int)>& colour)
{
    const auto o = octaves(count, seed);
    QImage tile(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            tile.setPixel(x, y, colour(fractal(o, size, x, y), x, y));
    return tile;
}

// Draws a shape at every wrapped position that can reach the tile, so it continues across edges.
void drawWrapped(QPainter& p, int size, const std::function<void(QPainter&)>& draw)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            p.save();
            p.translate(dx * size, dy * size);
            draw(p);
            p.restore();
        }
}

QImage washi()
{
    const int size = 256;
    QImage tile =
        noiseTile(size, 11, 5, [](double n, int, int) { return mix(QColor(236, 228, 210), QColor(250, 246, 236), n); });
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(12);
    for (int i = 0; i < 140; ++i) {
        const QPointF start(random.bounded(size), random.bounded(size));
        const double angle = random.generateDouble() * 2 * Pi;
        const double length = 8 + random.bounded(30);
        QPainterPath fibre(start);
        fibre.quadTo(start + QPointF(std::cos(angle + 0.6) * length / 2, std::sin(angle + 0.6) * length / 2),
                     start + QPointF(std::cos(angle) * length, std::sin(angle) * length));
        const QColor c = i % 3 ? QColor(205, 190, 160, 70) : QColor(255, 255, 255, 120);
        drawWrapped(p, size, [&](QPainter& q) {
            q.setPen(QPen(c, 0.8 + random.generateDouble()));
            q.drawPath(fibre);
        });
    }
    return tile;
}

QImage sky()
{
    return noiseTile(256, 21, 5, [](double n, int, int y) {
        const double cloud = std::clamp((n - 0.45) * 2.6, 0.0, 1.0);
        const QColor base = QColor::fromRgb(mix(QColor(176, 206, 236), QColor(196, 222, 246), y / 255.0 * 0 + 0.5));
        return mix(base, QColor(252, 253, 255), cloud);
    });
}

QImage linen()
{
    const int size = 192;
    const auto o = octaves(3, 31);
    QImage tile(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Two thread directions with a slow irregularity, periodic over the tile.
            const double warp = std::sin(2 * Pi * x / 4.0) * 0.5 + 0.5;
            const double weft = std::sin(2 * Pi * y / 4.0) * 0.5 + 0.5;
            const double slub = fractal(o, size, x, y);
            const double v = 0.55 * warp * weft + 0.25 * (warp + weft) / 2 + 0.35 * slub;
            tile.setPixel(x, y, mix(QColor(214, 206, 190), QColor(242, 238, 228), v));
        }
    return tile;
}

QImage sakura()
{
    const int size = 256;
    QImage tile =
        noiseTile(size, 41, 4, [](double n, int, int) { return mix(QColor(252, 236, 240), QColor(255, 246, 248), n); });
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(42);
    for (int i = 0; i < 14; ++i) {
        const QPointF at(random.bounded(size), random.bounded(size));
        const double angle = random.bounded(360);
        const double scale = 0.6 + random.generateDouble() * 0.7;
        const int alpha = 90 + random.bounded(80);
        drawWrapped(p, size, [&](QPainter& q) {
            q.save();
            q.translate(at);
            q.rotate(angle);
            q.scale(scale, scale);
            // A petal: a rounded teardrop with a notch at its tip.
            QPainterPath petal;
            petal.moveTo(0, 12);
            petal.cubicTo(-10, 4, -9, -10, -2, -12);
            petal.lineTo(0, -9);
            petal.lineTo(2, -12);
            petal.cubicTo(9, -10, 10, 4, 0, 12);
            QRadialGradient g(QPointF(0, 6), 16);
            g.setColorAt(0, QColor(240, 150, 175, alpha));
            g.setColorAt(1, QColor(250, 200, 215, alpha));
            q.setPen(Qt::NoPen);
            q.setBrush(g);
            q.drawPath(petal);
            q.restore();
        });
    }
    return tile;
}

QImage stripes()
{
    const int size = 160;
    QImage tile(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Diagonal bands whose period divides the tile, softened at the edges.
            const double t = std::fmod(double(x + y), 40.0) / 40.0;
            const double band = 0.5 + 0.5 * std::cos(2 * Pi * t);
            const double fine = 0.5 + 0.5 * std::cos(2 * Pi * std::fmod(double(x - y + size), 8.0) / 8.0);
            tile.setPixel(x, y, mix(QColor(236, 240, 246), QColor(222, 230, 242), band * 0.85 + fine * 0.15));
        }
    return tile;
}

QImage dots()
{
    const int size = 120;
    QImage tile =
        noiseTile(size, 61, 3, [](double n, int, int) { return mix(QColor(222, 240, 232), QColor(232, 246, 238), n); });
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    drawWrapped(p, size, [&](QPainter& q) {
        for (const QPointF c : {QPointF(30, 30), QPointF(90, 90)})
            q.drawEllipse(c, 9, 9);
        q.setBrush(QColor(190, 222, 206, 150));
        for (const QPointF c : {QPointF(90, 30), QPointF(30, 90)})
            q.drawEllipse(c, 5, 5);
        q.setBrush(QColor(255, 255, 255, 170));
    });
    return tile;
}

QImage slate()
{
    return noiseTile(256, 71, 6, [](double n, int x, int y) {
        const double grain = (((x * 73856093) ^ (y * 19349663)) & 15) / 15.0;
        return mix(QColor(28, 30, 34), QColor(52, 56, 62), n * 0.9 + grain * 0.1);
    });
}

bool save(const QImage& image, const QString& path, int quality)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// ---- sample photos: painted scenes --------------------------------------------------------

void sun(QPainter& p, QPointF at, double radius, QColor core, QColor glow)
{
    QRadialGradient g(at, radius * 4);
    g.setColorAt(0, core);
    g.setColorAt(0.25, glow);
    g.setColorAt(1, QColor(glow.red(), glow.green(), glow.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(at, radius * 4, radius * 4);
    p.setBrush(core);
    p.drawEllipse(at, radius, radius);
}

QPainterPath ridge(int width, double base, double height, quint32 seed, double roughness)
{
    PeriodicNoise n(16, seed);
    QPainterPath path(QPointF(0, base + 2000));
    for (int x = 0; x <= width; x += 4) {
        const double t = double(x) / width * 16;
        const double h = n.at(t, 0.5) * 0.7 + n.at(t * 3, 2.5) * 0.3 * roughness;
        path.lineTo(x, base - h * height);
    }
    path.lineTo(width, base + 2000);
    path.closeSubpath();
    return path;
}

QImage sunsetSea()
{
    const int w = 1600, h = 1200;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient skyG(0, 0, 0, h * 0.62);
    skyG.setColorAt(0, QColor(44, 52, 110));
    skyG.setColorAt(0.45, QColor(196, 96, 110));
    skyG.setColorAt(0.8, QColor(250, 170, 90));
    skyG.setColorAt(1, QColor(255, 214, 140));
    p.fillRect(0, 0, w, int(h * 0.62), skyG);
    sun(p, QPointF(w * 0.62, h * 0.58), 60, QColor(255, 244, 210), QColor(255, 190, 110, 150));
    QLinearGradient seaG(0, h * 0.62, 0, h);
    seaG.setColorAt(0, QColor(212, 120, 90));
    seaG.setColorAt(0.3, QColor(92, 70, 110));
    seaG.setColorAt(1, QColor(24, 30, 64));
    p.fillRect(0, int(h * 0.62), w, h - int(h * 0.62), seaG);
    QRandomGenerator random(5);
    for (int i = 0; i < 420; ++i) { // glitter on the water under the sun
        const double y = h * 0.63 + std::pow(random.generateDouble(), 1.6) * h * 0.37;
        const double spread = 30 + (y - h * 0.62) * 0.9;
        const double x = w * 0.62 + (random.generateDouble() - 0.5) * spread * 2;
        const double len = 6 + (y - h * 0.62) * 0.08;
        p.setPen(QPen(QColor(255, 220, 160, 60 + random.bounded(120)), 2 + (y - h * 0.62) / 160));
        p.drawLine(QPointF(x - len, y), QPointF(x + len, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 26, 48));
    p.drawPath(ridge(w, h * 0.62, 90, 3, 1.0).intersected(QPainterPath([&] {
        QPainterPath left;
        left.addRect(0, 0, w * 0.38, h * 0.62 + 6);
        return left;
    }())));
    for (int i = 0; i < 5; ++i) { // a few birds
        const QPointF at(w * (0.25 + i * 0.06), h * (0.22 + (i % 2) * 0.04));
        QPainterPath bird(at - QPointF(18, 0));
        bird.quadTo(at - QPointF(9, 10), at);
        bird.quadTo(at + QPointF(9, -10), at + QPointF(18, 0));
        p.setPen(QPen(QColor(40, 30, 50), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bird);
    }
    return image;
}

QImage mountainLake()
{
    const int w = 1600, h = 1200;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient skyG(0, 0, 0, h * 0.55);
    skyG.setColorAt(0, QColor(90, 150, 210));
    skyG.setColorAt(1, QColor(200, 225, 240));
    p.fillRect(0, 0, w, h, skyG);
    p.setPen(Qt::NoPen);
    // Clouds.
    QRandomGenerator random(8);
    for (int c = 0; c < 4; ++c) {
        const QPointF at(200 + c * 380 + random.bounded(80), 140 + random.bounded(120));
        p.setBrush(QColor(255, 255, 255, 200));
        for (int k = 0; k < 6; ++k)
            p.drawEllipse(at + QPointF(k * 34 - 90, (k % 2) * -18), 60 - std::abs(k - 2.5) * 8, 36);
    }
    const double shore = h * 0.62;
    QPainterPath far = ridge(w, shore, 380, 17, 1.4);
    QPainterPath near = ridge(w, shore, 200, 29, 1.0);
    p.setBrush(QColor(104, 122, 160));
    p.drawPath(far);
    // Snow on the far peaks: the same ridge clipped to its top band.
    p.save();
    p.setClipPath(far);
    p.setBrush(QColor(240, 244, 250));
    p.drawPath(ridge(w, shore - 250, 160, 17, 1.4).translated(0, 0).subtracted(ridge(w, shore - 140, 200, 99, 0.6)));
    p.restore();
    p.setBrush(QColor(46, 92, 70));
    p.drawPath(near);
    // The lake mirrors the land, darker.
    p.save();
    p.setClipRect(QRectF(0, shore, w, h - shore));
    p.translate(0, 2 * shore);
    p.scale(1, -1);
    p.setBrush(QColor(70, 88, 126));
    p.drawPath(far);
    p.setBrush(QColor(34, 66, 56));
    p.drawPath(near);
    p.restore();
    QLinearGradient water(0, shore, 0, h);
    water.setColorAt(0, QColor(120, 170, 210, 110));
    water.setColorAt(1, QColor(20, 50, 80, 200));
    p.fillRect(QRectF(0, shore, w, h - shore), water);
    for (int i = 0; i < 160; ++i) {
        const double y = shore + 10 + random.generateDouble() * (h - shore);
        const double x = random.generateDouble() * w;
        p.setPen(QPen(QColor(230, 240, 255, 60), 2));
        p.drawLine(QPointF(x, y), QPointF(x + 30 + random.bounded(60), y));
    }
    return image;
}

QImage flowerField()
{
    const int w = 1600, h = 1200;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient skyG(0, 0, 0, h * 0.45);
    skyG.setColorAt(0, QColor(120, 180, 235));
    skyG.setColorAt(1, QColor(230, 240, 250));
    p.fillRect(0, 0, w, h, skyG);
    sun(p, QPointF(w * 0.82, h * 0.12), 40, QColor(255, 252, 230), QColor(255, 240, 180, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 150, 90));
    p.drawPath(ridge(w, h * 0.45, 60, 51, 0.5));
    QLinearGradient field(0, h * 0.42, 0, h);
    field.setColorAt(0, QColor(96, 150, 70));
    field.setColorAt(1, QColor(40, 96, 40));
    p.fillRect(QRectF(0, h * 0.45, w, h * 0.55), field);
    QRandomGenerator random(9);
    const QColor petals[] = {QColor(236, 70, 90), QColor(250, 200, 60), QColor(240, 130, 170), QColor(255, 255, 250),
                             QColor(170, 110, 220)};
    for (int i = 0; i < 2600; ++i) { // far flowers small, near ones large
        const double t = std::pow(random.generateDouble(), 0.7);
        const double y = h * 0.46 + t * h * 0.56;
        const double x = random.generateDouble() * w;
        const double r = 2 + t * t * 22;
        const QColor c = petals[random.bounded(5)];
        if (r > 8) {
            p.setPen(QPen(QColor(40, 90, 40), std::max(1.0, r / 6)));
            p.drawLine(QPointF(x, y), QPointF(x + r * 0.2, y + r * 2.5));
            p.setPen(Qt::NoPen);
        }
        p.setBrush(c);
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * Pi / 5;
            p.drawEllipse(QPointF(x + std::cos(a) * r * 0.55, y + std::sin(a) * r * 0.55), r * 0.5, r * 0.5);
        }
        p.setBrush(QColor(250, 210, 80));
        p.drawEllipse(QPointF(x, y), r * 0.3, r * 0.3);
    }
    return image;
}

QImage nightCity()
{
    // Portrait: a tower among lit buildings under a starry sky.
    const int w = 1200, h = 1600;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient skyG(0, 0, 0, h);
    skyG.setColorAt(0, QColor(8, 10, 34));
    skyG.setColorAt(0.7, QColor(40, 40, 90));
    skyG.setColorAt(1, QColor(110, 70, 100));
    p.fillRect(0, 0, w, h, skyG);
    QRandomGenerator random(13);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 300; ++i) {
        p.setBrush(QColor(255, 255, 240, 80 + random.bounded(170)));
        const double r = 0.8 + random.generateDouble() * 1.8;
        p.drawEllipse(QPointF(random.bounded(w), random.bounded(int(h * 0.6))), r, r);
    }
    sun(p, QPointF(w * 0.2, h * 0.14), 46, QColor(250, 248, 225), QColor(200, 210, 255, 60));
    // The tower.
    QPainterPath tower;
    tower.moveTo(w * 0.5, h * 0.16);
    tower.lineTo(w * 0.56, h * 0.75);
    tower.lineTo(w * 0.44, h * 0.75);
    tower.closeSubpath();
    p.setBrush(QColor(20, 22, 40));
    p.drawPath(tower);
    for (int i = 0; i < 30; ++i) {
        const double y = h * (0.2 + i * 0.018);
        const double half = (y - h * 0.16) / (h * 0.59) * w * 0.06;
        p.setBrush(QColor(255, 170, 80, 200));
        p.drawRect(QRectF(w * 0.5 - half, y, half * 2, 3));
    }
    p.setBrush(QColor(255, 60, 60));
    p.drawEllipse(QPointF(w * 0.5, h * 0.16), 6, 6);
    // Buildings with windows.
    for (int b = 0; b < 18; ++b) {
        const double bw = 60 + random.bounded(110);
        const double bx = random.bounded(w) - bw / 2;
        const double top = h * (0.55 + random.generateDouble() * 0.2);
        p.setBrush(QColor(26 + random.bounded(20), 28 + random.bounded(20), 52 + random.bounded(30)));
        p.drawRect(QRectF(bx, top, bw, h - top));
        for (double wy = top + 14; wy < h - 10; wy += 22)
            for (double wx = bx + 10; wx < bx + bw - 12; wx += 18)
                if (random.bounded(100) < 45) {
                    p.setBrush(random.bounded(4) ? QColor(255, 220, 140) : QColor(180, 220, 255));
                    p.drawRect(QRectF(wx, wy, 8, 11));
                }
    }
    return image;
}

int usage()
{
    std::fprintf(stderr, "usage: datamaker backgrounds DIR | photos DIR\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return usage();
    const QString what = QString::fromLocal8Bit(argv[1]);
    const QDir dir(QString::fromLocal8Bit(argv[2]));
    if (!dir.exists() && !QDir().mkpath(dir.path()))
        return 1;
    bool ok = true;
    if (what == QLatin1String("backgrounds")) {
        const std::pair<const char*, QImage> tiles[] = {
            {"01_washi.jpg", washi()},   {"02_sky.jpg", sky()},        {"03_linen.jpg", linen()},
            {"04_sakura.jpg", sakura()}, {"05_stripe.jpg", stripes()}, {"06_dots.jpg", dots()},
            {"07_slate.jpg", slate()},
        };
        for (const auto& [name, image] : tiles)
            ok = save(image, dir.filePath(QString::fromUtf8(name)), 85) && ok;
    } else if (what == QLatin1String("photos")) {
        const std::pair<const char*, QImage> photos[] = {
            {"01_夕焼けの海.jpg", sunsetSea()},
            {"02_山と湖.jpg", mountainLake()},
            {"03_花畑.jpg", flowerField()},
            {"04_夜の街.jpg", nightCity()},
        };
        for (const auto& [name, image] : photos)
            ok = save(image, dir.filePath(QString::fromUtf8(name)), 90) && ok;
    } else {
        return usage();
    }
    return ok ? 0 : 1;
}
