// SPDX-License-Identifier: MIT
// The main window: construction, start-up and shut-down, the tab strip and the Step1 page.
#include "app/widgets/frmmain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <optional>
#include <utility>

#include "app/cshellexecute.h"
#include "app/programinfo.h"
#include "app/startup.h"
#include "app/widgets/artwork.h"
#include "app/widgets/frmabout.h"
#include "app/widgets/frmselectfolder.h"
#include "catalogue/albumlock.h"
#include "catalogue/cgetfiles.h"
#include "catalogue/photolistfile.h"
#include "catalogue/photolistupdate.h"
#include "catalogue/widgets/frmgetpicture.h"
#include "generate/albumstart.h"
#include "catalogue/problemtext.h"
#include "components/widgets/photogridview.h"
#include "design/backgroundlist.h"
#include "design/ccolor.h"
#include "design/widgets/frmselectbackimage.h"
#include "generate/albumoptionsfile.h"

namespace
{
// The window's designed size in pixels; it is never stored.
constexpr int DesignWidth = 980;
constexpr int DesignHeight = 700;
// How long a confirmation stays in the status line.
constexpr int StatusSeconds = 15;
} // namespace

frmMain::frmMain(StartupSettings settings, QWidget* parent) : QWidget(parent), m_hooks(std::move(settings.hooks))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ProgramInfo::displayName());
    setWindowIcon(Artwork::programIcon());
    installDefaultHooks();
    m_programFolder =
        settings.programFolder.isEmpty() ? Startup::programFolder() : QDir::toNativeSeparators(settings.programFolder);

    TabStrip1 = new QTabWidget(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    buildStep1();
    buildStep2();
    buildStep3();
    const struct {
        QWidget* page;
        struct {
            const char* source;
            const char* comment;
        } caption;
        const char* key;
    } tabs[] = {{fraStep1, QT_TRANSLATE_NOOP3("frmMain", "フォルダ選択", "tab"), "Step1"},
                {fraStep2, QT_TRANSLATE_NOOP3("frmMain", "写真一覧", "tab"), "Step2"},
                {fraStep3, QT_TRANSLATE_NOOP3("frmMain", "Lumivert作成", "tab"), "Step3"}};
    for (const auto& tab : tabs) {
        const int i = TabStrip1->addTab(tab.page, tr(tab.caption.source, tab.caption.comment));
        TabStrip1->tabBar()->setTabData(i, QString::fromLatin1(tab.key));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(TabStrip1);
    // The status line confirms what a command did when it leaves nothing else to see.
    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);
    resize(DesignWidth, DesignHeight);

    connect(TabStrip1, &QTabWidget::currentChanged, this, &frmMain::TabStrip1_Click);
    setupKeyboard();
    Form_Load(settings.commandLine);
}

frmMain::~frmMain() = default;

void frmMain::installDefaultHooks()
{
    if (!m_hooks.execDialog)
        m_hooks.execDialog = [](QDialog& dialog) { return dialog.exec(); };
    if (!m_hooks.messageBox)
        m_hooks.messageBox = [](QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                                QMessageBox::StandardButtons buttons) {
            QMessageBox box(icon, title, text, buttons, parent);
            // Messages quote file and folder names, which must never be taken for markup.
            box.setTextFormat(Qt::PlainText);
            // The question about unsaved changes names its answers in the window's language.
            const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
                {QMessageBox::Save, QT_TRANSLATE_NOOP("frmMain", "保存する(&S)")},
                {QMessageBox::Discard, QT_TRANSLATE_NOOP("frmMain", "保存しない(&N)")},
                {QMessageBox::Cancel, QT_TRANSLATE_NOOP("frmMain", "ｷｬﾝｾﾙ(&C)")}};
            for (const auto& [which, caption] : captions)
                if (QAbstractButton* button = box.button(which))
                    button->setText(frmMain::tr(caption));
            return QMessageBox::StandardButton(box.exec());
        };
    if (!m_hooks.launchDocument)
        m_hooks.launchDocument = [](QWidget* owner, const QString& document) {
            return CShellExecute().LaunchDocument(owner, document, QString(), 5);
        };
    if (!m_hooks.runImport)
        m_hooks.runImport = &frmGetPicture::importFolder;
}

