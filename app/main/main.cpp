// SPDX-License-Identifier: MIT
// The window program: one main window over the libraries, started with an optional photo folder.
#include <QApplication>

#include "app/startup.h"
#include "app/widgets/frmmain.h"
#include "components/imaging.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumivert"));
    Imaging::Session imaging; // before any thread touches an image

    // The whole command tail is one path, spaces included.
    QStringList tail = QApplication::arguments();
    if (!tail.isEmpty())
        tail.removeFirst();
    frmMain::StartupSettings settings;
    settings.commandLine = Startup::commandLinePath(tail);

    frmMain window(std::move(settings));
    window.show();
    return app.exec();
}
