// SPDX-License-Identifier: MIT
// The main window's Step3 page: the album options, the cover and background previews, preview and
// the two create commands.
#include "app/widgets/frmmain.h"

#include <algorithm>
#include <cmath>

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QVBoxLayout>

#include "app/cshellexecute.h"
#include "app/startup.h"
#include "app/widgets/artwork.h"
#include "catalogue/albumlock.h"
#include "design/ccolor.h"
#include "design/covereffect.h"
#include "catalogue/problemtext.h"
#include "components/imaging.h"
#include "components/widgets/photogridview.h"
#include "components/widgets/sharpdisplay.h"
#include "design/widgets/frmcolor16.h"
#include "design/widgets/frmselectbackimage.h"
#include "design/widgets/frmselecttopimage.h"
#include "generate/albumoptionsfile.h"
#include "generate/albumstart.h"
#include "generate/preview.h"
#include "generate/widgets/frmcreatealbum.h"

namespace
{

// The cover display shows the 120 x 90 grid picture enlarged 1.2 times.
constexpr double CoverZoom = 1.2;
const QSize CoverDisplaySize(qRound(ThumbnailBoxWidth* CoverZoom), qRound(ThumbnailBoxHeight* CoverZoom));
const QSize BackgroundDisplaySize(ThumbnailBoxWidth, ThumbnailBoxHeight);

QGroupBox* group(const char* name, const char* caption)
{
    auto* box = new QGroupBox(QCoreApplication::translate("frmMain", caption));
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QCheckBox* check(const char* name, const char* caption, QLayout* into)
{
    auto* box = new QCheckBox(QCoreApplication::translate("frmMain", caption));
    box->setObjectName(QString::fromLatin1(name));
    into->addWidget(box);
    return box;
}

// A control array of option buttons: the group's ids are the indexes, the objectNames name_index.
QRadioButton* option(QButtonGroup* options, const char* name, int index, const QString& caption, QLayout* into)
{
    auto* button = new QRadioButton(caption);
    button->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(index));
    options->addButton(button, index);
    into->addWidget(button);
    return button;
}

QLabel* display(const char* name, QSize size)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setFixedSize(size + QSize(4, 4));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The first selected member of an option group; 0 when none is.
// The effect names and the generator's error line, as the window shows them in other languages.
[[maybe_unused]] constexpr const char* LogicTexts[] = {
    QT_TRANSLATE_NOOP("CoverEffect", "効果なし"),
    QT_TRANSLATE_NOOP("CoverEffect", "キャンバス地効果"),
    QT_TRANSLATE_NOOP("CoverEffect", "油絵風効果"),
    QT_TRANSLATE_NOOP("CoverEffect", "ガラスタイル効果"),
    QT_TRANSLATE_NOOP("CoverEffect", "モノクロ効果"),
    QT_TRANSLATE_NOOP("CoverEffect", "セピア調効果"),
    QT_TRANSLATE_NOOP("AlbumGenerator", "･Lumivert作成エラー"),
};

// Each line of a generator message translated when it is one of the known ones.
QString shownLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (!line.isEmpty())
            line = QCoreApplication::translate("AlbumGenerator", line.toUtf8().constData());
    return lines.join(QLatin1Char('\n'));
}

int optionIndex(const QButtonGroup* options)
{
    return std::max(0, options->checkedId());
}

} // namespace

void frmMain::buildStep3()
{
    fraStep3 = new QWidget;
    fraStep3->setObjectName(QStringLiteral("fraStep3"));
    auto* page = new QGridLayout(fraStep3);
    page->setContentsMargins(8, 8, 8, 8);
    page->setHorizontalSpacing(10);
    page->addWidget(buildStep3Left(), 0, 0);
    page->addWidget(buildStep3Middle(), 0, 1);
    page->addWidget(buildStep3Right(), 0, 2);
    page->addWidget(buildStep3Bottom(), 1, 0, 1, 3);
    page->setRowStretch(0, 1);
    // Every control starts from the options' start values, the one place they are written.
    applyAlbumOptions(AlbumOptions{});
}

