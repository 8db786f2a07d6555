// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

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

/// Writes an album's "stylesheet.css" from a style sheet template, with every "&color&" replaced
/// by the colour name. One CreateCSS call per instance. Any thread.
class CStyleSheet
{
public:
    int Error() const { return 0; }
    /// True when folder/stylesheet.css was written whole. A failed read leaves the output alone; a
    /// failed write leaves any earlier style sheet in place (the file is replaced atomically).
    [[nodiscard]] bool CreateCSS(const QString& templatePath, const QString& colorName, const QString& folder);

    /// The placeholder rule alone: every "&color&" (exact case) becomes colorName.
    static QString replaceColor(QString line, const QString& colorName);

private:
    colText m_lines;
};
