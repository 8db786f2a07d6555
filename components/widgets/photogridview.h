// SPDX-License-Identifier: MIT
#pragma once

#include <QTableView>

#include <array>

#include "components/photorow.h"

class PhotoListModel;

/// The photo grid vaSpread1: a view of the PhotoListModel configured as the photo list is shown.
/// Columns 1, 3, 5, 7 and 8 hidden; column 2 the picture; column 9 a choice list "なし", "左90度",
/// "右90度", "180度"; column 10 multi-line text of at most 4096 characters; rows tall enough for a
/// 90-pixel thumbnail. Widths are in twips (15 per pixel), the unit of the settings file.
class PhotoGridView : public QTableView
{
    Q_OBJECT
public:
    explicit PhotoGridView(QWidget* parent = nullptr);
    void setPhotoModel(PhotoListModel* model);
    PhotoListModel* photoModel() const { return m_model; }

    static constexpr int TwipsPerPixel = 15;
    /// Designed widths: column 2 1605, 4 1350, 6 1815, 9 930, 10 5055,
    /// any other 960; the row-number column 480.
    static int designWidthTwips(int column);
    int columnWidthTwips(int column) const;          // column 1..10
    void setColumnWidthTwips(int column, int twips);
    /// The grid's own width: its least width in the window, which may widen it; the caption
    /// column takes the extra room.
    int widthTwips() const;
    void setWidthTwips(int twips);

    /// The active cell, 1-based; 0 when there is none.
    int activeRow() const;
    int activeColumn() const;
    void setActiveCell(int column, int row);
    /// Hands a cell being edited (a caption being typed) to the model and closes its editor, as
    /// leaving the cell does; nothing when no cell is being edited.
    void commitEditing();

Q_SIGNALS:
    void cellDoubleClicked(int column, int row);
    void photoMoveRequested(int key);  // Ctrl+Home / Ctrl+Up / Ctrl+Down / Ctrl+End (Qt::Key)

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct ColumnWidth {
        int twips = 0;   // as last set; 0 = never set
        int pixels = 0;  // the pixel width that setting gave
    };
    PhotoListModel* m_model = nullptr;
    std::array<ColumnWidth, PhotoColumnCount + 1> m_columnTwips{};  // index = column number
    int m_widthTwips = 0;
    bool m_fitting = false; // the view itself is setting a column width

    void fitCaption();
    /// The least width of the rotation column: its widest choice drawn as a closed choice list.
    int choiceListWidth() const;
};
