// SPDX-License-Identifier: MIT
#include "components/widgets/photogridview.h"

#include <gtest/gtest.h>

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolTip>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>

#include "common/testutil.h"
#include "components/photolistmodel.h"
#include "components/sharppictures.h"

namespace
{

class PhotoGridViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QVector<PhotoRow> rows(3);
        for (int i = 0; i < rows.size(); ++i) {
            rows[i].fileName = QStringLiteral("p%1.jpg").arg(i + 1);
            rows[i].pathName = QStringLiteral("/photos/p%1.jpg").arg(i + 1);
            QImage red(120, 90, QImage::Format_RGB32);
            red.fill(Qt::red);
            rows[i].picture = red;
        }
        m_model.setRows(rows);
        m_view.setPhotoModel(&m_model);
        m_view.resize(800, 400);
    }

    PhotoListModel m_model;
    PhotoGridView m_view;
};

TEST_F(PhotoGridViewTest, ShowsTheDesignedColumns)
{
    EXPECT_EQ(m_view.objectName(), QStringLiteral("vaSpread1"));
    EXPECT_EQ(m_view.photoModel(), &m_model);
    const bool hidden[] = {true, false, true, false, true, false, true, true, false, false};
    const int widths[] = {960, 1605, 960, 1350, 960, 1815, 960, 960, 930, 5055};
    for (int c = 1; c <= PhotoColumnCount; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(m_view.isColumnHidden(c - 1), hidden[c - 1]);
        EXPECT_EQ(PhotoGridView::designWidthTwips(c), widths[c - 1]);
        EXPECT_EQ(m_view.columnWidthTwips(c), widths[c - 1]);
        // The rotation column keeps its designed width in twips but is shown at least as wide as
        // its widest choice drawn as a choice list.
        if (c == int(PhotoColumn::Rotation)) {
            EXPECT_GE(m_view.columnWidth(c - 1), (widths[c - 1] + 7) / 15);
            EXPECT_GT(m_view.columnWidth(c - 1), m_view.fontMetrics().horizontalAdvance(QStringLiteral("右90度")) + 20);
        } else if (!hidden[c - 1]) {
            EXPECT_EQ(m_view.columnWidth(c - 1), (widths[c - 1] + 7) / 15);
        }
    }
    EXPECT_GE(m_view.verticalHeader()->defaultSectionSize(), ThumbnailBoxHeight);
    EXPECT_EQ(m_view.verticalHeader()->width(), 480 / 15);
}

TEST_F(PhotoGridViewTest, ColumnWidthsRoundTripInTwips)
{
    const struct {
        int column;
        int twips;
        int pixels;
    } rows[] = {{4, 2000, 133}, {4, 12, 1}, {10, 5055, 337}, {2, 15, 1}, {6, 1816, 121}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.column << ":" << row.twips);
        m_view.setColumnWidthTwips(row.column, row.twips);
        EXPECT_EQ(m_view.columnWidthTwips(row.column), row.twips);
        EXPECT_EQ(m_view.columnWidth(row.column - 1), row.pixels);
    }
    // Zero, negative and out-of-range requests change nothing.
    m_view.setColumnWidthTwips(6, 0);
    m_view.setColumnWidthTwips(6, -30);
    m_view.setColumnWidthTwips(11, 300);
    EXPECT_EQ(m_view.columnWidthTwips(6), 1816);
    EXPECT_EQ(m_view.columnWidthTwips(0), 0);
    // A column the user resized reports its new width.
    m_view.setColumnWidth(3, 50);
    EXPECT_EQ(m_view.columnWidthTwips(4), 750);
    // A hidden column keeps its width and has it when shown.
    m_view.setColumnWidthTwips(3, 1500);
    EXPECT_EQ(m_view.columnWidthTwips(3), 1500);
    m_view.setColumnHidden(2, false);
    EXPECT_EQ(m_view.columnWidth(2), 100);
    EXPECT_EQ(m_view.columnWidthTwips(3), 1500);
}

