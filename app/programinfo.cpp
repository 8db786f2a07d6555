// SPDX-License-Identifier: MIT
#include "app/programinfo.h"

namespace ProgramInfo {

static QString revisionText() { return QStringLiteral("%1").arg(Revision, 3, 10, QLatin1Char('0')); }

QString displayName() { return QStringLiteral("Lumivert"); }
QString legalNotice() { return QStringLiteral("Copyright (C) 2026 The Lumivert developers"); }
QString legalWarning()
{
    return QStringLiteral("警告: このプログラムは現状のまま提供され、いかなる保証もありません。"
                          "写真は読み込み専用で扱い、変更することはありません。");
}
// Both come from the CMake project: its version and LUMIVERT_RELEASE_DATE ("YYYY-MM-DD").
QString releaseDate() { return QStringLiteral(LUMIVERT_RELEASE_DATE).replace(QLatin1Char('-'), QLatin1Char('/')); }
QString versionNumber() { return QStringLiteral(LUMIVERT_VERSION); }

QString versionText(const QString& program)
{
    return QStringLiteral("%1 %2\n%3\n").arg(program, versionNumber(), legalNotice());
}

QString versionLabel()
{
    return QStringLiteral("Ver.%1.%2.%3 %4").arg(Major).arg(Minor).arg(revisionText(), legalNotice());
}

QString versionLine()
{
    return QStringLiteral("Version %1.%2.%3(%4)").arg(Major).arg(Minor).arg(revisionText(), releaseDate());
}

}  // namespace ProgramInfo
