// SPDX-License-Identifier: MIT
#include "components/widgets/picturegrid.h"

#include "components/widgets/sharpdisplay.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace
{

// The picture as given, and a copy fitted to the cell for painting: fitting a large background
// image on every repaint would be slow, so the fitted pixmap is made once per cell size.
constexpr int PictureRole = Qt::UserRole + 1;
constexpr int FittedRole = Qt::UserRole + 2;

QPixmap fittedPixmap(const QImage& picture, const QSize& cell)
{
    if (picture.isNull())
        return {};
    const QSize room = cell - QSize(2, 2);
    if (room.width() < 1 || room.height() < 1)
        return {};
    // Made at the screen's pixels, so a scaled desktop shows the picture sharp.
    return SharpDisplay::fitted(picture, room, true);
}

// Paints a cell's background colour, then its picture centred, then the selection as a frame, so
// the chosen picture stays visible under the selection.
class PictureDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const QVariant background = index.data(Qt::BackgroundRole);
        if (background.canConvert<QBrush>())
            painter->fillRect(option.rect, background.value<QBrush>());
        const QPixmap pixmap = index.data(FittedRole).value<QPixmap>();
        if (!pixmap.isNull()) {
            QRect target(QPoint(0, 0), pixmap.deviceIndependentSize().toSize());
            target.moveCenter(option.rect.center());
            painter->drawPixmap(target, pixmap);
        }
        if (option.state & QStyle::State_Selected) {
            QPen pen(option.palette.highlight(), 3);
            painter->setPen(pen);
            painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        }
        painter->restore();
    }
};

} // namespace

PictureGrid::PictureGrid(QWidget* parent) : QTableWidget(parent)
{
    setItemDelegate(new PictureDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // The choosers decide their cell sizes; the header's style minimum must not overrule them.
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The choosers give their grid the tool-tip background, as the photo grid has.
    QPalette p = palette();
    p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
    setPalette(p);
    connect(this, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int column) { Q_EMIT cellDoubleClickedAt(column + 1, row + 1); });
}

void PictureGrid::setGridSize(int rows, int columns)
{
    setRowCount(qMax(0, rows));
    setColumnCount(qMax(0, columns));
}

static QTableWidgetItem* itemFor(QTableWidget* grid, int column, int row)
{
    if (column < 1 || row < 1 || column > grid->columnCount() || row > grid->rowCount())
        return nullptr;
    QTableWidgetItem* cell = grid->item(row - 1, column - 1);
    if (!cell) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid->setItem(row - 1, column - 1, cell);
    }
    return cell;
}

void PictureGrid::setCellPicture(int column, int row, const QImage& picture)
{
    QTableWidgetItem* cell = itemFor(this, column, row);
    if (!cell)
        return;
    cell->setData(PictureRole, picture);
    const QSize size(columnWidth(column - 1), rowHeight(row - 1));
    cell->setData(FittedRole, fittedPixmap(picture, size));
}

QImage PictureGrid::cellPicture(int column, int row) const
{
    if (column < 1 || row < 1 || column > columnCount() || row > rowCount())
        return {};
    const QTableWidgetItem* cell = item(row - 1, column - 1);
    return cell ? cell->data(PictureRole).value<QImage>() : QImage();
}

void PictureGrid::setCellColor(int column, int row, const QColor& color)
{
    if (QTableWidgetItem* cell = itemFor(this, column, row))
        cell->setBackground(color);
}

void PictureGrid::setCellName(int column, int row, const QString& name)
{
    if (QTableWidgetItem* cell = itemFor(this, column, row)) {
        cell->setToolTip(name);
        cell->setData(Qt::AccessibleTextRole, name);
    }
}

void PictureGrid::setCellSizePixels(int width, int height)
{
    horizontalHeader()->setDefaultSectionSize(qMax(1, width));
    verticalHeader()->setDefaultSectionSize(qMax(1, height));
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, qMax(1, width));
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, qMax(1, height));
    refitPictures();
}

void PictureGrid::setColumnWidthPixels(int column, int width)
{
    if (column < 1 || column > columnCount())
        return;
    setColumnWidth(column - 1, qMax(1, width));
    refitPictures();
}

void PictureGrid::refitPictures()
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (QTableWidgetItem* cell = item(r, c); cell && cell->data(PictureRole).isValid())
                cell->setData(FittedRole, fittedPixmap(cell->data(PictureRole).value<QImage>(),
                                                       QSize(columnWidth(c), rowHeight(r))));
}

int PictureGrid::activeRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() + 1 : 0;
}

int PictureGrid::activeColumn() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.column() + 1 : 0;
}

void PictureGrid::setActiveCell(int column, int row)
{
    if (column < 1 || row < 1 || column > columnCount() || row > rowCount()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentCell(row - 1, column - 1, QItemSelectionModel::ClearAndSelect);
    scrollTo(model()->index(row - 1, column - 1));
}
