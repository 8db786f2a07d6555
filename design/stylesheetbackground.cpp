// SPDX-License-Identifier: MIT
#include "design/stylesheetbackground.h"

#include <QRegularExpression>

namespace StyleSheetBackground
{

QString dropMissing(const QString& text, const std::function<bool(const QString&)>& has)
{
    // CSS function names ignore letter case. Without Unicode properties \s is ASCII blanks only, as
    // in CSS (a no-break space is no blank).
    static const QRegularExpression url(
        QStringLiteral("url\\(\\s*([\"']?)(?:\\./)?(background\\.(?:jpg|gif))\\1\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype at = 0;
    for (auto m = url.globalMatch(text); m.hasNext();) {
        const auto match = m.next();
        if (has(match.captured(2)))
            continue;
        out += QStringView(text).mid(at, match.capturedStart() - at);
        out += QLatin1String("none");
        at = match.capturedEnd();
    }
    if (at == 0)
        return text;
    out += QStringView(text).mid(at);
    // A declaration left with nothing but "none, none" says plain "none": the same to a browser,
    // but a checker (axe-core's contrast rule, for one) takes a list of layers for an image.
    static const QRegularExpression onlyNone(
        QStringLiteral("(:\\s*)none(?:\\s*,\\s*none)+(?=\\s*(?:!important\\s*)?[;}])"),
        QRegularExpression::CaseInsensitiveOption);
    out.replace(onlyNone, QStringLiteral("\\1none"));
    return out;
}

} // namespace StyleSheetBackground
