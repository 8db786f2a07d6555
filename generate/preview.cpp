// SPDX-License-Identifier: MIT
#include "generate/preview.h"

#include <QDir>

#include "design/cstylesheet.h"
#include "generate/albumimages.h"
#include "generate/bastoolsap.h"

namespace Preview
{

QString folder(const QString& programFolder)
{
    const QString sep = QDir::separator();
    return QDir::toNativeSeparators(programFolder) + sep + QStringLiteral("Preview") + sep + QStringLiteral("Lumivert");
}

QString run(const AlbumOptions& options)
{
    const QString target = folder(options.programFolder);
    const QString sep = QDir::separator();
    for (const char* name : {"stylesheet.css", "background.jpg", "background.gif"})
        (void)basToolsAp::DeleteFiles(target + sep + QLatin1String(name));
    if (options.background)
        (void)AlbumImages::produceBackgroundImage(options.backgroundFile, target);
    CStyleSheet styleSheet;
    (void)styleSheet.CreateCSS(options.themePath(), options.colorName, target);
    return target + sep + QStringLiteral("top.htm");
}

} // namespace Preview