QWidget* frmMain::buildStep3Left()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox* cover = group("fraCover", QT_TRANSLATE_NOOP("frmMain", "■ 表紙設定"));
    auto* coverLayout = new QVBoxLayout(cover);
    lblCaption[4] = new QLabel(tr("・表紙にする写真を選んでください"));
    lblCaption[4]->setObjectName(QStringLiteral("lblCaption_4"));
    coverLayout->addWidget(lblCaption[4]);
    IkDisp1 = display("IkDisp1", CoverDisplaySize);
    IkDisp1->setProperty("Tag", QString());
    cmdTopImage = new QPushButton(tr("写真を選ぶ..."));
    cmdTopImage->setObjectName(QStringLiteral("cmdTopImage"));
    auto* coverRow = new QHBoxLayout;
    coverRow->addWidget(IkDisp1);
    coverRow->addWidget(cmdTopImage, 0, Qt::AlignBottom);
    coverRow->addStretch(1);
    coverLayout->addLayout(coverRow);
    lblCaption[5] = new QLabel(tr("・特殊効果"));
    lblCaption[5]->setObjectName(QStringLiteral("lblCaption_5"));
    coverLayout->addWidget(lblCaption[5]);
    cboTopFilter = new QComboBox;
    cboTopFilter->setObjectName(QStringLiteral("cboTopFilter"));
    for (const QString& name : CoverEffect::names())
        cboTopFilter->addItem(QCoreApplication::translate("CoverEffect", name.toUtf8().constData()));
    coverLayout->addWidget(cboTopFilter);
    layout->addWidget(cover);

    QGroupBox* slide = group("fraSlideShow", QT_TRANSLATE_NOOP("frmMain", "■ 自動ページめくり"));
    auto* slideLayout = new QVBoxLayout(slide);
    chkSlideShow = check("chkSlideShow", QT_TRANSLATE_NOOP("frmMain", "自動ページめくり機能を付加する"), slideLayout);
    txtShowTime = new QLineEdit;
    txtShowTime->setObjectName(QStringLiteral("txtShowTime"));
    txtShowTime->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(AlbumOptions::ShowTimeDigits)), txtShowTime));
    txtShowTime->setMaxLength(AlbumOptions::ShowTimeDigits);
    txtShowTime->setFixedWidth(40);
    txtShowTime->setAlignment(Qt::AlignRight);
    txtShowTime->installEventFilter(this);
    auto* timeRow = new QHBoxLayout;
    auto* timeLabel = new QLabel(tr("表示時間"));
    timeLabel->setObjectName(QStringLiteral("lblShowTime"));
    timeRow->addWidget(timeLabel);
    timeRow->addWidget(txtShowTime);
    timeRow->addWidget(new QLabel(tr("秒")));
    timeRow->addStretch(1);
    slideLayout->addLayout(timeRow);
    layout->addWidget(slide);

    QGroupBox* width = group("fraPageWidth", QT_TRANSLATE_NOOP("frmMain", "■ ページ幅"));
    auto* widthLayout = new QVBoxLayout(width);
    optPageWidth = new QButtonGroup(this);
    option(optPageWidth, "optPageWidth", 0, tr("480ピクセル(15\"液晶相当)"), widthLayout);
    option(optPageWidth, "optPageWidth", 1, tr("640ピクセル(17\"CRT相当)"), widthLayout);
    option(optPageWidth, "optPageWidth", 2, tr("800ピクセル(17\"液晶相当)"), widthLayout);
    layout->addWidget(width);
    layout->addStretch(1);

    connect(cmdTopImage, &QPushButton::clicked, this, &frmMain::cmdTopImage_Click);
    connect(cboTopFilter, &QComboBox::currentIndexChanged, this, &frmMain::cboTopFilter_Click);
    return column;
}

