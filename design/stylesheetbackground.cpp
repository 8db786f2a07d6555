// SPDX-License-Identifier: MIT
#include "design/stylesheetbackground.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace StyleSheetBackground
{

QByteArray dropMissing(const QByteArray& css, const std::function<bool(const QString&)>& has)
{
    // Latin-1 maps each byte to one character and back, so the bytes around a match survive
    // whatever the sheet's encoding. CSS function names ignore letter case.
    static const QRegularExpression url(
        QStringLiteral("url\\(\\s*([\"']?)(?:\\./)?(background\\.(?:jpg|gif))\\1\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromLatin1(css);
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
        return css;
    out += QStringView(text).mid(at);
    // A declaration left with nothing but "none, none" says plain "none": the same to a browser,
    // but a checker (axe-core's contrast rule, for one) takes a list of layers for an image.
    static const QRegularExpression onlyNone(
        QStringLiteral("(:\\s*)none(?:\\s*,\\s*none)+(?=\\s*(?:!important\\s*)?[;}])"),
        QRegularExpression::CaseInsensitiveOption);
    out.replace(onlyNone, QStringLiteral("\\1none"));
    return out.toLatin1();
}

bool Apply(const QString& folder)
{
    const QDir dir(folder);
    const QString path = dir.filePath(QStringLiteral("stylesheet.css"));
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray css = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    in.close();
    const QByteArray fitted =
        dropMissing(css, [&](const QString& name) { return QFileInfo(dir.filePath(name)).isFile(); });
    if (fitted == css)
        return true;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(fitted) != fitted.size() || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace StyleSheetBackground
