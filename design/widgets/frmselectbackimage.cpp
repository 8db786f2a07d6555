// SPDX-License-Identifier: MIT
#include "design/widgets/frmselectbackimage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/widgets/picturegrid.h"
#include "design/gridindex.h"
#include "design/widgets/dialogsupport.h"

namespace
{
constexpr int TwipsPerPixel = 15;
constexpr int ColumnTwips[frmSelectBackImage::Columns] = {2000, 1995, 1995};
constexpr int RowPixels = 100;
} // namespace

frmSelectBackImage::frmSelectBackImage(const QString& imageFolder, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelectBackImage"));
    setWindowTitle(tr("Lumivert背景画像"));

    auto* label = new QLabel(tr("■ Lumivertの背景画像を選んでください。"), this);
    label->setObjectName(QStringLiteral("lblCaption"));

    vaSpread1 = new PictureGrid(this);
    vaSpread1->setObjectName(QStringLiteral("vaSpread1"));

    // Listed and loaded once: the chooser lives for the whole run.
    m_list.load(imageFolder);
    m_userIndex = 1;
    const int n = m_list.count();
    vaSpread1->setGridSize(GridIndex::rowsFor(n, Columns), Columns);
    vaSpread1->setCellSizePixels(ColumnTwips[0] / TwipsPerPixel, RowPixels);
    int gridWidth = 2 * vaSpread1->frameWidth() + 20;
    for (int c = 1; c <= Columns; ++c) {
        vaSpread1->setColumnWidthPixels(c, ColumnTwips[c - 1] / TwipsPerPixel);
        gridWidth += ColumnTwips[c - 1] / TwipsPerPixel;
    }
    for (int k = 1; k <= n; ++k) {
        const GridIndex::Cell cell = GridIndex::cellOf(k, Columns);
        // An image that did not decode leaves its cell empty but still choosable.
        const QImage picture = m_list.picture(k);
        if (!picture.isNull())
            vaSpread1->setCellPicture(cell.column, cell.row, picture);
    }
    vaSpread1->setMinimumSize(gridWidth, 3 * RowPixels + 2 * vaSpread1->frameWidth());
    const GridIndex::Cell first = n >= m_userIndex ? GridIndex::cellOf(m_userIndex, Columns) : GridIndex::Cell{};
    vaSpread1->setActiveCell(first.column, first.row);

    auto* cmdOK = new QPushButton(tr("OK(&O)"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(vaSpread1, 1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmSelectBackImage::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectBackImage::cmdCancel_Click);
    connect(vaSpread1, &PictureGrid::cellDoubleClickedAt, this, &frmSelectBackImage::cmdOK_Click);

    adjustSize();
    DialogSupport::centreOnScreen(this);
}

QImage frmSelectBackImage::pictureAt(int column, int row) const
{
    return vaSpread1->cellPicture(column, row);
}

QImage frmSelectBackImage::activePicture() const
{
    return pictureAt(vaSpread1->activeColumn(), vaSpread1->activeRow());
}

void frmSelectBackImage::cmdOK_Click()
{
    const int row = vaSpread1->activeRow();
    const int column = vaSpread1->activeColumn();
    if (!GridIndex::holdsItem(row, column, Columns, m_list.count())) {
        DialogSupport::information(this, windowTitle(), tr("背景画像が選択されていません。"));
        return;
    }
    m_userIndex = GridIndex::itemAt(row, column, Columns);
    m_userTag = QStringLiteral("OK");
    // done() hides a modal dialog without destroying it: the grid keeps its active cell.
    accept();
}

void frmSelectBackImage::cmdCancel_Click()
{
    m_userTag = QStringLiteral("ｷｬﾝｾﾙ");
    QDialog::reject();
}

void frmSelectBackImage::reject()
{
    // The close box and Escape count as cancel. Leaving the tag as it was would let an "OK" of
    // an earlier showing be read again while the active cell names another image, and the main
    // window's tag and preview would then part from UserIndex.
    cmdCancel_Click();
}
