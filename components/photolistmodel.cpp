// SPDX-License-Identifier: MIT
#include "components/photolistmodel.h"

#include <algorithm>

#include <QCoreApplication>

QString PhotoRow::text(PhotoColumn column) const
{
    switch (column) {
    case PhotoColumn::PathName: return pathName;
    case PhotoColumn::FileName: return fileName;
    case PhotoColumn::Model: return model;
    case PhotoColumn::DateTime: return dateTime;
    case PhotoColumn::Tv: return tv;
    case PhotoColumn::Av: return av;
    case PhotoColumn::Rotation: return QString::number(rotation);
    case PhotoColumn::Caption: return caption;
    case PhotoColumn::Image:
    case PhotoColumn::Picture: break;
    }
    return {};
}

void PhotoRow::setText(PhotoColumn column, const QString& value)
{
    switch (column) {
    case PhotoColumn::PathName: pathName = value; break;
    case PhotoColumn::FileName: fileName = value; break;
    case PhotoColumn::Model: model = value; break;
    case PhotoColumn::DateTime: dateTime = value; break;
    case PhotoColumn::Tv: tv = value; break;
    case PhotoColumn::Av: av = value; break;
    case PhotoColumn::Rotation: rotation = value.toInt(); break;
    case PhotoColumn::Caption: caption = limitCaption(value); break;
    case PhotoColumn::Image:
    case PhotoColumn::Picture: break;
    }
}

int captionLength(const QString& text)
{
    return int(text.size() - text.count(QLatin1String("\r\n")));
}

namespace
{
QString cutCaption(const QString& text, bool crLf)
{
    if (text.size() <= MaxCaptionLength &&
        (!crLf || (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))))
        return text;
    QString result;
    result.reserve(std::min(text.size(), qsizetype(2 * MaxCaptionLength)));
    int counted = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (counted + (pair ? 2 : 1) > MaxCaptionLength)
            break;
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            const bool crLfPair = c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n');
            if (crLfPair)
                ++i;
            if (crLf || crLfPair)
                result += QLatin1String("\r\n");
            else
                result += c;
            ++counted;
            continue;
        }
        result += c;
        if (pair)
            result += text.at(++i);
        counted += pair ? 2 : 1;
    }
    return result;
}
} // namespace

QString limitCaption(const QString& text)
{
    return cutCaption(text, true);
}

QString storedCaption(const QString& text)
{
    return cutCaption(text, false);
}

PhotoListModel::PhotoListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PhotoListModel::setPhotoCount(int count)
{
    count = std::max(0, count);
    const int n = photoCount();
    if (count < n) {
        beginRemoveRows({}, count, n - 1);
        m_rows.resize(count);
        endRemoveRows();
    } else if (count > n) {
        beginInsertRows({}, n, count - 1);
        m_rows.resize(count);
        endInsertRows();
    }
}

const PhotoRow& PhotoListModel::photoAt(int position) const
{
    Q_ASSERT(position >= 1 && position <= photoCount());
    return m_rows.at(position - 1);
}

void PhotoListModel::setPhotoAt(int position, const PhotoRow& row)
{
    if (position < 1 || position > photoCount())
        return;
    m_rows[position - 1] = row;
    m_rows[position - 1].caption = storedCaption(row.caption);
    Q_EMIT dataChanged(index(position - 1, 0), index(position - 1, PhotoColumnCount - 1));
}

void PhotoListModel::setRows(QVector<PhotoRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    for (PhotoRow& row : m_rows)
        row.caption = storedCaption(row.caption);
    endResetModel();
}

void PhotoListModel::markSaved()
{
    m_savedRows = m_rows;
}

bool PhotoListModel::hasUnsavedChanges() const
{
    // Everything a save would keep but the pictures, which change only with a rotation.
    auto same = [](const PhotoRow& a, const PhotoRow& b) {
        return a.pathName == b.pathName && a.fileName == b.fileName && a.model == b.model && a.dateTime == b.dateTime &&
               a.tv == b.tv && a.av == b.av && a.rotation == b.rotation && a.caption == b.caption;
    };
    return !std::equal(m_rows.cbegin(), m_rows.cend(), m_savedRows.cbegin(), m_savedRows.cend(), same);
}

