// SPDX-License-Identifier: MIT
// The main window's Step2 page: the photo grid and its editing commands.
#include "app/widgets/frmmain.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "catalogue/editcommands.h"
#include "components/widgets/photogridview.h"

namespace
{
// The grid's designed width in twips: the row numbers and the five shown columns plus a scroll bar.
constexpr int GridDesignWidthTwips = 11700;
} // namespace

void frmMain::buildStep2()
{
    fraStep2 = new QWidget;
    fraStep2->setObjectName(QStringLiteral("fraStep2"));
    vaSpread1 = new PhotoGridView;
    vaSpread1->setPhotoModel(&m_model);
    vaSpread1->setWidthTwips(GridDesignWidthTwips);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    auto button = [&](QPushButton*& member, const char* name, const char* caption, const char* tip,
                      void (frmMain::*slot)()) {
        member = new QPushButton(tr(caption));
        member->setObjectName(QString::fromLatin1(name));
        member->setToolTip(tr(tip));
        member->setAutoDefault(false);
        buttons->addWidget(member);
        connect(member, &QPushButton::clicked, this, slot);
    };
    button(cmdMoveTop, "cmdMoveTop", QT_TR_NOOP("先頭へ"), QT_TR_NOOP("写真を先頭に移動する"),
           &frmMain::cmdMoveTop_Click);
    button(cmdMoveUp, "cmdMoveUp", QT_TR_NOOP("前へ"), QT_TR_NOOP("写真を前に移動する"), &frmMain::cmdMoveUp_Click);
    button(cmdMoveDown, "cmdMoveDown", QT_TR_NOOP("次へ"), QT_TR_NOOP("写真を次に移動する"),
           &frmMain::cmdMoveDown_Click);
    button(cmdMoveBottom, "cmdMoveBottom", QT_TR_NOOP("末尾へ"), QT_TR_NOOP("写真を末尾に移動する"),
           &frmMain::cmdMoveBottom_Click);
    buttons->addSpacing(12);
    button(cmdSort123, "cmdSort123", QT_TR_NOOP("ﾌｧｲﾙ名 昇順"), QT_TR_NOOP("写真をﾌｧｲﾙ名で昇順に並び替える"),
           &frmMain::cmdSort123_Click);
    button(cmdSort321, "cmdSort321", QT_TR_NOOP("ﾌｧｲﾙ名 降順"), QT_TR_NOOP("写真をﾌｧｲﾙ名で降順に並び替える"),
           &frmMain::cmdSort321_Click);
    button(cmdSortDate123, "cmdSortDate123", QT_TR_NOOP("撮影日時 昇順"),
           QT_TR_NOOP("写真を撮影日時で昇順に並び替える"), &frmMain::cmdSortDate123_Click);
    button(cmdSortDate321, "cmdSortDate321", QT_TR_NOOP("撮影日時 降順"),
           QT_TR_NOOP("写真を撮影日時で降順に並び替える"), &frmMain::cmdSortDate321_Click);
    buttons->addSpacing(12);
    button(cmdDelete, "cmdDelete", QT_TR_NOOP("除外"), QT_TR_NOOP("写真をｱﾙﾊﾞﾑから除外する"),
           &frmMain::cmdDelete_Click);
    buttons->addStretch(1);
    button(cmdSave, "cmdSave", QT_TR_NOOP("保存"), QT_TR_NOOP("現在の写真一覧ﾃﾞｰﾀを保存する"), &frmMain::cmdSave_Click);
    button(cmdRefresh, "cmdRefresh", QT_TR_NOOP("初期化"), QT_TR_NOOP("写真一覧ﾃﾞｰﾀの初期化"),
           &frmMain::cmdRefresh_Click);

    auto* page = new QHBoxLayout(fraStep2);
    page->setContentsMargins(8, 8, 8, 8);
    page->addWidget(vaSpread1, 1);
    page->addLayout(buttons);

    connect(&m_model, &PhotoListModel::cellValueChanged, this, &frmMain::vaSpread1_Change);
    connect(vaSpread1, &PhotoGridView::cellDoubleClicked, this, &frmMain::vaSpread1_DblClick);
    connect(vaSpread1, &PhotoGridView::photoMoveRequested, this, &frmMain::vaSpread1_KeyMove);
}

void frmMain::moveCommand(int (*command)(PhotoListModel&, int))
{
    const int column = vaSpread1->activeColumn();
    const int row = command(m_model, vaSpread1->activeRow());
    if (row > 0)
        vaSpread1->setActiveCell(column, row);
}

void frmMain::cmdMoveTop_Click()
{
    moveCommand(&EditCommands::moveTop);
}
void frmMain::cmdMoveUp_Click()
{
    moveCommand(&EditCommands::moveUp);
}
void frmMain::cmdMoveDown_Click()
{
    moveCommand(&EditCommands::moveDown);
}
void frmMain::cmdMoveBottom_Click()
{
    moveCommand(&EditCommands::moveBottom);
}
void frmMain::cmdSort123_Click()
{
    EditCommands::sortByFileName(m_model, true);
}
void frmMain::cmdSort321_Click()
{
    EditCommands::sortByFileName(m_model, false);
}
void frmMain::cmdSortDate123_Click()
{
    EditCommands::sortByDate(m_model, true);
}
void frmMain::cmdSortDate321_Click()
{
    EditCommands::sortByDate(m_model, false);
}
void frmMain::cmdDelete_Click()
{
    (void)EditCommands::remove(m_model, vaSpread1->activeRow());
}
void frmMain::cmdSave_Click()
{
    const int photos = m_model.photoCount();
    if (photos == 0) {
        // An empty list is never written: an older list file stays as it is.
        message(QMessageBox::Information, tr("写真一覧に写真がないため，保存するものがありません。"));
        return;
    }
    if (saveList() && photos > 0 && !txtFolder->text().isEmpty())
        showStatus(tr("写真%n枚を%1に保存しました。", nullptr, photos).arg(QStringLiteral("Lumivert.bin")));
}

void frmMain::cmdRefresh_Click()
{
    // Typed rotations and captions go, once the user has had the chance to save them; a saved list
    // file stays as it is.
    if (!mayDropUnsavedChanges(tr("初期化する前に，写真一覧ﾃﾞｰﾀを保存しますか？"), tr("写真一覧ﾃﾞｰﾀの初期化")))
        return;
    StatusBar1->clearMessage(); // "album written" was about the list that goes now
    const QVector<PhotoRow> before = m_model.rows();
    if (!runImport()) {
        // A cancelled import gives back the list that was there, changes and all.
        m_model.setRows(before);
        return;
    }
    SetCoverPhoto(1);
}

void frmMain::vaSpread1_Change(int position, PhotoColumn column)
{
    if (column == PhotoColumn::Rotation)
        EditCommands::applyRotation(m_model, position);
}

void frmMain::vaSpread1_DblClick(int column, int row)
{
    if (PhotoColumn(column) != PhotoColumn::Picture || row < 1 || row > m_model.photoCount())
        return;
    m_hooks.launchDocument(this, m_model.cellText(row, PhotoColumn::PathName));
}

void frmMain::vaSpread1_KeyMove(int key)
{
    switch (key) {
    case Qt::Key_Home:
        cmdMoveTop_Click();
        break;
    case Qt::Key_Up:
        cmdMoveUp_Click();
        break;
    case Qt::Key_Down:
        cmdMoveDown_Click();
        break;
    case Qt::Key_End:
        cmdMoveBottom_Click();
        break;
    default:
        break;
    }
}