void frmMain::setupKeyboard()
{
    // Tab follows each page as it reads: top to bottom, the Step3 columns left to right.
    QList<QWidget*> order{TabStrip1->tabBar(), txtFolder,      cmdFolder,   cmdGetPicture, imgLogoLarge, vaSpread1,
                          cmdMoveTop,          cmdMoveUp,      cmdMoveDown, cmdMoveBottom, cmdSort123,   cmdSort321,
                          cmdSortDate123,      cmdSortDate321, cmdDelete,   cmdSave,       cmdRefresh,   cmdTopImage,
                          cboTopFilter,        chkSlideShow,   txtShowTime};
    auto options = [&order](QButtonGroup* group, std::initializer_list<int> ids) {
        for (int id : ids)
            order << group->button(id);
    };
    options(optPageWidth, {0, 1, 2});
    order << chkJpegProgress << chkHighDensity;
    options(optJpegQuality, {2, 1, 0});
    order << chkPageModel << chkPageFileName << chkPageCaption << chkPageDate << chkPageTv << chkPageAv
          << chkIndexFileName << chkIndexNo << chkIndexDate << chkindexCaption << chkNavi;
    options(optBackImage, {1, 0});
    order << cmdBackImage << cmdColor16 << cboTheme << cmdPreview << txtTitle << cmdCreate->button(1)
          << cmdCreate->button(2);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));

    // The logo opens the about box from the keyboard too.
    imgLogoLarge->setFocusPolicy(Qt::StrongFocus);
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &frmMain::imgLogoLarge_Click);
    // Ctrl+1, Ctrl+2, Ctrl+3 bring a page to the front, as a click on its tab does.
    for (int i = 0; i < 3; ++i) {
        auto* page = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)), this);
        page->setObjectName(QStringLiteral("shortcutStep%1").arg(i + 1));
        connect(page, &QShortcut::activated, this, [this, i] { TabStrip1->setCurrentIndex(i); });
    }
}

void frmMain::Form_Load(const QString& commandLine)
{
    // 1. Program-wide file locations.
    m_templateFilePath = Startup::joinPath(m_programFolder, QStringLiteral("Lumivert.fmt"));
    // Beside the program; in the user's configuration folder when the program's folder is read-only.
    m_settingsFilePath = Startup::settingsFilePath(m_programFolder);
    if (m_settingsFilePath != Startup::joinPath(m_programFolder, QStringLiteral("Lumivert.ini")))
        QDir().mkpath(QFileInfo(m_settingsFilePath).absolutePath());

    // 2-4. Position, centred on an axis whose stored value is negative or missing.
    const Startup::Geometry stored = Startup::readGeometry(m_settingsFilePath, PhotoColumnCount);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenPx = screen ? screen->geometry().size() : QSize(DesignWidth, DesignHeight);
    // Centred from the size the window is shown at: its layout may need more than the designed
    // size (longer translated captions), and activating it gives the window that size now.
    layout()->activate();
    const QSize windowPx = frameGeometry().size();
    auto placement = [&](int left, int top) {
        const QPoint at = Startup::placementTwips(
            left, top, QSize(Startup::pixelsToTwips(screenPx.width()), Startup::pixelsToTwips(screenPx.height())),
            QSize(Startup::pixelsToTwips(windowPx.width()), Startup::pixelsToTwips(windowPx.height())));
        return QPoint(Startup::twipsToPixels(at.x()), Startup::twipsToPixels(at.y()));
    };
    QPoint at = placement(stored.left, stored.top);
    // A position on a screen that has gone, or beyond every screen's edge, would open the window
    // where it cannot be reached: it is centred on the primary screen instead.
    QList<QRect> screens;
    for (const QScreen* each : QGuiApplication::screens())
        screens << each->availableGeometry();
    if (screen && !screens.isEmpty() && !Startup::reachable(QRect(at, windowPx), screens))
        at = screen->geometry().topLeft() + placement(-1, -1);
    move(at);

    // 5-6. Step1 in front, every page enabled, an empty photo list.
    TabStrip1->setCurrentIndex(0);
    for (QWidget* page : {fraStep1, fraStep2, fraStep3})
        page->setEnabled(true);
    m_model.clear();

    // 7-9. Version label, colour button, the grid's tooltip colour.
    lblVersion->setText(ProgramInfo::versionLabel());
    setColor(m_colorName);
    QPalette gridPalette = vaSpread1->palette();
    gridPalette.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    vaSpread1->setPalette(gridPalette);

    // 10. The thumbnail box is the fixed 120 x 90 of the photo list (ThumbnailBoxWidth/Height).
    // 11. The stored folder, when it still exists.
    const QString folder = Startup::readFolder(m_settingsFilePath);
    txtFolder->setText(Startup::entryExists(folder) ? folder : QString());

    // 12. The style sheets beside the program.
    CGetFiles themes;
    (void)themes.GetFiles(m_programFolder, QStringLiteral("*.css"));
    cboTheme->clear();
    for (const clsGetFiles& file : themes.Record())
        cboTheme->addItem(file.FileName);
    if (cboTheme->count() > 0)
        cboTheme->setCurrentIndex(0);

    // 13. The cover display starts with the first effect.
    cboTopFilter->setCurrentIndex(0);

    // 14. The background chooser, loaded hidden; the first image is the choice.
    m_backImage = new frmSelectBackImage(BackgroundList::imageFolder(m_programFolder), this);
    m_backImage->hide();
    if (m_backImage->RecMax() > 0) {
        cmdBackImage->setProperty("Tag", QStringLiteral("1"));
        showBackgroundPreview(m_backImage->pictureAt(1, 1));
    }

    // 15-16. The grid's width and column widths.
    if (stored.spreadWidth > 0)
        vaSpread1->setWidthTwips(stored.spreadWidth);
    for (int i = 1; i <= PhotoColumnCount; ++i)
        if (stored.columnWidths.value(i - 1) > 0)
            vaSpread1->setColumnWidthTwips(i, stored.columnWidths.at(i - 1));

    // 17. A folder on the command line is opened at once.
    if (commandLine.isEmpty())
        return;
    if (!Startup::entryExists(commandLine)) {
        message(QMessageBox::Warning, tr("指定されたﾌｫﾙﾀﾞは存在しませんでした。写真の取り込みを中止します。"));
        return;
    }
    txtFolder->setText(commandLine);
    Startup::writeFolder(m_settingsFilePath, commandLine);
    loadOrImport();
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // 1. The two previews let go of their images.
    showCoverPreview(QImage());
    showBackgroundPreview(QImage());
    // 2. The background chooser goes.
    delete m_backImage;
    m_backImage = nullptr;
    // 3. Geometry back to the settings file, in twips.
    Startup::Geometry g;
    const QPoint at = normalFramePosition();
    g.top = Startup::pixelsToTwips(at.y());
    g.left = Startup::pixelsToTwips(at.x());
    g.spreadWidth = vaSpread1->widthTwips();
    for (int i = 1; i <= PhotoColumnCount; ++i)
        g.columnWidths.push_back(vaSpread1->columnWidthTwips(i));
    Startup::writeGeometry(m_settingsFilePath, g);
}

