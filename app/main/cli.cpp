// SPDX-License-Identifier: MIT
// lumivert-cli: the album generation without a window.
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "app/cli.h"
#include "components/imaging.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Imaging::Session imaging;
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Cli::run(app.arguments().mid(1), Cli::defaultProgramFolder(), out, err);
}
