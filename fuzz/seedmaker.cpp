// SPDX-License-Identifier: MIT
// Writes the small valid files the fuzz corpora start from: images through the imaging component,
// list files through the list file format. Usage: fuzz_seedmaker OUTDIR (subfolders image/, sheet/).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

#include "components/imaging.h"
#include "components/sheetfile.h"

namespace
{

QImage picture(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed * 40) & 255, (y * 5 + seed * 20) & 255, ((x ^ y) * 3) & 255));
    return image;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Imaging::Session session;
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_seedmaker OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("image"));
    out.mkpath(QStringLiteral("sheet"));
    bool ok = true;
    ok &= Imaging::save(picture(16, 12, 1), out.filePath(QStringLiteral("image/baseline.jpg")),
                        Imaging::SaveKind::BaselineJpeg, 50);
    ok &= Imaging::save(picture(24, 16, 2), out.filePath(QStringLiteral("image/progressive.jpg")),
                        Imaging::SaveKind::ProgressiveJpeg, 75);
    ok &= Imaging::save(picture(64, 48, 3), out.filePath(QStringLiteral("image/larger.jpg")),
                        Imaging::SaveKind::BaselineJpeg, 75);
    // Large enough for the 1/8 decode from a progressive file's first scans (the 12 x 9 box).
    ok &= Imaging::save(picture(160, 120, 6), out.filePath(QStringLiteral("image/progressive-eighth.jpg")),
                        Imaging::SaveKind::ProgressiveJpeg, 50);
    ok &= Imaging::save(picture(8, 8, 4), out.filePath(QStringLiteral("image/small.gif")), Imaging::SaveKind::Gif);
    ok &= picture(6, 5, 5).save(out.filePath(QStringLiteral("image/small.png")), "PNG");

    Sheet sheet;
    sheet.columnWidths = {0, 1800, 0, 1500, 0, 2000, 0, 0, 600, 3000};
    for (int i = 1; i <= 2; ++i) {
        PhotoRow row;
        row.image = picture(12, 9, i);
        row.picture = i == 1 ? row.image : picture(9, 12, i);
        row.pathName = QStringLiteral("/photos/IMG_%1.jpg").arg(i);
        row.fileName = QStringLiteral("IMG_%1.jpg").arg(i);
        row.model = QStringLiteral("Camera");
        row.dateTime = QStringLiteral("2026/12/07 10:0%1:00").arg(i);
        row.tv = QStringLiteral("1/250sec");
        row.av = QStringLiteral("f2.8");
        row.rotation = i == 1 ? 0 : 1;
        row.caption = QStringLiteral("写真 %1\r\n二行目").arg(i);
        sheet.rows.append(row);
    }
    ok &= SheetFile::save(out.filePath(QStringLiteral("sheet/two-rows.bin")), sheet);
    Sheet empty;
    ok &= writeBytes(out.filePath(QStringLiteral("sheet/empty.bin")), SheetFile::encode(empty));
    Sheet textOnly;
    PhotoRow bare;
    bare.pathName = QStringLiteral("/p/a.jpg");
    bare.caption = QStringLiteral("&&<\"'");
    textOnly.rows.append(bare);
    ok &= writeBytes(out.filePath(QStringLiteral("sheet/text-only.bin")), SheetFile::encode(textOnly));
    return ok ? 0 : 1;
}
