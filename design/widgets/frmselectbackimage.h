// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "design/backgroundlist.h"

class PictureGrid;

/// "Lumivert背景画像": the background chooser, three images a row. Made once at start-up (the folder
/// is listed and the images loaded then), shown modally on demand and hidden, not destroyed, when
/// a button is pressed, so its grid keeps its active cell between showings.
class frmSelectBackImage : public QDialog
{
    Q_OBJECT
public:
    explicit frmSelectBackImage(const QString& imageFolder, QWidget* parent = nullptr);
    int UserIndex() const { return m_userIndex; }
    void setUserIndex(int index) { m_userIndex = index; }
    QString UserTag() const { return m_userTag; }
    const colGetFiles& Record() const { return m_list.Record(); }
    int RecMax() const { return m_list.count(); }
    const BackgroundList& images() const { return m_list; }
    /// The picture of the grid's active cell (null for an empty cell).
    QImage activePicture() const;
    QImage pictureAt(int column, int row) const;
    PictureGrid* grid() const { return vaSpread1; }
    static constexpr int Columns = 3;

public Q_SLOTS:
    void cmdOK_Click();
    void cmdCancel_Click();
    /// Escape and the close box: the same as cmdCancel.
    void reject() override;

private:
    BackgroundList m_list;
    int m_userIndex = 1;
    QString m_userTag;
    PictureGrid* vaSpread1;
};
