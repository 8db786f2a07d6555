// SPDX-License-Identifier: MIT
#include "components/widgets/photogridview.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QToolTip>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTextDocument>

#include "components/photolistmodel.h"
#include "components/sharppictures.h"

namespace
{

constexpr int RowHeightPixels = ThumbnailBoxHeight + 6;

// The list's own texts (column titles, rotation choices) stay as the list holds them; only what the
// window shows of them is translated.
[[maybe_unused]] constexpr const char* ListTexts[] = {
    QT_TRANSLATE_NOOP("PhotoListModel", "写真"),
    QT_TRANSLATE_NOOP("PhotoListModel", "ﾊﾟｽ名"),
    QT_TRANSLATE_NOOP("PhotoListModel", "ファイル名"),
    QT_TRANSLATE_NOOP("PhotoListModel", "機種名"),
    QT_TRANSLATE_NOOP("PhotoListModel", "撮影日時"),
    QT_TRANSLATE_NOOP("PhotoListModel", "回転"),
    QT_TRANSLATE_NOOP("PhotoListModel", "キャプション(表題)"),
    QT_TRANSLATE_NOOP("PhotoListModel", "なし"),
    QT_TRANSLATE_NOOP("PhotoListModel", "左90度"),
    QT_TRANSLATE_NOOP("PhotoListModel", "右90度"),
    QT_TRANSLATE_NOOP("PhotoListModel", "180度"),
    QT_TRANSLATE_NOOP("PhotoListModel", "不明"),
};

QString shownText(const QString& listText)
{
    return listText.isEmpty() ? listText : QCoreApplication::translate("PhotoListModel", listText.toUtf8().constData());
}

/// Column titles shown translated; the model's header data stays as it is.
class PhotoGridHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        option->text = shownText(option->text);
    }
};

