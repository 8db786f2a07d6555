// SPDX-License-Identifier: MIT
#include "design/widgets/frmcolor16.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/widgets/picturegrid.h"
#include "design/ccolor.h"
#include "design/gridindex.h"
#include "design/widgets/dialogsupport.h"

namespace
{
constexpr int SwatchColumns = 4;
constexpr int SwatchRows = 4;
} // namespace

frmColor16::frmColor16(CColor& colors, QWidget* parent) : QDialog(parent), m_colors(colors)
{
    setObjectName(QStringLiteral("frmColor16"));
    setWindowTitle(tr("色見本(標準)"));

    auto* lblCaption = new QLabel(tr("■ 色見本から色を選んでください。"), this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));

    vaSpread1 = new PictureGrid(this);
    vaSpread1->setObjectName(QStringLiteral("vaSpread1"));
    vaSpread1->setGridSize(SwatchRows, SwatchColumns);
    vaSpread1->setCellSizePixels(48, 32);
    vaSpread1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    vaSpread1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    vaSpread1->setFixedSize(SwatchColumns * 48 + 2 * vaSpread1->frameWidth(),
                            SwatchRows * 32 + 2 * vaSpread1->frameWidth());

    auto* cmdOK = new QPushButton(tr("OK(&O)"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(vaSpread1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCaption);
    layout->addLayout(body);

    // Swatch (r, c) shows table entry (r - 1) * 4 + c; the current colour's swatch starts active.
    GridIndex::Cell current;
    for (int r = 1; r <= SwatchRows; ++r) {
        for (int c = 1; c <= SwatchColumns; ++c) {
            const int index = GridIndex::itemAt(r, c, SwatchColumns);
            if (const clsColor* entry = m_colors.Color().Item(index)) {
                vaSpread1->setCellColor(c, r, entry->toQColor());
                vaSpread1->setCellName(c, r, entry->ColorName);
            }
            if (index == m_colors.ColorIndex())
                current = {r, c};
        }
    }
    vaSpread1->setActiveCell(current.column, current.row);

    connect(cmdOK, &QPushButton::clicked, this, &frmColor16::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmColor16::cmdCancel_Click);
    connect(vaSpread1, &PictureGrid::cellDoubleClickedAt, this, &frmColor16::cmdOK_Click);

    adjustSize();
    DialogSupport::centreOnScreen(this);
}

void frmColor16::cmdOK_Click()
{
    // No active cell gives an index below 1, which the table ignores: the colour stays.
    m_colors.setColorIndex(GridIndex::itemAt(vaSpread1->activeRow(), vaSpread1->activeColumn(), SwatchColumns));
    m_userTag = QStringLiteral("OK");
    accept();
}

void frmColor16::cmdCancel_Click()
{
    m_userTag = QStringLiteral("ｷｬﾝｾﾙ");
    reject();
}
