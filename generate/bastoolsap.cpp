// SPDX-License-Identifier: MIT
#include "generate/bastoolsap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace basToolsAp
{

bool DeleteFiles(const QString& pathPattern)
{
    const QString pattern = QDir::fromNativeSeparators(pathPattern);
    const qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : pattern.left(slash);
    const QString wildcard = pattern.mid(slash + 1);
    QDir dir(folder.isEmpty() ? QStringLiteral("/") : folder);
    if (!dir.exists())
        return false;
    // Ordinary files only: hidden files and folders are never taken by a pattern.
    const QFileInfoList matches = dir.entryInfoList({wildcard}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (matches.isEmpty())
        return false;
    bool ok = true;
    for (const QFileInfo& info : matches)
        ok = QFile::remove(info.filePath()) && ok;
    return ok;
}

bool MakeFolder(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return false;
    return QDir().mkdir(path);
}

int GetOptionIndex(const QList<bool>& selected)
{
    const qsizetype at = selected.indexOf(true);
    return at < 0 ? 0 : int(at);
}

} // namespace basToolsAp
