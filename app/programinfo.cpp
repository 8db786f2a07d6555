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
QString releaseDate() { return QStringLiteral("2026/12/07"); }

QString versionLabel()
{
    return QStringLiteral("Ver.%1.%2.%3 %4").arg(Major).arg(Minor).arg(revisionText(), legalNotice());
}

QString versionLine()
{
    return QStringLiteral("Version %1.%2.%3(%4)").arg(Major).arg(Minor).arg(revisionText(), releaseDate());
}

}  // namespace ProgramInfo
