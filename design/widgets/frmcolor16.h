// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CColor;
class PictureGrid;

/// "色見本(標準)": the 4 x 4 colour picker over a CColor. OK (or a double click) sets ColorIndex
/// to (row - 1) * 4 + column and UserTag "OK"; cancel sets "ｷｬﾝｾﾙ" and changes nothing.
class frmColor16 : public QDialog
{
    Q_OBJECT
public:
    explicit frmColor16(CColor& colors, QWidget* parent = nullptr);
    QString UserTag() const { return m_userTag; }
    PictureGrid* grid() const { return vaSpread1; }

public Q_SLOTS:
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    CColor& m_colors;
    QString m_userTag;
    PictureGrid* vaSpread1;
};