/// Draws the picture columns centred at their own size, edits the rotation with a choice list and
/// the caption as multi-line text of limited length.
class PhotoGridDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto column = PhotoColumn(index.column() + 1);
        if (column == PhotoColumn::Rotation) {
            paintChoiceList(painter, option, index);
            return;
        }
        if (column != PhotoColumn::Image && column != PhotoColumn::Picture) {
            QStyleOptionViewItem opt(option);
            if (column == PhotoColumn::Caption || column == PhotoColumn::FileName || column == PhotoColumn::DateTime)
                opt.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
            QStyledItemDelegate::paint(painter, opt, index);
            return;
        }
        // Background, selection and focus only: the option is this cell's with its text cleared,
        // since the option the view hands in may still hold the text of a cell painted before.
        paintBackground(painter, option, index);
        const QImage picture = index.data(Qt::DecorationRole).value<QImage>();
        if (picture.isNull())
            return;
        const QSize size = picture.size().scaled(option.rect.size().boundedTo(picture.size()), Qt::KeepAspectRatio);
        QRect target(QPoint(), size);
        target.moveCenter(option.rect.center());
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        const QImage sharp = sharpPicture(option, index);
        painter->drawImage(target, sharp.isNull() ? picture : sharp);
        painter->restore();
    }

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        // The list keeps "不明" as its text; the window shows it in its own language.
        const auto column = PhotoColumn(index.column() + 1);
        if (column == PhotoColumn::Rotation || option->text == QStringLiteral("不明"))
            option->text = shownText(option->text);
        // An exposure of 0/0 seconds (no exposure in the EXIF) is unknown, not a shutter speed.
        else if (column == PhotoColumn::Tv && option->text.endsWith(QLatin1String("/0sec")))
            option->text = shownText(QStringLiteral("不明"));
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        // A text cut off in its cell shows whole on hover.
        if (event->type() == QEvent::ToolTip && index.isValid() && !index.data(Qt::ToolTipRole).isValid()) {
            QStyleOptionViewItem opt(option);
            initStyleOption(&opt, index);
            const QStyle* style = view->style();
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            if (!opt.text.isEmpty() && opt.fontMetrics.horizontalAdvance(opt.text) + 2 * margin > opt.rect.width()) {
                QToolTip::showText(event->globalPos(), opt.text, view->viewport(), opt.rect);
                return true;
            }
            QToolTip::hideText();
            event->ignore();
            return false;
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }

    /// Set by the view just before a click opens a rotation cell: its list then drops down at once.
    bool dropDownNextEditor = false;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto column = PhotoColumn(index.column() + 1);
        if (column == PhotoColumn::Rotation) {
            auto* box = new QComboBox(parent);
            for (int code = 0; code <= 3; ++code)
                box->addItem(shownText(PhotoListModel::rotationText(code)));
            if (std::exchange(const_cast<PhotoGridDelegate*>(this)->dropDownNextEditor, false))
                QTimer::singleShot(0, box, &QComboBox::showPopup);
            // A choice takes effect at once, as a choice list cell does.
            connect(box, &QComboBox::activated, box, [this, box] {
                auto* self = const_cast<PhotoGridDelegate*>(this);
                Q_EMIT self->commitData(box);
                Q_EMIT self->closeEditor(box);
            });
            return box;
        }
        if (column == PhotoColumn::Caption) {
            auto* edit = new QPlainTextEdit(parent);
            edit->setTabChangesFocus(true);
            connect(edit->document(), &QTextDocument::contentsChange, edit, [edit](int position, int, int added) {
                // Keep the caption within its limit while typing or pasting: what does not fit is
                // dropped from the end of what just came in, so the text around it stays whole.
                const int excess = captionLength(edit->toPlainText()) - MaxCaptionLength;
                if (excess <= 0 || added <= 0)
                    return;
                const int end = std::min(position + added, edit->document()->characterCount() - 1);
                int start = std::max(position, end - excess);
                if (start > position && edit->document()->characterAt(start).isLowSurrogate())
                    --start; // never half of a character written with two units
                QTextCursor cut(edit->document());
                cut.setPosition(start);
                cut.setPosition(end, QTextCursor::KeepAnchor);
                cut.removeSelectedText();
            });
            return edit;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(std::clamp(index.data(Qt::EditRole).toInt(), 0, 3));
            return;
        }
        if (auto* edit = qobject_cast<QPlainTextEdit*>(editor)) {
            QString text = index.data(Qt::EditRole).toString();
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            edit->setPlainText(text);
            edit->moveCursor(QTextCursor::End);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            if (box->currentIndex() != index.data(Qt::EditRole).toInt())
                model->setData(index, box->currentIndex(), Qt::EditRole);
            return;
        }
        if (auto* edit = qobject_cast<QPlainTextEdit*>(editor)) {
            model->setData(index, edit->toPlainText(), Qt::EditRole); // the model keeps the limit
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override
    {
        if (PhotoColumn(index.column() + 1) == PhotoColumn::Rotation) {
            editor->setGeometry(choiceListRect(option, editor->sizeHint().height()));
            return;
        }
        editor->setGeometry(option.rect);
    }

private:
    static QRect choiceListRect(const QStyleOptionViewItem& option, int height)
    {
        QRect box = option.rect.adjusted(2, 0, -2, 0);
        box.setHeight(std::min(height, option.rect.height()));
        box.moveTop(option.rect.top() + (option.rect.height() - box.height()) / 2);
        return box;
    }

    // Background, selection and focus of a cell, without its text: the option is this cell's with
    // the text cleared, since the option the view hands in may still hold another cell's text.
    // On a screen of more than one device pixel per pixel, the window's own sharper picture of the
    // photo in place of the list's 120 x 90 one; one not made yet is made on a worker, and the
    // grid repaints when it is there (the list's picture shows meanwhile).
    static QImage sharpPicture(const QStyleOptionViewItem& option, const QModelIndex& index)
    {
        const auto* model = qobject_cast<const PhotoListModel*>(index.model());
        SharpPictures& sharp = SharpPictures::instance();
        if (!model || sharp.devicePixelRatio() <= 1.0 || index.row() >= model->photoCount())
            return {};
        const PhotoRow& row = model->photoAt(index.row() + 1);
        if (row.pathName.isEmpty())
            return {};
        const int rotation = PhotoColumn(index.column() + 1) == PhotoColumn::Picture ? row.rotation : 0;
        QImage picture = sharp.picture(row.pathName, rotation);
        if (picture.isNull()) {
            auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
            if (view) {
                QPointer<QWidget> viewport = view->viewport();
                sharp.request(row.pathName, view, [viewport] {
                    if (viewport)
                        viewport->update();
                });
            }
        }
        return picture;
    }

    void paintBackground(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        opt.text.clear();
        opt.icon = QIcon();
        opt.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration);
        const QWidget* widget = option.widget;
        (widget ? widget->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }

    // The rotation cell drawn as the closed choice list it opens into.
    void paintChoiceList(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        paintBackground(painter, option, index);
        const QWidget* widget = option.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        QStyleOptionComboBox box;
        box.initFrom(widget);
        box.state = (option.state & QStyle::State_Enabled) | QStyle::State_Enabled;
        box.palette = option.palette;
        box.currentText = item.text;
        box.editable = false;
        box.frame = true;
        const QSize size = style->sizeFromContents(QStyle::CT_ComboBox, &box,
                                                   QSize(option.rect.width(), item.fontMetrics.height()), widget);
        box.rect = choiceListRect(option, size.height());
        style->drawComplexControl(QStyle::CC_ComboBox, &box, painter, widget);
        style->drawControl(QStyle::CE_ComboBoxLabel, &box, painter, widget);
    }
};

} // namespace

