// SPDX-License-Identifier: MIT
// Paints the program's artwork (logos and icon) into app/widgets/art as PNG files.
// Build and run once when the drawing changes:
//   g++ -std=c++20 -fPIC tools/paintart.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/paintart
//   QT_QPA_PLATFORM=offscreen /tmp/paintart app/widgets/art
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace
{

const QColor LeafDark(0x1f, 0x6b, 0x3a);
const QColor LeafLight(0x7c, 0xc5, 0x4f);
const QColor Sun(0xff, 0xd2, 0x4a);

// The mark: a sun behind a leaf standing in a rounded square, drawn into a square of side s.
void paintMark(QPainter& p, const QRectF& box)
{
    const qreal s = box.width();
    p.save();
    p.translate(box.topLeft());
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0, QColor(0xe9, 0xf7, 0xff));
    sky.setColorAt(1, QColor(0xb5, 0xdd, 0xf2));
    p.setPen(QPen(LeafDark, qMax<qreal>(1, s / 32)));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);

    QRadialGradient glow(QPointF(s * 0.66, s * 0.34), s * 0.22);
    glow.setColorAt(0, Sun.lighter(120));
    glow.setColorAt(1, Sun);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(s * 0.66, s * 0.34), s * 0.17, s * 0.17);

    // The leaf: two arcs meeting in a point, leaning to the right.
    QPainterPath leaf;
    leaf.moveTo(s * 0.22, s * 0.84);
    leaf.cubicTo(s * 0.12, s * 0.52, s * 0.36, s * 0.26, s * 0.74, s * 0.18);
    leaf.cubicTo(s * 0.70, s * 0.56, s * 0.50, s * 0.80, s * 0.22, s * 0.84);
    QLinearGradient green(s * 0.2, s * 0.85, s * 0.75, s * 0.2);
    green.setColorAt(0, LeafDark);
    green.setColorAt(1, LeafLight);
    p.setBrush(green);
    p.drawPath(leaf);
    // Its middle vein.
    QPainterPath vein;
    vein.moveTo(s * 0.22, s * 0.84);
    vein.quadTo(s * 0.42, s * 0.52, s * 0.70, s * 0.22);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xe8, 0xf5, 0xd8), qMax<qreal>(1, s / 40), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(vein);
    p.restore();
}

QImage icon(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintMark(p, QRectF(0, 0, side, side));
    return image;
}

// The mark followed by the name; the large logo carries a line under the name.
QImage logo(int width, int height, bool large)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal mark = height * 0.9;
    paintMark(p, QRectF(height * 0.05, height * 0.05, mark, mark));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(height * (large ? 0.5 : 0.55)));
    const QRectF text(height * 1.1, 0, width - height * 1.15, large ? height * 0.78 : height);
    // The name must fit its room whatever the font's widths are.
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(QStringLiteral("Lumivert")) > text.width())
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    p.setPen(LeafDark);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Lumivert"));
    if (large) {
        QLinearGradient rule(text.left(), 0, text.right(), 0);
        rule.setColorAt(0, LeafLight);
        rule.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRectF(text.left(), height * 0.76, text.width(), qMax<qreal>(2, height / 24)), rule);
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(qMax(8, int(height * 0.14)));
        p.setFont(small);
        p.setPen(QColor(0x44, 0x55, 0x44));
        p.drawText(QRectF(text.left(), height * 0.8, text.width(), height * 0.2), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("web photo album"));
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok = true;
    ok &= icon(16).save(out.filePath(QStringLiteral("icon16.png")));
    ok &= icon(32).save(out.filePath(QStringLiteral("icon32.png")));
    ok &= icon(64).save(out.filePath(QStringLiteral("icon64.png")));
    ok &= icon(256).save(out.filePath(QStringLiteral("icon256.png")));
    ok &= logo(160, 40, false).save(out.filePath(QStringLiteral("logo.png")));
    ok &= logo(320, 96, true).save(out.filePath(QStringLiteral("logo_large.png")));
    return ok ? 0 : 1;
}