QWidget* frmMain::buildStep3Middle()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox* jpeg = group("fraJpeg", QT_TRANSLATE_NOOP("frmMain", "■ アルバム写真保存設定"));
    auto* jpegLayout = new QVBoxLayout(jpeg);
    chkJpegProgress = check("chkJpegProgress", QT_TRANSLATE_NOOP("frmMain", "プログレッシブ形式"), jpegLayout);
    chkHighDensity = check("chkHighDensity", QT_TRANSLATE_NOOP("frmMain", "高解像度画面用の画像"), jpegLayout);
    QGroupBox* quality = group("fraJpegQuality", QT_TRANSLATE_NOOP("frmMain", "画質"));
    auto* qualityLayout = new QVBoxLayout(quality);
    optJpegQuality = new QButtonGroup(this);
    option(optJpegQuality, "optJpegQuality", 2, tr("高(画質の劣化は最小，ファイルサイズ最大)"), qualityLayout);
    option(optJpegQuality, "optJpegQuality", 1, tr("標準（画質，ファイルサイズ共に，低と高の中間）"), qualityLayout);
    option(optJpegQuality, "optJpegQuality", 0, tr("低（写真の保存に必要なファイルサイズが最小）"), qualityLayout);
    jpegLayout->addWidget(quality);
    layout->addWidget(jpeg);

    QGroupBox* pageDetails = group("fraPage", QT_TRANSLATE_NOOP("frmMain", "■ ページ設定"));
    auto* pageLayout = new QVBoxLayout(pageDetails);
    chkPageModel = check("chkPageModel", QT_TRANSLATE_NOOP("frmMain", "カメラ機種名"), pageLayout);
    chkPageFileName = check("chkPageFileName", QT_TRANSLATE_NOOP("frmMain", "ファイル名"), pageLayout);
    chkPageCaption = check("chkPageCaption", QT_TRANSLATE_NOOP("frmMain", "キャプション(表題)"), pageLayout);
    chkPageDate = check("chkPageDate", QT_TRANSLATE_NOOP("frmMain", "撮影日時"), pageLayout);
    chkPageTv = check("chkPageTv", QT_TRANSLATE_NOOP("frmMain", "シャッター速度(Tv)"), pageLayout);
    chkPageAv = check("chkPageAv", QT_TRANSLATE_NOOP("frmMain", "絞り値(Av)"), pageLayout);
    layout->addWidget(pageDetails);

    QGroupBox* indexDetails = group("fraIndex", QT_TRANSLATE_NOOP("frmMain", "■ 目次設定"));
    auto* indexLayout = new QVBoxLayout(indexDetails);
    chkIndexFileName = check("chkIndexFileName", QT_TRANSLATE_NOOP("frmMain", "ファイル名"), indexLayout);
    chkIndexNo = check("chkIndexNo", QT_TRANSLATE_NOOP("frmMain", "連番"), indexLayout);
    chkIndexDate = check("chkIndexDate", QT_TRANSLATE_NOOP("frmMain", "撮影日時"), indexLayout);
    chkindexCaption = check("chkindexCaption", QT_TRANSLATE_NOOP("frmMain", "キャプション(表題)"), indexLayout);
    layout->addWidget(indexDetails);
    layout->addStretch(1);
    return column;
}

QWidget* frmMain::buildStep3Right()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox* style = group("fraStyle", QT_TRANSLATE_NOOP("frmMain", "■ ページスタイル"));
    auto* styleLayout = new QVBoxLayout(style);
    chkNavi = check("chkNavi", QT_TRANSLATE_NOOP("frmMain", "ナビゲーションバーを日本語表示にする"), styleLayout);

    QGroupBox* back = group("fraBackImage", QT_TRANSLATE_NOOP("frmMain", "背景画像"));
    auto* backLayout = new QGridLayout(back);
    auto* backOptions = new QVBoxLayout;
    optBackImage = new QButtonGroup(this);
    option(optBackImage, "optBackImage", 1, tr("背景画像あり"), backOptions);
    option(optBackImage, "optBackImage", 0, tr("背景画像なし"), backOptions);
    connect(optBackImage, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            showBackgroundPreview(m_backgroundPreview);
    });
    cmdBackImage = new QPushButton(tr("背景画像を選ぶ..."));
    cmdBackImage->setObjectName(QStringLiteral("cmdBackImage"));
    cmdBackImage->setProperty("Tag", QString());
    backOptions->addWidget(cmdBackImage);
    backOptions->addStretch(1);
    backLayout->addLayout(backOptions, 0, 0);
    IkDisp2 = display("IkDisp2", BackgroundDisplaySize);
    backLayout->addWidget(IkDisp2, 0, 1);
    styleLayout->addWidget(back);

    auto* colorRow = new QHBoxLayout;
    lblCaption[1] = new QLabel(tr("色の選択"));
    lblCaption[1]->setObjectName(QStringLiteral("lblCaption_1"));
    cmdColor16 = new QPushButton;
    cmdColor16->setObjectName(QStringLiteral("cmdColor16"));
    cmdColor16->setFixedSize(48, 24);
    colorRow->addWidget(lblCaption[1]);
    colorRow->addWidget(cmdColor16);
    colorRow->addStretch(1);
    styleLayout->addLayout(colorRow);

    lblCaption[0] = new QLabel(tr("スタイルシート"));
    lblCaption[0]->setObjectName(QStringLiteral("lblCaption_0"));
    styleLayout->addWidget(lblCaption[0]);
    cboTheme = new QComboBox;
    cboTheme->setObjectName(QStringLiteral("cboTheme"));
    styleLayout->addWidget(cboTheme);
    cmdPreview = new QPushButton(tr("プレビュー"));
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    styleLayout->addWidget(cmdPreview, 0, Qt::AlignRight);
    layout->addWidget(style);

    QGroupBox* title = group("fraTitle", QT_TRANSLATE_NOOP("frmMain", "■ タイトル"));
    auto* titleLayout = new QVBoxLayout(title);
    txtTitle = new QLineEdit;
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    txtTitle->setMaxLength(AlbumOptions::MaxTitleLength);
    titleLayout->addWidget(txtTitle);
    layout->addWidget(title);
    layout->addStretch(1);

    connect(cmdBackImage, &QPushButton::clicked, this, &frmMain::cmdBackImage_Click);
    connect(cmdColor16, &QPushButton::clicked, this, &frmMain::cmdColor16_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmMain::cmdPreview_Click);
    return column;
}