namespace
{
bool normalState(const QWidget* window)
{
    return !(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}
} // namespace

QPoint frmMain::normalFramePosition() const
{
    if (normalState(this))
        return pos();
    // The normal geometry is the client area's; a maximised window's frame may be drawn otherwise,
    // so the frame is placed around it as it was in the normal state.
    return normalGeometry().topLeft() - m_frameOffset;
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (normalState(this))
        m_frameOffset = geometry().topLeft() - frameGeometry().topLeft();
}

bool frmMain::Form_QueryUnload()
{
    return !mayDropUnsavedChanges(tr("終了する前に，写真一覧ﾃﾞｰﾀを保存しますか？"));
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing is refused only to keep unsaved changes of the photo list.
    if (!m_unloaded && Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgLogoLarge && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        imgLogoLarge_Click();
        return true;
    }
    if (watched == imgLogoLarge && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            imgLogoLarge_Click();
            return true;
        }
    }
    if (watched == txtShowTime && event->type() == QEvent::FocusOut)
        txtShowTime_LostFocus();
    return QWidget::eventFilter(watched, event);
}

void frmMain::showStatus(const QString& text)
{
    StatusBar1->showMessage(text, StatusSeconds * 1000);
}

QMessageBox::StandardButton frmMain::message(QMessageBox::Icon icon, const QString& text,
                                             QMessageBox::StandardButtons buttons, const QString& title)
{
    return m_hooks.messageBox(this, icon, title.isEmpty() ? ProgramInfo::displayName() : title, text, buttons);
}

