// SPDX-License-Identifier: MIT
// How long the user-interface thread is kept from its event loop while the progress windows run:
// a 10 ms timer records the largest gap between two of its turns during an import (frmGetPicture)
// and during a new-album generation at the 640 preset (frmCreateAlbum).
//
//   QT_QPA_PLATFORM=offscreen uiblock_bench FOLDER
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "catalogue/widgets/frmgetpicture.h"
#include "components/imaging.h"
#include "components/photolistmodel.h"
#include "generate/widgets/frmcreatealbum.h"

namespace
{

struct GapMeter {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 largest = 0;
    int turns = 0;
    GapMeter()
    {
        timer.setInterval(10);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.nsecsElapsed();
            largest = std::max(largest, now - last);
            last = now;
            ++turns;
        });
    }
    void start()
    {
        largest = 0;
        turns = 0;
        clock.start();
        last = 0;
        timer.start();
    }
    void stop() { timer.stop(); }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Imaging::Session imaging;
    if (argc < 2) {
        std::fprintf(stderr, "usage: uiblock_bench FOLDER\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    PhotoListModel model;
    GapMeter meter;

    meter.start();
    (void)frmGetPicture::importFolder(nullptr, folder, &model);
    const int rows = model.photoCount();
    meter.stop();
    const double importSeconds = double(meter.clock.nsecsElapsed()) / 1e9;
    std::printf("import: %d photos in %.2f s, largest gap between event-loop turns %.1f ms (%d turns)\n", rows,
                importSeconds, double(meter.largest) / 1e6, meter.turns);

    AlbumOptions options;
    options.photoFolder = QDir::toNativeSeparators(folder);
    options.programFolder = QCoreApplication::applicationDirPath();
    options.themeFile = QStringLiteral("basic.css");
    options.pageWidthIndex = 1;
    options.qualityIndex = 1;
    options.coverNumber = 1;
    meter.start();
    {
        frmCreateAlbum window(options, model.rows());
        window.setUserMode(1);
        window.exec();
    }
    meter.stop();
    std::printf("generation: %d photos in %.2f s, largest gap between event-loop turns %.1f ms (%d turns)\n", rows,
                double(meter.clock.nsecsElapsed()) / 1e9, double(meter.largest) / 1e6, meter.turns);
    return 0;
}
