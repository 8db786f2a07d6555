// SPDX-License-Identifier: MIT
// The main window's second page: the photo grid and its commands.
#include "frmmaintest.h"

namespace
{

using namespace FrmMainTesting;

TEST_F(FrmMainTest, Step2ButtonsCarryTheirTooltipsAndGridItsLayout)
{
    start();
    const struct {
        const char* name;
        const char* tip;
    } rows[] = {{"cmdMoveTop", "写真を先頭に移動する"},
                {"cmdMoveUp", "写真を前に移動する"},
                {"cmdMoveDown", "写真を次に移動する"},
                {"cmdMoveBottom", "写真を末尾に移動する"},
                {"cmdSort123", "写真をﾌｧｲﾙ名で昇順に並び替える"},
                {"cmdSort321", "写真をﾌｧｲﾙ名で降順に並び替える"},
                {"cmdSortDate123", "写真を撮影日時で昇順に並び替える"},
                {"cmdSortDate321", "写真を撮影日時で降順に並び替える"},
                {"cmdDelete", "写真をｱﾙﾊﾞﾑから除外する"},
                {"cmdSave", "現在の写真一覧ﾃﾞｰﾀを保存する"},
                {"cmdRefresh", "写真一覧ﾃﾞｰﾀの初期化"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* button = child<QAbstractButton>(QString::fromLatin1(row.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(row.tip));
    }
    auto* grid = child<PhotoGridView>("vaSpread1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->columnCount(), 10);
    const bool hidden[] = {true, false, true, false, true, false, true, true, false, false};
    for (int c = 1; c <= 10; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(grid->isColumnHidden(c - 1), hidden[c - 1]);
        EXPECT_EQ(grid->columnWidthTwips(c), PhotoGridView::designWidthTwips(c));
    }
    EXPECT_EQ(grid->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("キャプション(表題)"));
}

TEST_F(FrmMainTest, GridEventsAndKeysReachTheCommands)
{
    writePhotos(3);
    frmMain& w = start(m_photos.path());
    PhotoGridView* grid = w.grid();
    const QString second = w.photoList().cellText(2, PhotoColumn::FileName);
    grid->setActiveCell(4, 2);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(w.photoList().cellText(1, PhotoColumn::FileName), second);
    EXPECT_EQ(grid->activeRow(), 1);
    EXPECT_EQ(grid->activeColumn(), 4);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w.photoList().cellText(3, PhotoColumn::FileName), second);
    EXPECT_EQ(grid->activeRow(), 3);

    // Double click: the picture column opens the photo, other columns do nothing.
    Q_EMIT grid->cellDoubleClicked(4, 3);
    EXPECT_TRUE(m_launched.isEmpty());
    Q_EMIT grid->cellDoubleClicked(2, 3);
    EXPECT_EQ(m_launched, QStringList{w.photoList().cellText(3, PhotoColumn::PathName)});

    // A rotation chosen in the grid redraws the shown picture.
    ASSERT_EQ(w.photoList().cellPicture(1, PhotoColumn::Picture).size(), QSize(120, 90));
    ASSERT_TRUE(w.photoList().setData(w.photoList().indexOf(1, PhotoColumn::Rotation), 2));
    EXPECT_EQ(w.photoList().cellPicture(1, PhotoColumn::Picture).size(), QSize(68, 90));

    // Remove and sort through the buttons.
    grid->setActiveCell(2, 1);
    child<QAbstractButton>("cmdDelete")->click();
    EXPECT_EQ(w.photoList().photoCount(), 2);
    child<QAbstractButton>("cmdSort321")->click();
    EXPECT_GT(w.photoList().cellText(1, PhotoColumn::FileName), w.photoList().cellText(2, PhotoColumn::FileName));
    m_answer = QMessageBox::Discard; // the changes above are not kept
    child<QAbstractButton>("cmdRefresh")->click();
    EXPECT_EQ(w.photoList().photoCount(), 3);
    EXPECT_EQ(w.coverNumber(), 1);
}

TEST_F(FrmMainTest, StartOverAndReadAskFirstAndACancelledImportGivesTheListBack)
{
    writePhotos(3);
    frmMain& w = start(m_photos.path());
    PhotoListModel& list = w.photoList();
    w.grid()->setActiveCell(4, 3);
    w.cmdMoveTop_Click();
    ASSERT_TRUE(list.setData(list.indexOf(1, PhotoColumn::Caption), QStringLiteral("mine")));
    const QVector<PhotoRow> edited = list.rows();
    m_imports = 0;

    // Cancel: nothing is read.
    m_answer = QMessageBox::Cancel;
    child<QAbstractButton>("cmdRefresh")->click();
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_messages[0].text, UnsavedQuestion + QStringLiteral("初期化する前に，写真一覧ﾃﾞｰﾀを保存しますか？"));
    EXPECT_EQ(m_messages[0].title, QStringLiteral("写真一覧ﾃﾞｰﾀの初期化"));
    EXPECT_EQ(m_imports, 0);
    tabs()->setCurrentIndex(0);
    child<QAbstractButton>("cmdGetPicture")->click();
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages[1].text,
              UnsavedQuestion + QStringLiteral("写真一覧を読み込む前に，写真一覧ﾃﾞｰﾀを保存しますか？"));
    EXPECT_EQ(m_messages[1].title, QStringLiteral("写真一覧"));
    EXPECT_EQ(m_imports, 0);
    EXPECT_EQ(list.rows(), edited);
    tabs()->setCurrentIndex(1);

    // Don't save, then the import is cancelled: the edited list comes back, still unsaved.
    m_answer = QMessageBox::Discard;
    m_cancelImport = true;
    child<QAbstractButton>("cmdRefresh")->click();
    EXPECT_EQ(m_imports, 1);
    EXPECT_EQ(list.rows(), edited);
    EXPECT_TRUE(list.hasUnsavedChanges());

    // Save, then start over: the file keeps the work, the grid shows the folder afresh.
    m_answer = QMessageBox::Save;
    m_cancelImport = false;
    child<QAbstractButton>("cmdRefresh")->click();
    EXPECT_EQ(m_imports, 2);
    EXPECT_EQ(list.cellText(1, PhotoColumn::FileName), QStringLiteral("p1.jpg"));
    EXPECT_FALSE(list.hasUnsavedChanges());
    PhotoListModel saved;
    ASSERT_TRUE(PhotoListFile::load(saved, m_photos.path()));
    EXPECT_EQ(saved.cellText(1, PhotoColumn::Caption), QStringLiteral("mine"));
    EXPECT_EQ(saved.cellText(1, PhotoColumn::FileName), QStringLiteral("p3.jpg"));

    // Without changes nothing is asked.
    m_messages.clear();
    child<QAbstractButton>("cmdRefresh")->click();
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(m_imports, 3);
}

TEST_F(FrmMainTest, ImportAndLoadLeaveTheLastRowActiveForTheCommands)
{
    writePhotos(3);
    frmMain& w = start();
    child<QLineEdit>("txtFolder")->setText(m_photos.path());
    w.cmdGetPicture_Click();
    EXPECT_EQ(w.grid()->activeRow(), 3);
    // The commands act at once, without a click on a row first.
    const QString last = w.photoList().cellText(3, PhotoColumn::FileName);
    w.cmdMoveTop_Click();
    EXPECT_EQ(w.photoList().cellText(1, PhotoColumn::FileName), last);
    EXPECT_EQ(w.grid()->activeRow(), 1);
    w.cmdSave_Click();

    m_answer = QMessageBox::Yes;
    w.grid()->setActiveCell(0, 0);
    w.cmdGetPicture_Click(); // loads the saved list
    EXPECT_EQ(m_imports, 1);
    EXPECT_EQ(w.grid()->activeRow(), 3);
    w.cmdDelete_Click();
    EXPECT_EQ(w.photoList().photoCount(), 2);
}

TEST_F(FrmMainTest, GridWidensWithTheWindowAndTheCaptionTakesTheRoom)
{
    frmMain& w = start();
    writePhotos(2);
    child<QLineEdit>("txtFolder")->setText(m_photos.path());
    w.cmdGetPicture_Click();
    w.show();
    QCoreApplication::processEvents();
    PhotoGridView* grid = w.grid();
    const int gridBefore = grid->width();
    const int captionBefore = grid->columnWidth(int(PhotoColumn::Caption) - 1);
    const int fileNameBefore = grid->columnWidth(int(PhotoColumn::FileName) - 1);
    w.resize(w.width() + 400, w.height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->width(), gridBefore + 400);
    EXPECT_EQ(grid->columnWidth(int(PhotoColumn::Caption) - 1), captionBefore + 400);
    EXPECT_EQ(grid->columnWidth(int(PhotoColumn::FileName) - 1), fileNameBefore);
    // What is kept stays the grid's and the caption's own width, not the widened one.
    EXPECT_EQ(grid->widthTwips(), 11700);
    EXPECT_EQ(grid->columnWidthTwips(int(PhotoColumn::Caption)), 5055);
    // A wider caption the user drags is kept, and shown as long as it is wider than the room.
    grid->setColumnWidth(int(PhotoColumn::Caption) - 1, captionBefore + 800);
    EXPECT_EQ(grid->columnWidthTwips(int(PhotoColumn::Caption)), (captionBefore + 800) * 15);
    w.resize(w.width() - 400, w.height());
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnWidth(int(PhotoColumn::Caption) - 1), captionBefore + 800);
}

} // namespace
