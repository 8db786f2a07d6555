// SPDX-License-Identifier: MIT
#include "generate/albumoptions.h"

#include <QDir>

static QString joinPath(const QString& folder, const QString& name)
{
    return QDir::toNativeSeparators(folder) + QDir::separator() + name;
}

QString AlbumOptions::albumFolder() const { return joinPath(photoFolder, QStringLiteral("Lumivert")); }
QString AlbumOptions::templateFilePath() const { return joinPath(programFolder, QStringLiteral("Lumivert.fmt")); }
QString AlbumOptions::themePath() const
{
    return QDir::isAbsolutePath(QDir::fromNativeSeparators(themeFile)) ? QDir::toNativeSeparators(themeFile)
                                                                       : joinPath(programFolder, themeFile);
}
