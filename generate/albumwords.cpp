// SPDX-License-Identifier: MIT
#include "generate/albumwords.h"

#include <QRegularExpression>

#include "catalogue/shootingtext.h"

namespace AlbumWords
{

QString unknown(const AlbumOptions& options)
{
    return options.japaneseNavi ? ShootingText::Unknown : QStringLiteral("Unknown");
}

QString shooting(const QString& text, const AlbumOptions& options)
{
    static const QRegularExpression noExposure(QStringLiteral("^[0-9]+/0sec$"));
    if (text == ShootingText::Unknown || noExposure.match(text).hasMatch())
        return unknown(options);
    return text;
}

QString inAlbumLanguage(const QString& page, const AlbumOptions& options)
{
    static const QRegularExpression html(QStringLiteral("(<html\\b[^>]*\\blang=\")([A-Za-z-]*)(\")"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = html.match(page);
    if (!match.hasMatch())
        return page;
    QString out = page;
    out.replace(match.capturedStart(2), match.capturedLength(2),
                options.japaneseNavi ? QStringLiteral("ja") : QStringLiteral("en"));
    return out;
}

} // namespace AlbumWords
