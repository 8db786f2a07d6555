// SPDX-License-Identifier: MIT
#include "design/cstylesheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "components/textcodepage.h"

QString CStyleSheet::replaceColor(QString line, const QString& colorName)
{
    static const QString mark = QStringLiteral("&color&");
    // Search again from the start after each replacement, as the template rule says; a colour name
    // that itself held the mark would loop, so stop once a pass changes nothing new.
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = line.indexOf(mark, from);
        if (at < 0)
            break;
        line.replace(at, mark.size(), colorName);
        from = colorName.contains(mark) ? at + colorName.size() : 0;
    }
    return line;
}

bool CStyleSheet::CreateCSS(const QString& templatePath, const QString& colorName, const QString& folder)
{
    QFile in(templatePath);
    if (QFileInfo(templatePath).isDir() || !in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    in.close();

    // Read by the page template's rule: UTF-8, or Shift_JIS for a user's own file that is not
    // UTF-8; the style sheet is written in the code page its template was read in.
    TextCodePage::Decoded decoded = TextCodePage::decode(bytes);
    QString& text = decoded.text;
    m_lines.Clear();
    if (!text.isEmpty()) {
        // Lines end with CR LF, LF or CR; a final line without an ending still counts.
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const QString& line : lines)
            m_lines.Add(replaceColor(line, colorName));
    }

    QSaveFile out(QDir(folder).filePath(QStringLiteral("stylesheet.css")));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (const clsText& line : m_lines) {
        const QByteArray encoded = TextCodePage::encode(line.Text + QLatin1String("\r\n"), decoded.encoding);
        if (out.write(encoded) != encoded.size()) {
            out.cancelWriting();
            return false;
        }
    }
    // Qt 6.4's commit() misses a failed final flush (full disk) and would put an empty file in
    // place of the old one; flush first and give up on failure.
    if (!out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