TEST_F(PhotoGridViewTest, WidthInTwips)
{
    m_view.setWidthTwips(9000);
    EXPECT_EQ(m_view.minimumWidth(), 600);
    EXPECT_EQ(m_view.widthTwips(), 9000);
    m_view.setWidthTwips(9007);
    EXPECT_EQ(m_view.widthTwips(), 9007);
    m_view.setWidthTwips(0);
    EXPECT_EQ(m_view.widthTwips(), 9007);
}

TEST_F(PhotoGridViewTest, ActiveCellIsOneBased)
{
    EXPECT_EQ(m_view.activeRow(), 0);
    EXPECT_EQ(m_view.activeColumn(), 0);
    m_view.setActiveCell(4, 2);
    EXPECT_EQ(m_view.activeRow(), 2);
    EXPECT_EQ(m_view.activeColumn(), 4);
    EXPECT_EQ(m_view.currentIndex(), m_model.indexOf(2, PhotoColumn::FileName));
    for (const auto& [column, row] : {std::pair{0, 1}, {1, 0}, {4, 4}, {11, 1}}) {
        SCOPED_TRACE(testing::Message() << column << "," << row);
        m_view.setActiveCell(4, 2);
        m_view.setActiveCell(column, row);
        EXPECT_EQ(m_view.activeRow(), 0);
        EXPECT_EQ(m_view.activeColumn(), 0);
    }
}

TEST_F(PhotoGridViewTest, ControlArrowsRequestMovesAndPlainArrowsMoveTheCursor)
{
    QSignalSpy moves(&m_view, &PhotoGridView::photoMoveRequested);
    m_view.setActiveCell(4, 2);
    for (int key : {Qt::Key_Home, Qt::Key_Up, Qt::Key_Down, Qt::Key_End})
        QTest::keyClick(&m_view, Qt::Key(key), Qt::ControlModifier);
    ASSERT_EQ(moves.count(), 4);
    EXPECT_EQ(moves.at(0).at(0).toInt(), int(Qt::Key_Home));
    EXPECT_EQ(moves.at(3).at(0).toInt(), int(Qt::Key_End));
    EXPECT_EQ(m_view.activeRow(), 2); // the view itself did not move
    QTest::keyClick(&m_view, Qt::Key_Down);
    EXPECT_EQ(moves.count(), 4);
    EXPECT_EQ(m_view.activeRow(), 3);
}

TEST_F(PhotoGridViewTest, DoubleClickReportsColumnAndRow)
{
    m_view.show();
    QSignalSpy clicks(&m_view, &PhotoGridView::cellDoubleClicked);
    const QRect cell = m_view.visualRect(m_model.indexOf(2, PhotoColumn::Picture));
    ASSERT_TRUE(cell.isValid());
    // A double click follows a press on the same cell, as the view requires.
    QTest::mousePress(m_view.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(m_view.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_GE(clicks.count(), 1);
    EXPECT_EQ(clicks.last().at(0).toInt(), 2);
    EXPECT_EQ(clicks.last().at(1).toInt(), 2);
}

TEST_F(PhotoGridViewTest, RotationIsAChoiceListAndCaptionMultiLineText)
{
    QAbstractItemDelegate* delegate = m_view.itemDelegate();
    QStyleOptionViewItem option;
    QWidget parent;
    QSignalSpy changes(&m_model, &PhotoListModel::cellValueChanged);

    const QModelIndex rotation = m_model.indexOf(1, PhotoColumn::Rotation);
    std::unique_ptr<QWidget> editor(delegate->createEditor(&parent, option, rotation));
    auto* box = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->itemText(1), QStringLiteral("左90度"));
    delegate->setEditorData(box, rotation);
    EXPECT_EQ(box->currentIndex(), 0);
    delegate->setModelData(box, &m_model, rotation);
    EXPECT_EQ(changes.count(), 0); // the same choice is no change
    box->setCurrentIndex(2);
    delegate->setModelData(box, &m_model, rotation);
    EXPECT_EQ(m_model.photoAt(1).rotation, 2);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(1).value<PhotoColumn>(), PhotoColumn::Rotation);

    const QModelIndex caption = m_model.indexOf(2, PhotoColumn::Caption);
    std::unique_ptr<QWidget> textEditor(delegate->createEditor(&parent, option, caption));
    auto* text = qobject_cast<QPlainTextEdit*>(textEditor.get());
    ASSERT_NE(text, nullptr);
    text->setPlainText(QStringLiteral("line 1\nline 2"));
    delegate->setModelData(text, &m_model, caption);
    EXPECT_EQ(m_model.photoAt(2).caption, QStringLiteral("line 1\r\nline 2"));
    delegate->setEditorData(text, caption);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("line 1\nline 2"));
    text->setPlainText(QString(5000, QLatin1Char('x')));
    EXPECT_EQ(text->toPlainText().size(), MaxCaptionLength);
    delegate->setModelData(text, &m_model, caption);
    EXPECT_EQ(m_model.photoAt(2).caption.size(), MaxCaptionLength);

    // Only rotation and caption are edited in the grid.
    EXPECT_FALSE(m_model.flags(m_model.indexOf(1, PhotoColumn::FileName)) & Qt::ItemIsEditable);
}

