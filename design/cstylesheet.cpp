// SPDX-License-Identifier: MIT
#include "design/cstylesheet.h"

#include <QDir>
#include <QFileInfo>

#include "components/textcodepage.h"
#include "components/wholefile.h"
#include "design/stylesheetbackground.h"

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

std::optional<QByteArray> CStyleSheet::finishedCss(const QString& templatePath, const QString& colorName,
                                                   const std::function<bool(const QString&)>& hasBackground,
                                                   QString* error)
{
    // Read by the page template's rule: UTF-8, or Shift_JIS for a user's own file that is not
    // UTF-8; the style sheet is written in the code page its template was read in.
    const auto decoded = TextCodePage::readFile(templatePath, error);
    if (!decoded)
        return std::nullopt;
    m_lines.Clear();
    for (const QString& line : TextCodePage::splitLines(decoded->text))
        m_lines.Add(replaceColor(line, colorName));
    QString text;
    for (const clsText& line : m_lines)
        text += line.Text + QLatin1String("\r\n");
    return TextCodePage::encode(StyleSheetBackground::dropMissing(text, hasBackground), decoded->encoding);
}

bool CStyleSheet::CreateCSS(const QString& templatePath, const QString& colorName, const QString& folder)
{
    const QDir dir(folder);
    const auto css = finishedCss(templatePath, colorName,
                                 [&](const QString& name) { return QFileInfo(dir.filePath(name)).isFile(); });
    return css && WholeFile::write(dir.filePath(QStringLiteral("stylesheet.css")), *css).isEmpty();
}
