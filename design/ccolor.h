// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>

#include "components/orderedlist.h"

/// One colour of the table. ColorCode is red + 256 * green + 65536 * blue.
struct clsColor {
    QString ColorName = QStringLiteral("navy");
    qint32 ColorCode = 8388608;

    QColor toQColor() const { return QColor(ColorCode & 0xff, (ColorCode >> 8) & 0xff, (ColorCode >> 16) & 0xff); }
};

class colColor : public OrderedList<clsColor>
{
public:
    clsColor* Add(const QString& name, qint32 code, int position = 0, bool before = false)
    {
        return OrderedList<clsColor>::Add(clsColor{name, code}, position, before);
    }
};

/// The sixteen album colours and the current choice (navy at first). One instance per program,
/// made on first use by instance(); GUI thread only. Tests may make their own.
class CColor
{
public:
    CColor();
    static CColor& instance();

    int Error() const { return 0; }
    int ColorIndex() const { return m_colorIndex; }
    /// Accepts 1..Color().Count(); any other value is ignored and the choice stays.
    void setColorIndex(int index);
    QString ColorName() const;
    qint32 ColorCode() const;
    const colColor& Color() const { return m_table; }

    /// Index of a colour name (exact), 0 when the table has no such name.
    int indexOf(const QString& name) const;

private:
    colColor m_table;
    int m_colorIndex = 6;
};