TEST_F(PhotoGridViewTest, CaptionEditorCountsAsTheListAndKeepsTheTextAroundAPaste)
{
    m_view.show();
    const QModelIndex caption = m_model.indexOf(1, PhotoColumn::Caption);
    m_view.setCurrentIndex(caption);
    m_view.edit(caption);
    auto* text = qobject_cast<QPlainTextEdit*>(m_view.indexWidget(caption));
    ASSERT_NE(text, nullptr);

    // Full with line breaks in it: a line break counts one in the editor as in the list.
    const QString full =
        QString(2000, QLatin1Char('a')) + QString(96, QLatin1Char('\n')) + QString(2000, QLatin1Char('z'));
    text->setPlainText(full);
    EXPECT_EQ(text->toPlainText(), full);
    // A paste in the middle loses what does not fit of the paste, not the end of the caption.
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(1000);
    text->setTextCursor(cursor);
    text->insertPlainText(QStringLiteral("PASTED"));
    EXPECT_EQ(text->toPlainText(), full);
    cursor.setPosition(3000);
    cursor.setPosition(3003, QTextCursor::KeepAnchor);
    cursor.removeSelectedText(); // three characters free
    text->setTextCursor(cursor);
    text->insertPlainText(QStringLiteral("\nPASTED"));
    EXPECT_EQ(text->toPlainText().mid(2999, 5), QStringLiteral("z\nPAz"));
    EXPECT_TRUE(text->toPlainText().endsWith(QString(1093, QLatin1Char('z'))));
    EXPECT_EQ(text->toPlainText().size(), MaxCaptionLength);

    // Leaving the window while typing: the text reaches the list whole, nothing cut.
    const QString typed = text->toPlainText();
    m_view.commitEditing();
    EXPECT_EQ(m_view.indexWidget(caption), nullptr); // the editor has closed
    QString kept = m_model.photoAt(1).caption;
    EXPECT_EQ(captionLength(kept), MaxCaptionLength);
    EXPECT_EQ(kept.replace(QLatin1String("\r\n"), QLatin1String("\n")), typed);
    m_view.commitEditing(); // nothing being edited: nothing happens
}

TEST_F(PhotoGridViewTest, PaintsWithPicturesAndWithoutThem)
{
    PhotoRow empty;
    empty.fileName = QStringLiteral("broken.jpg");
    m_model.insertPhotos(2);
    m_model.setPhotoAt(2, empty);
    m_view.show();
    const QPixmap shot = m_view.grab();
    EXPECT_FALSE(shot.isNull());
}

} // namespace