PhotoGridView::PhotoGridView(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("vaSpread1"));
    setHorizontalHeader(new PhotoGridHeader(Qt::Horizontal, this));
    setItemDelegate(new PhotoGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setWordWrap(true);
    setIconSize(QSize(ThumbnailBoxWidth, ThumbnailBoxHeight));
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeightPixels);
    verticalHeader()->setFixedWidth(480 / TwipsPerPixel);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(1);

    // One click opens a rotation cell's choice list, as on a drop-down list.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (!index.isValid() || PhotoColumn(index.column() + 1) != PhotoColumn::Rotation ||
            state() == QAbstractItemView::EditingState)
            return;
        auto* delegate = static_cast<PhotoGridDelegate*>(itemDelegate());
        delegate->dropDownNextEditor = true;
        if (!edit(index, QAbstractItemView::AllEditTriggers, nullptr))
            delegate->dropDownNextEditor = false;
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            Q_EMIT cellDoubleClicked(index.column() + 1, index.row() + 1);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        if (m_fitting)
            return;
        // A width the user gives the caption column becomes its own; any other column's change
        // moves the room left for the caption.
        if (logical + 1 == int(PhotoColumn::Caption))
            m_columnTwips[logical + 1] = {newSize * TwipsPerPixel, newSize};
        fitCaption();
    });
}

bool PhotoGridView::viewportEvent(QEvent* event)
{
    const bool result = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        fitCaption();
    return result;
}

// The caption column takes whatever room the grid has beyond the other columns, and never gets
// narrower than its own width: the width set from the settings, the list file or the user's drag.
void PhotoGridView::fitCaption()
{
    const int caption = int(PhotoColumn::Caption);
    if (!m_model || m_fitting || isColumnHidden(caption - 1))
        return;
    const ColumnWidth& set = m_columnTwips.at(caption);
    const int own = set.pixels > 0 ? set.pixels : (designWidthTwips(caption) + TwipsPerPixel / 2) / TwipsPerPixel;
    int others = 0;
    for (int c = 1; c <= PhotoColumnCount; ++c)
        if (c != caption && !isColumnHidden(c - 1))
            others += columnWidth(c - 1);
    const int wanted = std::max(own, viewport()->width() - others);
    if (columnWidth(caption - 1) == wanted)
        return;
    m_fitting = true;
    setColumnWidth(caption - 1, wanted);
    m_fitting = false;
}

void PhotoGridView::setPhotoModel(PhotoListModel* model)
{
    // Hidden columns keep their widths: remember what each column has before a new model resets them.
    std::array<int, PhotoColumnCount + 1> twips{};
    for (int c = 1; c <= PhotoColumnCount; ++c)
        twips[c] = m_model ? columnWidthTwips(c) : designWidthTwips(c);
    m_model = model;
    setModel(model);
    for (int c = 1; c <= PhotoColumnCount; ++c) {
        setColumnWidthTwips(c, twips[c]);
        const auto column = PhotoColumn(c);
        setColumnHidden(c - 1, column == PhotoColumn::Image || column == PhotoColumn::PathName ||
                                   column == PhotoColumn::Model || column == PhotoColumn::Tv ||
                                   column == PhotoColumn::Av);
    }
}

int PhotoGridView::designWidthTwips(int column)
{
    switch (PhotoColumn(column)) {
    case PhotoColumn::Picture:
        return 1605;
    case PhotoColumn::FileName:
        return 1350;
    case PhotoColumn::DateTime:
        return 1815;
    case PhotoColumn::Rotation:
        return 930;
    case PhotoColumn::Caption:
        return 5055;
    default:
        return 960;
    }
}

