// SPDX-License-Identifier: MIT
// lumivert-cli: the album generation without a window.
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <unistd.h>

#include "app/cli.h"
#include "components/imaging.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The libraries' diagnostics are for developers: a user's terminal sees them only when asked
    // for through QT_LOGGING_RULES, which overrides these rules.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    QTranslator translator;
    if (Cli::loadTranslation(translator, Cli::language(),
                             {QCoreApplication::applicationDirPath(), Cli::defaultProgramFolder()}))
        app.installTranslator(&translator);
    Imaging::Session imaging;
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Cli::run(app.arguments().mid(1), Cli::defaultProgramFolder(), out, err,
                    Cli::Console{isatty(fileno(stderr)) == 1});
}
