// SPDX-License-Identifier: MIT
#include "app/widgets/frmabout.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/programinfo.h"
#include "app/systeminfo.h"
#include "app/widgets/artwork.h"
#include "design/widgets/dialogsupport.h"

namespace
{

QFrame* separator(QWidget* parent, int index)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1_%1").arg(index));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// The program's notices as they read in other languages.
[[maybe_unused]] constexpr const char* NoticeTexts[] = {
    QT_TRANSLATE_NOOP("ProgramInfo", "警告: このプログラムは現状のまま提供され、いかなる保証もありません。"
                                     "写真は読み込み専用で扱い、変更することはありません。"),
};

QString shown(const QString& text)
{
    return QCoreApplication::translate("ProgramInfo", text.toUtf8().constData());
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent), m_baseCaption(tr("ﾊﾞｰｼﾞｮﾝ情報"))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(m_baseCaption);
    setWindowIcon(Artwork::programIcon());

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(Artwork::programIcon().pixmap(64, 64));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lblTitle = new QLabel(ProgramInfo::displayName(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* lblVersion = new QLabel(ProgramInfo::versionLine(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblLegalNotice = new QLabel(ProgramInfo::legalNotice(), this);
    lblLegalNotice->setObjectName(QStringLiteral("lblLegalNotice"));
    auto* lblDisclaimer = new QLabel(shown(ProgramInfo::legalWarning()), this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);

    auto* cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(tr("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblLegalNotice);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addLayout(texts, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separator(this, 0));
    layout->addWidget(separator(this, 1));
    layout->addLayout(bottom);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    resize(qMax(sizeHint().width(), 480), sizeHint().height());
    DialogSupport::centreOnScreen(this);
}

void frmAbout::setUsrCaption(const QString& caption)
{
    setWindowTitle(caption.isEmpty() ? m_baseCaption : caption + QLatin1Char(' ') + m_baseCaption);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (!SystemInfo::start())
        DialogSupport::plainMessage(this, ProgramInfo::displayName(), tr("現時点ではｼｽﾃﾑ情報を使用できません"));
}