// Widths are kept in twips as they were set, and the pixel width they gave is remembered: as long
// as the column still has that pixel width (the user has not resized it), the twips come back
// exactly, so a width survives a save and restore without drifting by the rounding. A hidden
// column reports the width it will have when shown again.
int PhotoGridView::columnWidthTwips(int column) const
{
    if (column < 1 || column > PhotoColumnCount)
        return 0;
    const auto& set = m_columnTwips.at(column);
    if (isColumnHidden(column - 1))
        return set.twips > 0 ? set.twips : designWidthTwips(column);
    // The caption column may be widened to fill the grid; it reports its own width.
    if (PhotoColumn(column) == PhotoColumn::Caption && set.twips > 0)
        return set.twips;
    const int pixels = columnWidth(column - 1);
    return pixels == set.pixels && set.twips > 0 ? set.twips : pixels * TwipsPerPixel;
}

void PhotoGridView::setColumnWidthTwips(int column, int twips)
{
    if (column < 1 || column > PhotoColumnCount || twips <= 0)
        return;
    int pixels = std::max(1, (twips + TwipsPerPixel / 2) / TwipsPerPixel);
    // The rotation cell is drawn as a choice list: it is never narrower than its widest choice in
    // that look, or "右90度" (longer still in a translation) would be cut. The stored width stays
    // the one set.
    if (PhotoColumn(column) == PhotoColumn::Rotation)
        pixels = std::max(pixels, choiceListWidth());
    auto& set = m_columnTwips[column];
    set.twips = twips;
    if (isColumnHidden(column - 1)) {
        // QHeaderView keeps a hidden section's size for when it is shown again.
        horizontalHeader()->resizeSection(column - 1, pixels);
        set.pixels = pixels;
        return;
    }
    m_fitting = true;
    setColumnWidth(column - 1, pixels);
    m_fitting = false;
    set.pixels = pixels;
    fitCaption();
}

int PhotoGridView::choiceListWidth() const
{
    QStyleOptionComboBox box;
    box.initFrom(this);
    box.editable = false;
    box.frame = true;
    int widest = 0;
    for (int code = 0; code <= 3; ++code)
        widest = std::max(widest, fontMetrics().horizontalAdvance(shownText(PhotoListModel::rotationText(code))));
    // The cell's margins around the list, as choiceListRect leaves them.
    constexpr int Margins = 6;
    return style()->sizeFromContents(QStyle::CT_ComboBox, &box, QSize(widest, fontMetrics().height()), this).width() +
           Margins;
}

int PhotoGridView::widthTwips() const
{
    return m_widthTwips > 0 ? m_widthTwips : width() * TwipsPerPixel;
}

void PhotoGridView::setWidthTwips(int twips)
{
    if (twips <= 0)
        return;
    // The width given is the grid's own, kept as its least width; a larger window widens the grid
    // beyond it, and the widened width is never reported back as its own.
    setMinimumWidth(std::max(1, (twips + TwipsPerPixel / 2) / TwipsPerPixel));
    m_widthTwips = twips;
}

int PhotoGridView::activeRow() const
{
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.row() + 1 : 0;
}

int PhotoGridView::activeColumn() const
{
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.column() + 1 : 0;
}

void PhotoGridView::setActiveCell(int column, int row)
{
    if (!m_model || row < 1 || column < 1 || row > m_model->photoCount() || column > PhotoColumnCount) {
        if (selectionModel())
            selectionModel()->clearCurrentIndex();
        clearSelection();
        return;
    }
    const QModelIndex at = m_model->index(row - 1, column - 1);
    setCurrentIndex(at);
    scrollTo(at);
}

void PhotoGridView::commitEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void PhotoGridView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Home:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_End:
            Q_EMIT photoMoveRequested(event->key());
            event->accept();
            return;
        default:
            break;
        }
    }
    // Enter on a picture opens the photo, as a double click does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier &&
        state() != QAbstractItemView::EditingState && currentIndex().isValid() &&
        PhotoColumn(currentIndex().column() + 1) == PhotoColumn::Picture) {
        Q_EMIT cellDoubleClicked(currentIndex().column() + 1, currentIndex().row() + 1);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
