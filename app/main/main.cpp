// SPDX-License-Identifier: MIT
// The window program: one main window over the libraries, started with an optional photo folder.
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

#include "app/programinfo.h"
#include "app/startup.h"
#include "app/widgets/frmmain.h"
#include "components/imaging.h"
#include "components/sharppictures.h"
#include "components/workerpool.h"

namespace
{
// The windows are written in Japanese; any other language comes from translations/lumivert_<code>.qm
// beside the program. LUMIVERT_LANG=ja|en overrides the system locale.
void installTranslations(QApplication& app, QTranslator& own, QTranslator& qt)
{
    const QString language =
        Startup::interfaceLanguage(qEnvironmentVariable("LUMIVERT_LANG"), QLocale::system().name());
    // Qt's own texts (standard buttons, context menus) follow, when the system has them.
    if (qt.load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qt);
    if (language == QLatin1String("ja"))
        return;
    const QString folder = QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("translations"));
    if (own.load(QStringLiteral("lumivert_") + language, folder))
        app.installTranslator(&own);
}
} // namespace

int main(int argc, char** argv)
{
    // --help and --version are answered before QApplication exists: they need no display.
    QStringList rawTail;
    for (int i = 1; i < argc; ++i)
        rawTail << QString::fromLocal8Bit(argv[i]);
    if (const auto request = Startup::commandLineRequest(rawTail); request != Startup::CommandLineRequest::Run) {
        const QString text = request == Startup::CommandLineRequest::Help
                                 ? Startup::windowProgramUsage()
                                 : ProgramInfo::versionText(QStringLiteral("lumivert"));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumivert"));
    QApplication::setDesktopFileName(QStringLiteral("lumivert"));
    QTranslator ownTranslator;
    QTranslator qtTranslator;
    installTranslations(app, ownTranslator, qtTranslator);
    Imaging::Session imaging;           // before any thread touches an image
    WorkerPool::setWindowProgram(true); // workers below the window, so it paints on a busy machine
    // The window's pictures are made for the screen's pixels (2 on a desktop scaled by two).
    SharpPictures::instance().setDevicePixelRatio(app.devicePixelRatio());

    // The whole command tail is one path, spaces included.
    QStringList tail = QApplication::arguments();
    if (!tail.isEmpty())
        tail.removeFirst();
    frmMain::StartupSettings settings;
    settings.commandLine = Startup::commandLinePath(tail);

    frmMain window(std::move(settings));
    window.show();
    const int status = app.exec();
    SharpPictures::instance().waitForDone();
    return status;
}