QWidget* frmMain::buildStep3Bottom()
{
    auto* bottom = new QWidget;
    auto* layout = new QGridLayout(bottom);
    layout->setContentsMargins(0, 6, 0, 0);
    cmdCreate = new QButtonGroup(this);
    const struct {
        int index;
        const char* caption;
        int label;
        const char* note;
    } rows[] = {
        {1, QT_TR_NOOP("Lumivert作成"), 10, QT_TR_NOOP("Lumivertを新規に作成します。")},
        {2, QT_TR_NOOP("ﾍﾟｰｼﾞｽﾀｲﾙのみ変更する"), 12,
         QT_TR_NOOP("既に作成済みのLumivertに対して，HTMLﾌｧｲﾙのみを書き換えます。写真のﾘｻｲｽﾞ処理を省略するためLumivert"
                    "のﾍﾟｰｼﾞｽﾀｲﾙ"
                    "を素早く更新できます。")},
    };
    for (const auto& row : rows) {
        auto* button = new QPushButton(tr(row.caption));
        button->setObjectName(QStringLiteral("cmdCreate_%1").arg(row.index));
        button->setMinimumSize(180, 32);
        cmdCreate->addButton(button, row.index);
        auto* note = new QLabel(tr(row.note));
        note->setObjectName(QStringLiteral("lblCaption_%1").arg(row.label));
        note->setWordWrap(true);
        lblCaption[row.label] = note;
        layout->addWidget(button, row.index - 1, 0);
        layout->addWidget(note, row.index - 1, 1);
    }
    imgLogo = new QLabel;
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(Artwork::logo());
    layout->addWidget(imgLogo, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    layout->setColumnStretch(1, 1);
    connect(cmdCreate, &QButtonGroup::idClicked, this, &frmMain::cmdCreate_Click);
    return bottom;
}

int frmMain::coverNumber() const
{
    const QString tag = IkDisp1->property("Tag").toString().trimmed();
    bool ok = false;
    const double value = tag.toDouble(&ok);
    return ok && std::isfinite(value) && std::abs(value) < 1e9 ? int(std::lround(value)) : 0;
}

void frmMain::showCoverPreview(const QImage& picture)
{
    m_coverPreview = picture;
    IkDisp1->setPixmap(SharpDisplay::fitted(picture, CoverDisplaySize));
}

void frmMain::showBackgroundPreview(const QImage& picture)
{
    m_backgroundPreview = picture;
    // The chosen image is kept; the display shows it only while the album is to have a background.
    const bool shown = !picture.isNull() && optBackImage->checkedId() != 0;
    IkDisp2->setPixmap(shown ? SharpDisplay::fitted(picture, BackgroundDisplaySize) : QPixmap());
}

void frmMain::SetCoverPhoto(int r)
{
    if (r < 1 || r > m_model.photoCount()) {
        // Not a photo of this list (an empty list, another folder's cover): no picture at all
        // rather than one the album will not have.
        showCoverPreview(QImage());
        IkDisp1->setProperty("Tag", QString());
        return;
    }
    // A sharper picture made later shows with the chosen effect once it is there.
    showCoverPreview(SharpDisplay::listPicture(m_model, r, this, [this, r] {
        if (coverNumber() == r)
            cboTopFilter_Click();
    }));
    IkDisp1->setProperty("Tag", QString::number(r));
    cboTopFilter_Click();
}

void frmMain::cboTopFilter_Click()
{
    const int cover = coverNumber();
    if (cover < 1 || cover > m_model.photoCount())
        return;
    // A failed effect, or no effect selected, leaves the preview as it is.
    // The effects that work pixel by pixel look the same on the window's sharper picture; those
    // with sizes (canvas, oil, tiles) are made for the list's 120 x 90 one.
    const int effect = cboTopFilter->currentIndex();
    const bool pixelwise = effect == 0 || effect == 4 || effect == 5;
    const QImage result = CoverEffect::preview(pixelwise ? SharpDisplay::listPicture(m_model, cover)
                                                         : m_model.cellPicture(cover, PhotoColumn::Picture),
                                               effect);
    if (!result.isNull())
        showCoverPreview(result);
}

void frmMain::cmdTopImage_Click()
{
    frmSelectTopImage chooser(m_model, this);
    chooser.setUserIndex(coverNumber());
    m_hooks.execDialog(chooser);
    if (chooser.UserTag() == QLatin1String("OK"))
        SetCoverPhoto(chooser.UserIndex());
}

void frmMain::cmdBackImage_Click()
{
    if (!m_backImage)
        return;
    m_backImage->setUserIndex(cmdBackImage->property("Tag").toString().toInt());
    m_hooks.execDialog(*m_backImage);
    m_backImage->hide();
    if (m_backImage->UserTag() != QLatin1String("OK"))
        return;
    cmdBackImage->setProperty("Tag", QString::number(m_backImage->UserIndex()));
    m_folderBackground.clear();
    const QImage picture = m_backImage->activePicture();
    if (!picture.isNull())
        showBackgroundPreview(picture);
}

void frmMain::setColor(const QString& name)
{
    // The options hold the colour; CColor carries it to and from the picker, as before.
    CColor& colours = CColor::instance();
    colours.setColorIndex(colours.indexOf(name));
    m_colorName = colours.ColorName();
    setColorButton(colours.ColorCode());
    cmdColor16->setToolTip(m_colorName);
    cmdColor16->setAccessibleName(tr("色の選択") + QStringLiteral(": ") + m_colorName);
}

void frmMain::setColorButton(qint32 colorCode)
{
    const QColor color(colorCode & 0xff, (colorCode >> 8) & 0xff, (colorCode >> 16) & 0xff);
    cmdColor16->setProperty("BackColor", colorCode);
    cmdColor16->setStyleSheet(QStringLiteral("QPushButton#cmdColor16 { background-color: %1; border: 1px solid "
                                             "palette(dark); }")
                                  .arg(color.name()));
}

void frmMain::cmdColor16_Click()
{
    setColor(m_colorName);
    frmColor16 picker(CColor::instance(), this);
    m_hooks.execDialog(picker);
    setColor(picker.UserTag() == QLatin1String("OK") ? CColor::instance().ColorName() : m_colorName);
}

void frmMain::txtShowTime_LostFocus()
{
    bool ok = false;
    const int seconds = txtShowTime->text().toInt(&ok);
    if (!ok || seconds < 1)
        chkSlideShow->setChecked(false);
}

AlbumOptions frmMain::albumOptions() const
{
    AlbumOptions o;
    o.photoFolder = txtFolder->text();
    o.programFolder = m_programFolder;
    o.title = txtTitle->text();
    o.pageWidthIndex = optionIndex(optPageWidth);
    o.qualityIndex = optionIndex(optJpegQuality);
    o.coverNumber = coverNumber();
    o.coverEffect = cboTopFilter->currentIndex();
    o.background = optionIndex(optBackImage) != 0;
    if (!m_folderBackground.isEmpty()) {
        o.backgroundFile = m_folderBackground;
    } else if (m_backImage) {
        if (const clsGetFiles* file = m_backImage->Record().Item(m_backImage->UserIndex()))
            o.backgroundFile = file->PathName;
    }
    o.themeFile = cboTheme->currentText();
    o.colorName = m_colorName;
    for (const auto& [box, member] : optionChecks())
        o.*member = box->isChecked();
    o.showTime = txtShowTime->text();
    return o;
}

QList<std::pair<QCheckBox*, bool AlbumOptions::*>> frmMain::optionChecks() const
{
    return {{chkIndexNo, &AlbumOptions::indexNo},
            {chkIndexFileName, &AlbumOptions::indexFileName},
            {chkindexCaption, &AlbumOptions::indexCaption},
            {chkIndexDate, &AlbumOptions::indexDate},
            {chkPageFileName, &AlbumOptions::pageFileName},
            {chkPageCaption, &AlbumOptions::pageCaption},
            {chkPageDate, &AlbumOptions::pageDate},
            {chkPageModel, &AlbumOptions::pageModel},
            {chkPageTv, &AlbumOptions::pageTv},
            {chkPageAv, &AlbumOptions::pageAv},
            {chkNavi, &AlbumOptions::japaneseNavi},
            {chkSlideShow, &AlbumOptions::slideShow},
            {chkJpegProgress, &AlbumOptions::progressive},
            {chkHighDensity, &AlbumOptions::highDensity}};
}

void frmMain::applyAlbumOptions(const AlbumOptions& o)
{
    txtTitle->setText(o.title);
    // The option groups' ids are the indexes of the choices' words.
    optPageWidth->button(std::clamp(o.pageWidthIndex, 0, int(optPageWidth->buttons().size()) - 1))->setChecked(true);
    optJpegQuality->button(std::clamp(o.qualityIndex, 0, int(optJpegQuality->buttons().size()) - 1))->setChecked(true);
    cboTopFilter->setCurrentIndex(AlbumOptions::validEffect(o.coverEffect) ? o.coverEffect : 0);
    optBackImage->button(o.background ? 1 : 0)->setChecked(true);
    for (const auto& [box, member] : optionChecks())
        box->setChecked(o.*member);
    txtShowTime->setText(o.showTime);
    // A style sheet of the user's inside the photo folder (chosen with lumivert-cli) is listed by
    // its path while that folder is open; one that is not in the list any more: the first one.
    for (int i = cboTheme->count() - 1; i >= 0; --i)
        if (QDir::isAbsolutePath(cboTheme->itemText(i)))
            cboTheme->removeItem(i);
    if (QDir::isAbsolutePath(o.themeFile))
        cboTheme->addItem(o.themeFile);
    const int theme = cboTheme->findText(o.themeFile);
    cboTheme->setCurrentIndex(theme >= 0 ? theme : std::min(0, cboTheme->count() - 1));
    setColor(AlbumOptions::validColor(o.colorName) ? o.colorName : AlbumOptions{}.colorName);

    // The background image by its file. One inside the photo folder (chosen with lumivert-cli; the
    // options file gives no other) stays the album's, shown, until another is chosen. One the
    // chooser does not list otherwise (gone) gives no background and the first image, as at start-up.
    int number = 0;
    const QString wanted = QDir::cleanPath(QDir::fromNativeSeparators(o.backgroundFile));
    for (int k = 1; m_backImage && k <= m_backImage->RecMax(); ++k)
        if (QDir::cleanPath(QDir::fromNativeSeparators(m_backImage->images().pathName(k))) == wanted)
            number = k;
    m_folderBackground.clear();
    if (number == 0 && !wanted.isEmpty() && QDir::isAbsolutePath(wanted)) {
        const QImage picture = Imaging::load(wanted).image;
        if (!picture.isNull()) {
            m_folderBackground = o.backgroundFile;
            cmdBackImage->setProperty("Tag", QStringLiteral("0"));
            showBackgroundPreview(picture);
            return;
        }
    }
    if (number == 0) {
        optBackImage->button(0)->setChecked(true);
        number = 1;
    }
    if (!m_backImage || m_backImage->RecMax() == 0)
        return;
    m_backImage->setUserIndex(number);
    cmdBackImage->setProperty("Tag", QString::number(number));
    showBackgroundPreview(m_backImage->images().picture(number));
}

void frmMain::forgetFolderFiles()
{
    AlbumOptions o = albumOptions();
    const bool ownTheme = QDir::isAbsolutePath(o.themeFile);
    if (!ownTheme && m_folderBackground.isEmpty())
        return;
    if (ownTheme)
        o.themeFile.clear(); // the first of the program's
    if (!m_folderBackground.isEmpty()) {
        o.background = false;
        o.backgroundFile.clear();
    }
    applyAlbumOptions(o);
}

void frmMain::offerFolder(const QString& text, const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    if (message(QMessageBox::Information, text.arg(shown), QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    if (m_hooks.launchDocument(this, folder) != CShellExecute::Success)
        message(QMessageBox::Warning, tr("フォルダを開けませんでした。\n\n%1").arg(shown));
}

void frmMain::cmdPreview_Click()
{
    QString error;
    const QString top = Preview::run(albumOptions(), Preview::userFolder(), &error);
    if (top.isEmpty()) {
        message(QMessageBox::Warning, tr("プレビュー用のサンプルアルバムを用意できませんでした。\n\n%1").arg(error));
        return;
    }
    if (m_hooks.launchDocument(this, top) != CShellExecute::Success)
        offerFolder(tr("プレビューをブラウザで開けませんでした。\n\n%1\n\nプレビューのフォルダを開きますか？"),
                    QFileInfo(top).absolutePath());
}

void frmMain::cmdCreate_Click(int index)
{
    if (txtFolder->text().isEmpty()) {
        // Without a photo folder the album would land in the file system's root.
        message(QMessageBox::Warning, tr("写真のあるフォルダを指定してください。"));
        return;
    }
    vaSpread1->commitEditing();
    const AlbumOptions options = albumOptions();
    const QString album = QDir::toNativeSeparators(options.albumFolder());
    if (m_model.photoCount() == 0) {
        // An album of no photos would only replace the folder's album with an empty one.
        message(QMessageBox::Information, tr("写真一覧に写真がないため，作成するものがありません。"));
        return;
    }
    // The whole creation (list, album, options) is written by this run alone.
    AlbumLock lock(txtFolder->text());
    if (!lockAlbum(lock))
        return;
    m_writing = &lock;
    const auto released = qScopeGuard([this] { m_writing = nullptr; });
    // Whatever fails is told once, at the end, with the system's reason.
    QStringList failures;
    QString listError;
    if (!writeList(&listError))
        failures << tr("写真一覧ﾃﾞｰﾀを保存できませんでした。\n%1").arg(ProblemText::osReason(listError));
    QString reason;
    if (AlbumStart::prepare(options, m_model.photoCount(), &reason) != AlbumStart::Verdict::Ready) {
        failures.prepend(tr("Lumivertを作成できませんでした。フォルダ%1を作れません。\n\n理由: %2")
                             .arg(album, ProblemText::osReason(reason)));
        message(QMessageBox::Warning, failures.join(QStringLiteral("\n\n")));
        return;
    }

    frmCreateAlbum generation(options, m_model.rows(), this);
    generation.setUserMode(index);
    generation.setProperty("Tag", QString());
    m_hooks.execDialog(generation);
    const GenerationResult& result = generation.result();
    const QString errorText = result.errorText.trimmed();
    if (!errorText.isEmpty()) {
        QString text = shownLines(errorText);
        // The system's reason (a full disk, no permission) tells the user what to do about it.
        if (!result.failureReason.isEmpty())
            text += QStringLiteral("\n\n") + tr("理由: %1").arg(ProblemText::osReason(result.failureReason));
        const QStringList failed = result.failedPages + result.failedImages;
        if (!failed.isEmpty())
            text += QStringLiteral("\n\n") + failed.mid(0, 10).join(QLatin1Char('\n'));
        failures.prepend(text);
    }
    // Only an album made whole keeps its options, is confirmed and is opened.
    const bool whole = generation.UserTag() == QLatin1String("OK") && errorText.isEmpty();
    QString error;
    if (whole && generation.finished() &&
        AlbumOptionsFile::rememberCreation(options, m_model.photoCount(), result, &error) ==
            AlbumOptionsFile::Remembered::Failed)
        failures << tr("Lumivertの設定を保存できませんでした。\n\n%1").arg(error);
    // The album is written: the messages and the browser may take their time, another run need
    // not wait for them.
    lock.unlock();
    if (!failures.isEmpty())
        message(QMessageBox::Warning, failures.join(QStringLiteral("\n\n")));
    if (!whole)
        return;
    showStatus(tr("Lumivertを%1に作成しました。").arg(album));
    if (m_hooks.launchDocument(this, Startup::joinPath(options.albumFolder(), QStringLiteral("top.htm"))) ==
        CShellExecute::Success)
        return;
    // Without a browser the album would seem to have gone nowhere: say where it is.
    offerFolder(tr("Lumivertを作成しましたが，ブラウザで開けませんでした。\n\n%1\n\nLumivertのフォルダを開きますか？"),
                options.albumFolder());
}
