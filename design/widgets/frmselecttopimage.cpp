// SPDX-License-Identifier: MIT
#include "design/widgets/frmselecttopimage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/photolistmodel.h"
#include "components/widgets/picturegrid.h"
#include "components/widgets/sharpdisplay.h"
#include "design/gridindex.h"
#include "design/widgets/dialogsupport.h"

namespace
{
// A cell holds a 120 x 90 thumbnail with a small margin.
constexpr int CellWidth = 124;
constexpr int CellHeight = 94;
} // namespace

frmSelectTopImage::frmSelectTopImage(const PhotoListModel& photos, QWidget* parent) : QDialog(parent), m_photos(photos)
{
    setObjectName(QStringLiteral("frmSelectTopImage"));
    setWindowTitle(tr("Lumivert表紙"));

    auto* label = new QLabel(tr("■ Lumivert表紙の写真を選んでください。"), this);
    label->setObjectName(QStringLiteral("lblCaption"));

    vaSpread1 = new PictureGrid(this);
    vaSpread1->setObjectName(QStringLiteral("vaSpread1"));
    const int n = m_photos.photoCount();
    vaSpread1->setGridSize(GridIndex::rowsFor(n, Columns), Columns);
    vaSpread1->setCellSizePixels(CellWidth, CellHeight);
    for (int p = 1; p <= n; ++p) {
        const GridIndex::Cell cell = GridIndex::cellOf(p, Columns);
        // A sharper picture made later (a list loaded from its file) takes the cell's place then.
        vaSpread1->setCellPicture(cell.column, cell.row, SharpDisplay::listPicture(m_photos, p, this, [this, p, cell] {
                                      if (p <= m_photos.photoCount())
                                          vaSpread1->setCellPicture(cell.column, cell.row,
                                                                    SharpDisplay::listPicture(m_photos, p));
                                  }));
    }
    // Seven cells and a scroll bar wide; at most three rows tall before it scrolls.
    const int frame = 2 * vaSpread1->frameWidth();
    vaSpread1->setMinimumSize(Columns * CellWidth + frame + 20, 3 * CellHeight + frame);
    vaSpread1->setActiveCell(0, 0);

    auto* cmdOK = new QPushButton(tr("OK(&O)"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Kept for the layout users know; it has no action.
    auto* cmdHelp = new QPushButton(tr("ﾍﾙﾌﾟ(&H)"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(vaSpread1, 1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmSelectTopImage::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectTopImage::cmdCancel_Click);
    connect(vaSpread1, &PictureGrid::cellDoubleClickedAt, this, &frmSelectTopImage::cmdOK_Click);

    adjustSize();
    DialogSupport::centreOnScreen(this);
}

void frmSelectTopImage::setUserIndex(int index)
{
    m_userIndex = index;
    // Only a listed photo is preselected; any other number leaves no photo cell active.
    const GridIndex::Cell cell = index <= m_photos.photoCount() ? GridIndex::cellOf(index, Columns) : GridIndex::Cell{};
    vaSpread1->setActiveCell(cell.column, cell.row);
}

void frmSelectTopImage::cmdOK_Click()
{
    const int row = vaSpread1->activeRow();
    const int column = vaSpread1->activeColumn();
    // With no active cell the arithmetic gives a number below 1; that is no photo either, and
    // must not come back as an "OK" with a cover number that names nothing.
    if (!GridIndex::holdsItem(row, column, Columns, m_photos.photoCount())) {
        DialogSupport::information(this, windowTitle(), tr("写真が選択されていません。"));
        return;
    }
    m_userIndex = GridIndex::itemAt(row, column, Columns);
    m_userTag = QStringLiteral("OK");
    accept();
}

void frmSelectTopImage::cmdCancel_Click()
{
    m_userTag = QStringLiteral("ｷｬﾝｾﾙ");
    reject();
}
