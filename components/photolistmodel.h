// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QVector>

#include <functional>

#include "components/photorow.h"

/// The photo list: the grid component's table model. Row = album position, ten columns.
///
/// Two ways in: the Qt model interface (0-based QModelIndex rows and columns, for views), and the
/// album interface below, whose positions are 1-based album positions and whose columns are
/// PhotoColumn values, as the rest of the program addresses the list. Lives on the GUI thread;
/// jobs on other threads work on copies of rows() and hand results back.
class PhotoListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PhotoListModel(QObject* parent = nullptr);

    // Album interface (positions 1..photoCount()).
    int photoCount() const { return int(m_rows.size()); }
    /// Sets the row count: drops rows at the end or adds empty ones.
    void setPhotoCount(int count);
    const PhotoRow& photoAt(int position) const;  // Q_ASSERTs the range
    void setPhotoAt(int position, const PhotoRow& row);
    const QVector<PhotoRow>& rows() const { return m_rows; }
    void setRows(QVector<PhotoRow> rows);
    void clear() { setRows({}); }

    /// The rows as they are now are what the list file holds (just saved or loaded) or what a fresh
    /// import gave: what hasUnsavedChanges() compares with. The list starts empty and saved.
    void markSaved();
    /// True when the rows' order, number, rotations, captions or other texts differ from those at
    /// the last markSaved(); changing something and changing it back is no change. One pass over
    /// the rows.
    bool hasUnsavedChanges() const;

    QString cellText(int position, PhotoColumn column) const;  // "" outside the range
    QImage cellPicture(int position, PhotoColumn column) const;  // columns 1 and 2; null otherwise
    void setCellPicture(int position, PhotoColumn column, const ListPicture& picture);

    /// Inserts count empty rows before position (1..photoCount()+1); later rows shift down.
    void insertPhotos(int position, int count = 1);
    void removePhotos(int position, int count = 1);
    /// Moves the whole row at from so that it ends up at position to.
    void movePhoto(int from, int to);
    void swapPhotos(int a, int b);
    /// Sorts all rows by the text of one column; stable, whole rows move.
    void sortPhotos(PhotoColumn key, Qt::SortOrder order);
    /// Sorts all rows by a rule of the caller's; stable, whole rows move.
    void sortPhotosBy(const std::function<bool(const PhotoRow&, const PhotoRow&)>& less);
    /// The sort's text order: without regard to case, code units breaking ties; <0, 0, >0.
    static int compareText(const QString& a, const QString& b);

    static QString headerText(PhotoColumn column);
    static QString rotationText(int code);  // "なし", "左90度", "右90度", "180度"; "" otherwise

    // Qt model interface.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QModelIndex indexOf(int position, PhotoColumn column) const
    {
        return index(position - 1, int(column) - 1);
    }

Q_SIGNALS:
    /// A cell was changed through setData (that is, by the user in a view): the grid's change event.
    void cellValueChanged(int position, PhotoColumn column);

private:
    QVector<PhotoRow> m_rows;
    QVector<PhotoRow> m_savedRows; // shares the rows' data until either changes
};
