// SPDX-License-Identifier: MIT
#include "design/ccolor.h"

CColor::CColor()
{
    // HTML colour names in picker order: index = (row - 1) * 4 + column of the 4 x 4 swatches.
    static const struct {
        const char* name;
        int r, g, b;
    } table[] = {
        {"black", 0, 0, 0},     {"gray", 128, 128, 128}, {"silver", 192, 192, 192}, {"white", 255, 255, 255},
        {"blue", 0, 0, 255},    {"navy", 0, 0, 128},     {"teal", 0, 128, 128},     {"green", 0, 128, 0},
        {"aqua", 0, 255, 255},  {"lime", 0, 255, 0},     {"yellow", 255, 255, 0},   {"magenta", 255, 0, 255},
        {"olive", 128, 128, 0}, {"purple", 128, 0, 128}, {"maroon", 128, 0, 0},     {"red", 255, 0, 0},
    };
    for (const auto& c : table)
        m_table.Add(QString::fromLatin1(c.name), c.r + 256 * c.g + 65536 * c.b);
}

CColor& CColor::instance()
{
    static CColor colours;
    return colours;
}

void CColor::setColorIndex(int index)
{
    if (index >= 1 && index <= m_table.Count())
        m_colorIndex = index;
}

QString CColor::ColorName() const
{
    const clsColor* entry = m_table.Item(m_colorIndex);
    return entry ? entry->ColorName : QString();
}

qint32 CColor::ColorCode() const
{
    const clsColor* entry = m_table.Item(m_colorIndex);
    return entry ? entry->ColorCode : 0;
}

int CColor::indexOf(const QString& name) const
{
    for (int i = 1; i <= m_table.Count(); ++i)
        if (m_table.Item(i)->ColorName == name)
            return i;
    return 0;
}
