// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

#include "components/orderedlist.h"

struct clsText {
    QString Text;
};

class colText : public OrderedList<clsText>
{
public:
    clsText* Add(const QString& text, int position = 0, bool before = false)
    {
        return OrderedList<clsText>::Add(clsText{text}, position, before);
    }
};

/// Makes an album's "stylesheet.css" from a style sheet template in one pass: the template read
/// and decoded by its code page, every "&color&" replaced by the colour name, every url() of a
/// background file the album folder does not hold set to "none" (StyleSheetBackground), then
/// written once in the template's code page. One CreateCSS call per instance. Any thread.
class CStyleSheet
{
public:
    int Error() const { return 0; }
    /// True when folder/stylesheet.css was written whole. Write the album's background first: the
    /// style sheet names only the background files folder holds at this call. A failed read
    /// leaves the output alone; a failed write leaves any earlier style sheet in place (the file
    /// is replaced atomically).
    [[nodiscard]] bool CreateCSS(const QString& templatePath, const QString& colorName, const QString& folder);

    /// The finished style sheet's bytes, with hasBackground(name) telling whether the album holds
    /// that background file; nothing when the template cannot be read (the reason in *error).
    [[nodiscard]] std::optional<QByteArray> finishedCss(const QString& templatePath, const QString& colorName,
                                                        const std::function<bool(const QString&)>& hasBackground,
                                                        QString* error = nullptr);

    /// The placeholder rule alone: every "&color&" (exact case) becomes colorName.
    static QString replaceColor(QString line, const QString& colorName);

private:
    colText m_lines;
};