void frmMain::buildStep1()
{
    fraStep1 = new QWidget;
    fraStep1->setObjectName(QStringLiteral("fraStep1"));
    auto label = [this](int index, const QString& text) {
        auto* l = new QLabel(text);
        l->setObjectName(QStringLiteral("lblCaption_%1").arg(index));
        lblCaption[index] = l;
        return l;
    };
    txtFolder = new QLineEdit;
    txtFolder->setObjectName(QStringLiteral("txtFolder"));
    cmdFolder = new QPushButton(tr("参照..."));
    cmdFolder->setObjectName(QStringLiteral("cmdFolder"));
    cmdGetPicture = new QPushButton(tr("写真一覧の読み込み..."));
    cmdGetPicture->setObjectName(QStringLiteral("cmdGetPicture"));
    imgLogoLarge = new QLabel;
    imgLogoLarge->setObjectName(QStringLiteral("imgLogoLarge"));
    imgLogoLarge->setPixmap(Artwork::logoLarge());
    imgLogoLarge->setCursor(Qt::PointingHandCursor);
    imgLogoLarge->installEventFilter(this);
    lblVersion = new QLabel;
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    auto* page = new QVBoxLayout(fraStep1);
    page->setContentsMargins(24, 24, 24, 12);
    page->setSpacing(10);
    page->addWidget(label(2, tr("■ 写真のあるフォルダを指定してください。")));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(txtFolder, 1);
    folderRow->addWidget(cmdFolder);
    page->addLayout(folderRow);
    auto* readRow = new QHBoxLayout;
    readRow->addWidget(cmdGetPicture);
    readRow->addStretch(1);
    page->addLayout(readRow);
    page->addSpacing(12);
    page->addWidget(label(3, tr("※ 写真は読込み専用で利用します。編集結果を上書き保存することはありません。")));
    auto* noteRow = new QHBoxLayout;
    noteRow->setSpacing(0);
    noteRow->addWidget(label(
        7, tr("※ Lumivertの保存先は，選択フォルダ中の[Lumivert]フォルダです。[Lumivert]フォルダが既にある場合は，")));
    noteRow->addWidget(label(6, tr("上書き保存されます。")));
    noteRow->addStretch(1);
    page->addLayout(noteRow);
    page->addStretch(1);
    page->addWidget(imgLogoLarge, 0, Qt::AlignCenter);
    page->addStretch(1);
    page->addWidget(lblVersion);

    connect(cmdFolder, &QPushButton::clicked, this, &frmMain::cmdFolder_Click);
    connect(cmdGetPicture, &QPushButton::clicked, this, &frmMain::cmdGetPicture_Click);
}

void frmMain::selectTab(int index)
{
    // Selecting the tab that is already in front still runs the tab's handler, as a click would.
    if (TabStrip1->currentIndex() == index)
        TabStrip1_Click();
    else
        TabStrip1->setCurrentIndex(index);
}

void frmMain::TabStrip1_Click()
{
    QWidget* pages[] = {fraStep1, fraStep2, fraStep3};
    for (QWidget* page : pages)
        page->setEnabled(false);
    const QString key = TabStrip1->tabBar()->tabData(TabStrip1->currentIndex()).toString();
    if (key == QLatin1String("Step1")) {
        fraStep1->setEnabled(true);
    } else if (key == QLatin1String("Step2")) {
        fraStep2->setEnabled(true);
    } else if (key == QLatin1String("Step3")) {
        fraStep3->setEnabled(true);
        SetCoverPhoto(coverNumber());
    }
}

void frmMain::cmdFolder_Click()
{
    const QString start = txtFolder->text();
    frmSelectFolder chooser(m_programFolder, this);
    chooser.setFolderName(start);
    chooser.setUsrTag(QString());
    m_hooks.execDialog(chooser);
    const QString result = chooser.UsrTag() == QLatin1String("OK") ? chooser.FolderName() : start;
    txtFolder->setText(result);
    // Written on cancel too, with the unchanged text.
    Startup::writeFolder(m_settingsFilePath, result);
}

void frmMain::cmdGetPicture_Click()
{
    if (!mayDropUnsavedChanges(tr("写真一覧を読み込む前に，写真一覧ﾃﾞｰﾀを保存しますか？"), tr("写真一覧")))
        return;
    const QString folder = txtFolder->text();
    if (PhotoListFile::exists(folder)) {
        const auto answer = message(QMessageBox::Information,
                                    tr("参照ﾌｫﾙﾀﾞに写真一覧ﾃﾞｰﾀが保存されています。読み込みますか？\r\n\r\n"
                                       "写真一覧ﾃﾞｰﾀを読み込まない場合は，新規に写真一覧ﾃﾞｰﾀを作成します。"),
                                    QMessageBox::Yes | QMessageBox::No, tr("写真一覧"));
        if (answer == QMessageBox::Yes)
            loadList();
        else
            runImport();
    } else {
        runImport();
    }
    afterListChanged();
}