QString PhotoListModel::cellText(int position, PhotoColumn column) const
{
    if (position < 1 || position > photoCount())
        return {};
    return m_rows.at(position - 1).text(column);
}

QImage PhotoListModel::cellPicture(int position, PhotoColumn column) const
{
    if (position < 1 || position > photoCount())
        return {};
    const PhotoRow& row = m_rows.at(position - 1);
    if (column == PhotoColumn::Image)
        return row.image.toImage();
    if (column == PhotoColumn::Picture)
        return row.picture.toImage();
    return {};
}

void PhotoListModel::setCellPicture(int position, PhotoColumn column, const ListPicture& picture)
{
    if (position < 1 || position > photoCount())
        return;
    PhotoRow& row = m_rows[position - 1];
    if (column == PhotoColumn::Image)
        row.image = picture;
    else if (column == PhotoColumn::Picture)
        row.picture = picture;
    else
        return;
    const QModelIndex at = indexOf(position, column);
    Q_EMIT dataChanged(at, at);
}

void PhotoListModel::insertPhotos(int position, int count)
{
    if (count <= 0 || position < 1 || position > photoCount() + 1)
        return;
    beginInsertRows({}, position - 1, position + count - 2);
    m_rows.insert(position - 1, count, PhotoRow{});
    endInsertRows();
}

void PhotoListModel::removePhotos(int position, int count)
{
    if (position < 1 || position > photoCount() || count <= 0)
        return;
    count = std::min(count, photoCount() - position + 1);
    beginRemoveRows({}, position - 1, position + count - 2);
    m_rows.remove(position - 1, count);
    endRemoveRows();
}

void PhotoListModel::movePhoto(int from, int to)
{
    const int n = photoCount();
    if (from < 1 || from > n || to < 1 || to > n || from == to)
        return;
    // Qt's destination is the row before which the moved row lands, counted before the move.
    const int destination = to > from ? to : to - 1;
    beginMoveRows({}, from - 1, from - 1, {}, destination);
    m_rows.move(from - 1, to - 1);
    endMoveRows();
}

void PhotoListModel::swapPhotos(int a, int b)
{
    const int n = photoCount();
    if (a < 1 || a > n || b < 1 || b > n || a == b)
        return;
    std::swap(m_rows[a - 1], m_rows[b - 1]);
    Q_EMIT dataChanged(index(a - 1, 0), index(a - 1, PhotoColumnCount - 1));
    Q_EMIT dataChanged(index(b - 1, 0), index(b - 1, PhotoColumnCount - 1));
}

