// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class PhotoListModel;
class PictureGrid;

/// "Lumivert表紙": the cover photo chooser, seven pictures (column 2 of the list) a row, the current
/// cover preselected. OK on an empty cell shows "写真が選択されていません。" and stays open.
class frmSelectTopImage : public QDialog
{
    Q_OBJECT
public:
    explicit frmSelectTopImage(const PhotoListModel& photos, QWidget* parent = nullptr);
    int UserIndex() const { return m_userIndex; }
    /// Set before showing; selects that photo's cell.
    void setUserIndex(int index);
    QString UserTag() const { return m_userTag; }
    PictureGrid* grid() const { return vaSpread1; }
    static constexpr int Columns = 7;

public Q_SLOTS:
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    const PhotoListModel& m_photos;
    int m_userIndex = 0;
    QString m_userTag;
    PictureGrid* vaSpread1;
};