void frmMain::loadOrImport()
{
    if (PhotoListFile::exists(txtFolder->text()))
        loadList();
    else
        runImport();
    afterListChanged();
}

void frmMain::afterListChanged()
{
    // What the status line said was about the list or the album before this one.
    StatusBar1->clearMessage();
    // A folder the user may read but not write: said once, now, rather than at every save.
    QString reason;
    const QString folder = txtFolder->text();
    if (m_model.photoCount() > 0 && QFileInfo(folder).isDir() && !AlbumStart::folderWritable(folder, &reason))
        message(
            QMessageBox::Information,
            tr("このフォルダには書き込めません（%1）。\n%2\n\n写真一覧ﾃﾞｰﾀとLumivertはこのフォルダに保存できません。"
               "写真をコピーした書き込めるフォルダで作成してください。")
                .arg(ProblemText::osReason(reason), QDir::toNativeSeparators(folder)));
    // The folder's remembered options when it has a readable file; without one the Step3 page stays
    // as the user left it, but for the last folder's own files. The cover is photo 1 unless a
    // remembered one is still in the list.
    forgetFolderFiles();
    int cover = 1;
    if (AlbumOptionsFile::readable(folder, m_programFolder)) {
        AlbumOptionsFile::Refused refused;
        const AlbumOptions remembered = AlbumOptionsFile::load(folder, m_programFolder, &refused);
        applyAlbumOptions(remembered);
        // Files from outside the folder are not taken from it: the user hears which.
        const QString notTaken = refused.theme.isEmpty() ? refused.background
                                 : refused.background.isEmpty()
                                     ? refused.theme
                                     : refused.theme + QStringLiteral(", ") + refused.background;
        if (!notTaken.isEmpty())
            showStatus(
                tr("前回の設定の %1 は使いません（使えるのはプログラムのものと写真のフォルダ内のファイルです）。")
                    .arg(notTaken));
        if (remembered.coverNumber >= 1 && remembered.coverNumber <= m_model.photoCount())
            cover = remembered.coverNumber;
    }
    SetCoverPhoto(cover);
    selectTab(1);
}

bool frmMain::runImport()
{
    const ImportResult result = m_hooks.runImport(this, txtFolder->text(), &m_model);
    if (result.cancelled)
        return false;
    // Nothing the user did is in a fresh import yet: there is nothing to lose until it is edited.
    m_model.markSaved();
    activateLastRow();
    // One message at the end: a missing folder or one without photos, photos that could not be
    // read and why, photos left out beyond the limit.
    const ProblemText::Report report = ProblemText::importReport(result, txtFolder->text());
    if (!report.text.isEmpty())
        message(report.warning ? QMessageBox::Warning : QMessageBox::Information, report.text);
    return true;
}

void frmMain::activateLastRow()
{
    // The grid follows an import to its last row; so the move and remove commands have a row to
    // act on at once (after a load too). An empty list leaves no active cell.
    vaSpread1->setActiveCell(int(PhotoColumn::FileName), m_model.photoCount());
}

void frmMain::loadList()
{
    QList<int> widths;
    QString error;
    const QDateTime listSaved = QFileInfo(PhotoListFile::path(txtFolder->text())).lastModified();
    if (!PhotoListFile::load(m_model, txtFolder->text(), &widths, &error)) {
        // A damaged or foreign file is left as it is and the folder is read afresh instead.
        message(QMessageBox::Warning,
                tr("写真一覧ﾃﾞｰﾀを読み込めませんでした。写真を新規に読み込みます。\n\n%1").arg(error));
        runImport();
        return;
    }
    m_model.markSaved();
    for (int i = 0; i < widths.size() && i < PhotoColumnCount; ++i)
        if (widths.at(i) > 0)
            vaSpread1->setColumnWidthTwips(i + 1, widths.at(i));
    updateLoadedList(listSaved);
    activateLastRow();
}

