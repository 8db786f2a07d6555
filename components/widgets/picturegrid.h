// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QTableWidget>

/// The small grid of the choosers (cover photo, background, colour swatches): cells addressed
/// (column, row), 1-based, each showing a picture fitted into the cell or a background colour.
class PictureGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit PictureGrid(QWidget* parent = nullptr);
    void setGridSize(int rows, int columns);
    void setCellPicture(int column, int row, const QImage& picture);
    QImage cellPicture(int column, int row) const;
    void setCellColor(int column, int row, const QColor& color);
    /// A cell's name, for a cell that shows only a colour or a picture: its tooltip and the text a
    /// screen reader says.
    void setCellName(int column, int row, const QString& name);
    /// Every row and column to this size (pixels, at least 1); pictures are fitted again.
    void setCellSizePixels(int width, int height);
    void setColumnWidthPixels(int column, int width);
    /// The selected cell; a current cell that is not selected (keyboard focus only) counts as none.
    int activeRow() const;    // 0 when none
    int activeColumn() const; // 0 when none
    /// Row or column 0 clears the selection.
    void setActiveCell(int column, int row);

Q_SIGNALS:
    void cellDoubleClickedAt(int column, int row);

private:
    void refitPictures();
};