namespace
{

// Picture cells show only the picture: every pixel of such a cell is the picture's own red or the
// cell's plain background, also with long captions beside and above and after scrolling.
TEST_F(PhotoGridViewTest, PictureCellsHoldNoText)
{
    QVector<PhotoRow> rows(12);
    for (int i = 0; i < rows.size(); ++i) {
        rows[i].fileName = QStringLiteral("a-rather-long-file-name-%1.jpg").arg(i + 1);
        rows[i].dateTime = QStringLiteral("2004/03/05 12:00:00");
        rows[i].caption = QStringLiteral("WWWWWWWW WWWWWWW WWWWWWWW\r\n").repeated(8);
        QImage red(68, 90, QImage::Format_RGB32);
        red.fill(Qt::red);
        rows[i].picture = red;
    }
    m_model.setRows(rows);
    m_view.resize(900, 500);
    m_view.show();
    for (int scroll : {0, 37, 250}) {
        SCOPED_TRACE(scroll);
        m_view.verticalScrollBar()->setValue(scroll);
        const QImage shot = m_view.viewport()->grab().toImage();
        for (int r = 1; r <= m_model.photoCount(); ++r) {
            const QRect cell = m_view.visualRect(m_model.indexOf(r, PhotoColumn::Picture)) & shot.rect();
            if (cell.height() < 8)
                continue;
            const QRgb background = shot.pixel(cell.topLeft() + QPoint(2, 2));
            int foreign = 0;
            for (int y = cell.top() + 1; y < cell.bottom(); ++y)
                for (int x = cell.left() + 1; x < cell.right(); ++x) {
                    const QRgb p = shot.pixel(x, y);
                    if (p != background && qRed(p) < 200)
                        ++foreign;
                }
            EXPECT_EQ(foreign, 0) << "row " << r;
        }
    }
}

// A file name cut off in its narrow cell shows whole on hover; one that fits shows no tooltip.
TEST_F(PhotoGridViewTest, CutOffFileNameShowsWholeOnHover)
{
    m_view.show();
    const QModelIndex cell = m_model.indexOf(1, PhotoColumn::FileName);
    const auto hover = [&] {
        QToolTip::hideText();
        const QRect rect = m_view.visualRect(cell);
        QHelpEvent help(QEvent::ToolTip, rect.center(), m_view.viewport()->mapToGlobal(rect.center()));
        QCoreApplication::sendEvent(m_view.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hover(), QString());
    m_view.setColumnWidthTwips(int(PhotoColumn::FileName), 15 * 12);
    EXPECT_EQ(hover(), QStringLiteral("p1.jpg"));
    QToolTip::hideText();
}

} // namespace

// On a screen of ratio 2 the grid asks for sharper pictures of the rows it paints, without
// waiting for them, and paints them once they are there; rows it does not paint cost nothing.
TEST(PhotoGridViewSharp, RowsInViewGetSharperPicturesInTheBackground)
{
    QTemporaryDir dir;
    QVector<PhotoRow> rows(40);
    for (int i = 0; i < rows.size(); ++i) {
        rows[i].fileName = QStringLiteral("p%1.jpg").arg(i + 1);
        rows[i].pathName = TestUtil::writeJpeg(dir.filePath(rows[i].fileName), 800, 600, std::nullopt, false, i);
        rows[i].picture = TestUtil::samplePicture(120, 90, i);
    }
    SharpPictures::instance().setDevicePixelRatio(2.0);
    PhotoListModel model;
    model.setRows(rows);
    PhotoGridView view;
    view.setPhotoModel(&model);
    view.resize(800, 400);
    (void)view.grab(); // paints the rows in view
    SharpPictures::instance().waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(SharpPictures::instance().picture(rows[0].pathName, 0).size(), QSize(240, 180));
    EXPECT_TRUE(SharpPictures::instance().picture(rows[39].pathName, 0).isNull()); // far below the view
    SharpPictures::instance().setDevicePixelRatio(1.0);
}