void frmMain::updateLoadedList(const QDateTime& listSaved)
{
    const QString folder = txtFolder->text();
    // Matching the rows to the folder's photos is quick; only reading photos needs the progress window.
    const ListUpdatePlan plan = PhotoListUpdate::plan(m_model.rows(), folder, listSaved);
    ListNews news = plan.news;
    PhotoListModel updated;
    ImportResult read;
    if (plan.toRead.isEmpty()) {
        const ListUpdate update = PhotoListUpdate::apply(plan);
        news = update.news;
        read = update.read;
        updated.setRows(read.rows);
    } else {
        read = frmGetPicture::runJob(
            this,
            [&news, &plan](std::stop_token stop, const ImportProgress& progress) {
                ListUpdate update = PhotoListUpdate::apply(plan, stop, progress);
                news = update.news;
                return update.read;
            },
            &updated);
    }
    // A cancel keeps the list as the file holds it.
    if (read.cancelled)
        return;
    // What differs from the file (new rows, fresh shooting texts) is an unsaved change of the list.
    m_model.setRows(updated.rows());
    const ProblemText::Report report = ProblemText::listNewsReport(read, news, folder);
    if (news.vanished.isEmpty()) {
        if (!report.text.isEmpty())
            message(report.warning ? QMessageBox::Warning : QMessageBox::Information, report.text);
        return;
    }
    QString question = ProblemText::vanishedQuestion(news);
    if (!report.text.isEmpty())
        question = report.text + QStringLiteral("\n\n") + question;
    if (message(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    for (qsizetype i = news.vanishedPositions.size() - 1; i >= 0; --i)
        m_model.removePhotos(news.vanishedPositions.at(i));
}

bool frmMain::lockAlbum(AlbumLock& lock)
{
    if (lock.tryLock() != AlbumLock::State::Busy)
        return true;
    QDialog waiting(this);
    waiting.setObjectName(QStringLiteral("dlgAlbumLock"));
    waiting.setWindowTitle(ProgramInfo::displayName());
    auto* text = new QLabel(&waiting);
    text->setObjectName(QStringLiteral("lblAlbumLock"));
    QString holder;
    if (lock.heldByAnotherMachine())
        holder = QStringLiteral("\n") + tr("（コンピュータ %1 のLumivertです。そこでLumivertが動いていないのに"
                                           "待ちが終わらないときは，%2 を削除してください。）")
                                            .arg(lock.holderHost(), AlbumLock::path(txtFolder->text()));
    text->setText(tr("別のLumivertがこのアルバムを書き込んでいます。終わるのを待っています…") + holder);
    text->setWordWrap(true);
    auto* cancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), &waiting);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* layout = new QVBoxLayout(&waiting);
    layout->addWidget(text);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    connect(cancel, &QPushButton::clicked, &waiting, &QDialog::reject);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &waiting, [&] {
        if (lock.tryLock() != AlbumLock::State::Busy)
            waiting.accept();
    });
    poll.start(200);
    m_hooks.execDialog(waiting);
    return lock.tryLock() != AlbumLock::State::Busy;
}

bool frmMain::saveList()
{
    vaSpread1->commitEditing(); // a caption still being typed belongs to the list
    const QString folder = txtFolder->text();
    if (m_model.photoCount() == 0)
        return true; // nothing to keep
    if (folder.isEmpty()) {
        message(QMessageBox::Warning, tr("写真のあるフォルダを指定してください。"));
        return false;
    }
    // A creation holds the lock already; a save on its own takes it for the write.
    std::optional<AlbumLock> lock;
    if (!m_writing && !lockAlbum(lock.emplace(folder)))
        return false;
    QString error;
    if (writeList(&error))
        return true;
    message(QMessageBox::Warning, tr("写真一覧ﾃﾞｰﾀを保存できませんでした。\n\n%1").arg(error));
    return false;
}

bool frmMain::writeList(QString* error)
{
    vaSpread1->commitEditing();
    QList<int> widths;
    for (int i = 1; i <= PhotoColumnCount; ++i)
        widths.push_back(vaSpread1->columnWidthTwips(i));
    if (!PhotoListFile::save(m_model, txtFolder->text(), widths, error))
        return false;
    m_model.markSaved();
    return true;
}

bool frmMain::mayDropUnsavedChanges(const QString& question, const QString& title)
{
    vaSpread1->commitEditing();
    // An empty list cannot be saved (an older list file stays), so there is nothing to ask.
    if (m_model.photoCount() == 0 || !m_model.hasUnsavedChanges())
        return true;
    const QString text = tr("写真一覧ﾃﾞｰﾀの変更(並び順，除外，回転，キャプション)が\r\n保存されていません。") +
                         QLatin1String("\r\n\r\n") + question;
    switch (
        message(QMessageBox::Warning, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, title)) {
    case QMessageBox::Save:
        return saveList();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void frmMain::imgLogoLarge_Click()
{
    frmAbout about(this);
    m_hooks.execDialog(about);
}