void PhotoListModel::sortPhotos(PhotoColumn key, Qt::SortOrder order)
{
    // Text comparison without regard to case (file names then sort as the folder listing gives
    // them), code units breaking ties: the date column's fixed-width digits sort in time order,
    // and "不明" sorts after every digit.
    sortPhotosBy([key, order](const PhotoRow& a, const PhotoRow& b) {
        const int c = compareText(a.text(key), b.text(key));
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
}

int PhotoListModel::compareText(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c : QString::compare(a, b, Qt::CaseSensitive);
}

void PhotoListModel::sortPhotosBy(const std::function<bool(const PhotoRow&, const PhotoRow&)>& less)
{
    if (m_rows.isEmpty())
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    // Remember where every row came from so that persistent indexes follow their rows.
    QVector<int> order_(m_rows.size());
    for (int i = 0; i < order_.size(); ++i)
        order_[i] = i;
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return less(m_rows.at(a), m_rows.at(b)); });
    QVector<PhotoRow> sorted;
    sorted.reserve(m_rows.size());
    QVector<int> newRowOf(m_rows.size());
    for (int i = 0; i < order_.size(); ++i) {
        sorted.push_back(std::move(m_rows[order_[i]]));
        newRowOf[order_[i]] = i;
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& idx : before)
        after.push_back(index(newRowOf.value(idx.row()), idx.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString PhotoListModel::headerText(PhotoColumn column)
{
    switch (column) {
    case PhotoColumn::Image: return QStringLiteral("image");
    case PhotoColumn::Picture: return QStringLiteral("写真");
    case PhotoColumn::PathName: return QStringLiteral("ﾊﾟｽ名");
    case PhotoColumn::FileName: return QStringLiteral("ファイル名");
    case PhotoColumn::Model: return QStringLiteral("機種名");
    case PhotoColumn::DateTime: return QStringLiteral("撮影日時");
    case PhotoColumn::Tv: return QStringLiteral("Tv");
    case PhotoColumn::Av: return QStringLiteral("Av");
    case PhotoColumn::Rotation: return QStringLiteral("回転");
    case PhotoColumn::Caption: return QStringLiteral("キャプション(表題)");
    }
    return {};
}

QString PhotoListModel::rotationText(int code)
{
    switch (code) {
    case 0: return QStringLiteral("なし");
    case 1: return QStringLiteral("左90度");
    case 2: return QStringLiteral("右90度");
    case 3: return QStringLiteral("180度");
    }
    return {};
}

int PhotoListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : photoCount();
}

int PhotoListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : PhotoColumnCount;
}

QVariant PhotoListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= photoCount())
        return {};
    const PhotoRow& row = m_rows.at(index.row());
    const auto column = PhotoColumn(index.column() + 1);
    switch (column) {
    case PhotoColumn::Image:
    case PhotoColumn::Picture:
        if (role == Qt::DecorationRole || role == Qt::EditRole) {
            const ListPicture& picture = column == PhotoColumn::Image ? row.image : row.picture;
            return picture.isNull() ? QVariant() : QVariant(picture.toImage());
        }
        return {};
    case PhotoColumn::Rotation:
        if (role == Qt::DisplayRole)
            return rotationText(row.rotation);
        if (role == Qt::EditRole)
            return row.rotation;
        return {};
    default:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return row.text(column);
        if (role == Qt::ToolTipRole && column == PhotoColumn::Caption && !row.caption.isEmpty())
            return row.caption;
        return {};
    }
}

bool PhotoListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= photoCount() || role != Qt::EditRole)
        return false;
    PhotoRow& row = m_rows[index.row()];
    const auto column = PhotoColumn(index.column() + 1);
    switch (column) {
    case PhotoColumn::Image: row.image = value.value<QImage>(); break;
    case PhotoColumn::Picture: row.picture = value.value<QImage>(); break;
    case PhotoColumn::Rotation: {
        bool ok = false;
        const int code = value.toInt(&ok);
        if (!ok || code < 0 || code > 3)
            return false;
        row.rotation = code;
        break;
    }
    case PhotoColumn::Caption:
        // Captions keep CR LF line breaks, whatever the editor hands in.
        row.caption = limitCaption(value.toString());
        break;
    default: row.setText(column, value.toString()); break;
    }
    Q_EMIT dataChanged(index, index);
    Q_EMIT cellValueChanged(index.row() + 1, column);
    return true;
}

QVariant PhotoListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The caption column's title tells that captions go into the pages as typed, markup and all.
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal && section == int(PhotoColumn::Caption) - 1)
        return QCoreApplication::translate("PhotoListModel",
                                           "アルバムのページにはそのまま入ります（HTMLのタグも使えます）。");
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= PhotoColumnCount)
            return {};
        return headerText(PhotoColumn(section + 1));
    }
    return section + 1;
}

Qt::ItemFlags PhotoListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const auto column = PhotoColumn(index.column() + 1);
    if (column == PhotoColumn::Rotation || column == PhotoColumn::Caption)
        f |= Qt::ItemIsEditable;
    return f;
}
