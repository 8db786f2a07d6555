// SPDX-License-Identifier: MIT
#include "app/widgets/frmmain.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValidator>

#include <memory>

#include "app/cprivateprofile.h"
#include "app/programinfo.h"
#include "app/startup.h"
#include "app/widgets/frmabout.h"
#include "app/widgets/frmselectfolder.h"
#include "catalogue/photoimport.h"
#include "catalogue/photolistfile.h"
#include "common/testutil.h"
#include "components/widgets/photogridview.h"
#include "components/widgets/picturegrid.h"
#include "design/ccolor.h"
#include "design/widgets/frmcolor16.h"
#include "design/widgets/frmselectbackimage.h"
#include "common/albumoptionsprinter.h"
#include "generate/albumoptionsfile.h"
#include "generate/widgets/frmcreatealbum.h"

namespace
{

struct Message {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

class FrmMainTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_program.isValid() && m_photos.isValid()); }
    void TearDown() override
    {
        m_window.reset();
        CColor::instance().setColorIndex(6);
    }

    QString ini() const { return m_program.filePath("Lumivert.ini"); }
    QString profileString(const char* section, const char* key) const
    {
        return CPrivateProfile().GetValueString(ini(), section, key);
    }
    qint32 profileLong(const char* section, const char* key) const
    {
        return CPrivateProfile().GetValueLong(ini(), section, key);
    }
    void writeProfile(const char* section, const char* key, const QString& value) const
    {
        ASSERT_NE(CPrivateProfile().SetValueString(ini(), section, key, value), 0);
    }
    void shipData() const { copyTree(TestUtil::binDir(), m_program.path()); }
    void writePhotos(int count)
    {
        for (int i = 1; i <= count; ++i)
            TestUtil::writeJpeg(m_photos.filePath(QStringLiteral("p%1.jpg").arg(i)), 160, 120, std::nullopt, false, i);
    }

    frmMain& start(const QString& commandLine = QString())
    {
        frmMain::StartupSettings settings;
        settings.programFolder = m_program.path();
        settings.commandLine = commandLine;
        settings.hooks.execDialog = [this](QDialog& dialog) {
            m_dialogs.push_back(QString::fromLatin1(dialog.metaObject()->className()));
            return m_onDialog ? m_onDialog(dialog) : 0;
        };
        settings.hooks.messageBox = [this](QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons) {
            m_messages.push_back({icon, title, text, buttons});
            return m_answer;
        };
        settings.hooks.launchDocument = [this](QWidget*, const QString& document) {
            m_launched.push_back(document);
            return m_launchResult;
        };
        // The import without its progress window: the same job, run at once.
        settings.hooks.runImport = [this](QWidget*, const QString& folder, PhotoListModel* model) {
            ++m_imports;
            if (m_cancelImport) { // as the progress window leaves a cancelled import
                model->clear();
                ImportResult cancelled;
                cancelled.cancelled = true;
                return cancelled;
            }
            ImportResult result = PhotoImport::run(folder);
            model->setRows(result.rows);
            return result;
        };
        m_window = std::make_unique<frmMain>(std::move(settings));
        return *m_window;
    }
    template <typename T> T* child(const QString& name) const
    {
        T* found = m_window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QTabWidget* tabs() const { return child<QTabWidget>("TabStrip1"); }

    QTemporaryDir m_program;
    QTemporaryDir m_photos;
    std::unique_ptr<frmMain> m_window;
    std::function<int(QDialog&)> m_onDialog;
    QStringList m_dialogs;
    QList<Message> m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
    QStringList m_launched;
    int m_launchResult = -1; // the shell's success
    int m_imports = 0;
    bool m_cancelImport = false;
};

TEST_F(FrmMainTest, CaptionsAndInitialValues)
{
    frmMain& w = start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Lumivert"));
    const struct {
        const char* name;
        const char* text;
    } rows[] = {
        {"lblCaption_2", "■ 写真のあるフォルダを指定してください。"},
        {"txtFolder", ""},
        {"cmdFolder", "参照..."},
        {"cmdGetPicture", "写真一覧の読み込み..."},
        {"lblCaption_3", "※ 写真は読込み専用で利用します。編集結果を上書き保存することはありません。"},
        {"lblCaption_7",
         "※ Lumivertの保存先は，選択フォルダ中の[Lumivert]フォルダです。[Lumivert]フォルダが既にある場合は，"},
        {"lblCaption_6", "上書き保存されます。"},
        {"fraSlideShow", "■ 自動ページめくり"},
        {"chkSlideShow", "自動ページめくり機能を付加する"},
        {"txtShowTime", "5"},
        {"fraCover", "■ 表紙設定"},
        {"lblCaption_4", "・表紙にする写真を選んでください"},
        {"cmdTopImage", "写真を選ぶ..."},
        {"lblCaption_5", "・特殊効果"},
        {"fraJpeg", "■ アルバム写真保存設定"},
        {"chkJpegProgress", "プログレッシブ形式"},
        {"fraJpegQuality", "画質"},
        {"optJpegQuality_2", "高(画質の劣化は最小，ファイルサイズ最大)"},
        {"optJpegQuality_1", "標準（画質，ファイルサイズ共に，低と高の中間）"},
        {"optJpegQuality_0", "低（写真の保存に必要なファイルサイズが最小）"},
        {"fraPage", "■ ページ設定"},
        {"chkPageModel", "カメラ機種名"},
        {"chkPageFileName", "ファイル名"},
        {"chkPageCaption", "キャプション(表題)"},
        {"chkPageDate", "撮影日時"},
        {"chkPageTv", "シャッター速度(Tv)"},
        {"chkPageAv", "絞り値(Av)"},
        {"fraIndex", "■ 目次設定"},
        {"chkIndexFileName", "ファイル名"},
        {"chkIndexNo", "連番"},
        {"chkIndexDate", "撮影日時"},
        {"chkindexCaption", "キャプション(表題)"},
        {"fraStyle", "■ ページスタイル"},
        {"chkNavi", "ナビゲーションバーを日本語表示にする"},
        {"fraBackImage", "背景画像"},
        {"optBackImage_1", "背景画像あり"},
        {"optBackImage_0", "背景画像なし"},
        {"cmdBackImage", "背景画像を選ぶ..."},
        {"lblCaption_1", "色の選択"},
        {"cmdColor16", ""},
        {"lblCaption_0", "スタイルシート"},
        {"cmdPreview", "プレビュー"},
        {"fraPageWidth", "■ ページ幅"},
        {"optPageWidth_0", "480ピクセル(15\"液晶相当)"},
        {"optPageWidth_1", "640ピクセル(17\"CRT相当)"},
        {"optPageWidth_2", "800ピクセル(17\"液晶相当)"},
        {"txtTitle", "Lumivert"},
        {"cmdCreate_1", "Lumivert作成"},
        {"lblCaption_10", "Lumivertを新規に作成します。"},
        {"cmdCreate_2", "ﾍﾟｰｼﾞｽﾀｲﾙのみ変更する"},
        {"lblCaption_12", "既に作成済みのLumivertに対して，HTMLﾌｧｲﾙのみを書き換えます。写真のﾘｻｲｽﾞ処理を省略するため"
                          "Lumivertのﾍﾟｰｼﾞｽﾀｲﾙを素早く更新できます。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* widget = child<QWidget>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            text = edit->text();
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            text = box->title();
        else
            ADD_FAILURE() << "unexpected kind of control";
        EXPECT_EQ(text, QString::fromUtf8(row.text));
    }

    // Ticked, selected and unticked as designed.
    const struct {
        const char* name;
        bool checked;
    } states[] = {{"chkSlideShow", false},     {"chkJpegProgress", false},  {"optJpegQuality_1", true},
                  {"optJpegQuality_0", false}, {"optJpegQuality_2", false}, {"chkPageCaption", true},
                  {"chkPageModel", false},     {"chkPageAv", false},        {"chkIndexNo", true},
                  {"chkIndexDate", false},     {"chkNavi", false},          {"optBackImage_0", true},
                  {"optBackImage_1", false},   {"optPageWidth_0", true},    {"optPageWidth_2", false}};
    for (const auto& state : states) {
        SCOPED_TRACE(state.name);
        auto* button = child<QAbstractButton>(QString::fromLatin1(state.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->isChecked(), state.checked);
    }

    QTabWidget* strip = tabs();
    ASSERT_EQ(strip->count(), 3);
    const char* captions[] = {"フォルダ選択", "写真一覧", "Lumivert作成"};
    const char* pages[] = {"fraStep1", "fraStep2", "fraStep3"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(strip->tabText(i), QString::fromUtf8(captions[i]));
        EXPECT_EQ(strip->tabBar()->tabData(i).toString(), QStringLiteral("Step%1").arg(i + 1));
        EXPECT_EQ(strip->widget(i)->objectName(), QString::fromLatin1(pages[i]));
        EXPECT_TRUE(strip->widget(i)->isEnabled());
    }
    EXPECT_EQ(strip->currentIndex(), 0);

    auto* filter = child<QComboBox>("cboTopFilter");
    ASSERT_EQ(filter->count(), 6);
    EXPECT_EQ(filter->itemText(0), QStringLiteral("効果なし"));
    EXPECT_EQ(filter->itemText(5), QStringLiteral("セピア調効果"));
    EXPECT_EQ(filter->currentIndex(), 0);
    EXPECT_EQ(child<QLineEdit>("txtTitle")->maxLength(), 80);
    EXPECT_EQ(child<QLabel>("lblVersion")->text(), ProgramInfo::versionLabel());
    EXPECT_TRUE(child<QLabel>("lblVersion")->text().startsWith(QStringLiteral("Ver.1.0.000 ")));
    EXPECT_FALSE(child<QLabel>("imgLogoLarge")->pixmap().isNull());
    EXPECT_EQ(child<QAbstractButton>("cmdColor16")->property("BackColor").toInt(), 8388608);
    EXPECT_EQ(w.coverNumber(), 0);
    EXPECT_TRUE(w.TemplateFilePath().endsWith(QDir::separator() + QStringLiteral("Lumivert.fmt")));
    EXPECT_EQ(w.SettingsFilePath(), QDir::toNativeSeparators(ini()));
}

TEST_F(FrmMainTest, ShowTimeAcceptsAtMostTwoDigits)
{
    start();
    auto* edit = child<QLineEdit>("txtShowTime");
    const QValidator* validator = edit->validator();
    ASSERT_NE(validator, nullptr);
    const struct {
        const char* text;
        bool acceptable;
    } rows[] = {{"5", true}, {"12", true}, {"", true}, {"123", false}, {"a", false}, {"-1", false}, {"1.5", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        QString text = QString::fromLatin1(row.text);
        int pos = 0;
        EXPECT_EQ(validator->validate(text, pos) == QValidator::Acceptable, row.acceptable);
    }
}

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

TEST_F(FrmMainTest, FirstStartCentredThenClosingWritesGeometryAndNextStartRestoresIt)
{
    ASSERT_FALSE(QFile::exists(ini()));
    {
        frmMain& w = start();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QSize size = w.frameGeometry().size();
        EXPECT_EQ(w.pos(), QPoint(std::max(0, (screen.width() - size.width()) * 15 / 2) / 15,
                                  std::max(0, (screen.height() - size.height()) * 15 / 2) / 15));
        EXPECT_FALSE(QFile::exists(ini())); // start-up alone writes nothing
        w.move(37, 53);
        w.grid()->setColumnWidthTwips(4, 2000);
        w.grid()->setColumnWidthTwips(3, 1500); // hidden, still kept
        w.close();
    }
    EXPECT_EQ(profileLong("Main", "Top"), 53 * 15);
    EXPECT_EQ(profileLong("Main", "Left"), 37 * 15);
    EXPECT_EQ(profileLong("Main", "SpreadW"), 11700);
    const int expected[] = {960, 1605, 1500, 2000, 960, 1815, 960, 960, 930, 5055};
    for (int c = 1; c <= 10; ++c)
        EXPECT_EQ(profileLong("Main", Startup::columnKey(c).toLatin1().constData()), expected[c - 1]) << c;
    EXPECT_EQ(profileString("Folder", "Folder"), QString()); // shut-down leaves the folder key alone

    frmMain& again = start();
    EXPECT_EQ(again.pos(), QPoint(37, 53));
    for (int c = 1; c <= 10; ++c)
        EXPECT_EQ(again.grid()->columnWidthTwips(c), expected[c - 1]) << c;
    EXPECT_EQ(again.grid()->widthTwips(), 11700);
}

TEST_F(FrmMainTest, StoredValuesThatAreNotPositiveKeepTheDesign)
{
    writeProfile("Main", "Top", "-5");
    writeProfile("Main", "Left", "300");
    writeProfile("Main", "SpreadW", "0");
    writeProfile("Main", "C4", "12.75");
    writeProfile("Main", "C6", "0");
    writeProfile("Main", "C10", "abc");
    writeProfile("Main", "C9", "4500");
    frmMain& w = start();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(w.pos().x(), 20);
    EXPECT_EQ(w.pos().y(), std::max(0, (screen.height() - w.frameGeometry().height()) * 15 / 2) / 15);
    EXPECT_EQ(w.grid()->widthTwips(), 11700);
    EXPECT_EQ(w.grid()->columnWidthTwips(4), 12);
    EXPECT_EQ(w.grid()->columnWidthTwips(6), 1815);
    EXPECT_EQ(w.grid()->columnWidthTwips(10), 5055);
    EXPECT_EQ(w.grid()->columnWidthTwips(9), 4500);
}

TEST_F(FrmMainTest, StoredFolderIsShownOnlyWhenItExists)
{
    writeProfile("Folder", "Folder", m_photos.path());
    start();
    EXPECT_EQ(child<QLineEdit>("txtFolder")->text(), m_photos.path());
    EXPECT_EQ(m_imports, 0);
}

TEST_F(FrmMainTest, MissingCommandLineFolderIsReportedAndNothingIsWritten)
{
    writeProfile("Folder", "Folder", m_photos.path());
    const QByteArray before = TestUtil::readAll(ini());
    start(m_photos.filePath("no such folder"));
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_messages[0].text, QStringLiteral("指定されたﾌｫﾙﾀﾞは存在しませんでした。写真の取り込みを中止します。"));
    EXPECT_EQ(m_messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(m_messages[0].title, ProgramInfo::displayName());
    EXPECT_EQ(m_messages[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(child<QLineEdit>("txtFolder")->text(), m_photos.path());
    EXPECT_EQ(TestUtil::readAll(ini()), before);
    EXPECT_EQ(m_imports, 0);
    EXPECT_EQ(tabs()->currentIndex(), 0);
}

TEST_F(FrmMainTest, StoredFolderThatVanishedLeavesTheBoxEmpty)
{
    writeProfile("Folder", "Folder", m_photos.filePath("gone"));
    start();
    EXPECT_EQ(child<QLineEdit>("txtFolder")->text(), QString());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(FrmMainTest, CommandLineFolderIsImportedOrItsListLoadedWithoutAsking)
{
    writePhotos(3);
    {
        frmMain& w = start(Startup::commandLinePath({QStringLiteral("\"%1\"").arg(m_photos.path())}));
        EXPECT_TRUE(m_messages.isEmpty());
        EXPECT_EQ(m_imports, 1);
        EXPECT_EQ(child<QLineEdit>("txtFolder")->text(), m_photos.path());
        EXPECT_EQ(profileString("Folder", "Folder"), m_photos.path());
        EXPECT_EQ(w.photoList().photoCount(), 3);
        EXPECT_EQ(w.coverNumber(), 1);
        EXPECT_FALSE(w.coverPreview().isNull());
        EXPECT_EQ(tabs()->currentIndex(), 1);
        // Save a list that differs from what an import gives.
        PhotoRow row = w.photoList().photoAt(1);
        row.caption = QStringLiteral("saved");
        w.photoList().setPhotoAt(1, row);
        w.cmdSave_Click();
        ASSERT_TRUE(PhotoListFile::exists(m_photos.path()));
    }
    m_imports = 0;
    frmMain& w = start(m_photos.path());
    EXPECT_EQ(m_imports, 0);
    EXPECT_TRUE(m_messages.isEmpty());
    ASSERT_EQ(w.photoList().photoCount(), 3);
    EXPECT_EQ(w.photoList().cellText(1, PhotoColumn::Caption), QStringLiteral("saved"));
    EXPECT_EQ(tabs()->currentIndex(), 1);
}

TEST_F(FrmMainTest, DamagedListFileIsReportedAndTheFolderImportedInstead)
{
    writePhotos(2);
    TestUtil::writeAll(PhotoListFile::path(m_photos.path()), QByteArray("not a photo list"));
    const QByteArray before = TestUtil::readAll(PhotoListFile::path(m_photos.path()));
    frmMain& w = start(m_photos.path());
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_imports, 1);
    EXPECT_EQ(w.photoList().photoCount(), 2);
    EXPECT_EQ(TestUtil::readAll(PhotoListFile::path(m_photos.path())), before);
}

TEST_F(FrmMainTest, ReadCommandAsksBeforeLoadingASavedList)
{
    writePhotos(2);
    frmMain& w = start();
    child<QLineEdit>("txtFolder")->setText(m_photos.path());
    w.cmdGetPicture_Click(); // no list file yet: imports without asking
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(m_imports, 1);
    EXPECT_EQ(tabs()->currentIndex(), 1);
    PhotoRow row = w.photoList().photoAt(2);
    row.caption = QStringLiteral("kept");
    w.photoList().setPhotoAt(2, row);
    w.cmdSave_Click();

    for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
        SCOPED_TRACE(int(answer));
        m_messages.clear();
        m_imports = 0;
        m_answer = answer;
        tabs()->setCurrentIndex(0);
        w.cmdGetPicture_Click();
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_EQ(m_messages[0].title, QStringLiteral("写真一覧"));
        EXPECT_EQ(m_messages[0].icon, QMessageBox::Information);
        EXPECT_EQ(m_messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(m_messages[0].text,
                  QStringLiteral("参照ﾌｫﾙﾀﾞに写真一覧ﾃﾞｰﾀが保存されています。読み込みますか？\r\n\r\n"
                                 "写真一覧ﾃﾞｰﾀを読み込まない場合は，新規に写真一覧ﾃﾞｰﾀを作成します。"));
        EXPECT_EQ(m_imports, answer == QMessageBox::Yes ? 0 : 1);
        EXPECT_EQ(w.photoList().cellText(2, PhotoColumn::Caption),
                  answer == QMessageBox::Yes ? QStringLiteral("kept") : QString());
        EXPECT_EQ(tabs()->currentIndex(), 1);
        EXPECT_EQ(w.coverNumber(), 1);
    }
}

TEST_F(FrmMainTest, FolderChooserWritesTheKeyOnOkAndOnCancel)
{
    frmMain& w = start();
    auto* folder = child<QLineEdit>("txtFolder");
    folder->setText(QStringLiteral("/typed/folder"));
    QString startedWith;
    m_onDialog = [&](QDialog& dialog) {
        auto* chooser = qobject_cast<frmSelectFolder*>(&dialog);
        EXPECT_NE(chooser, nullptr);
        startedWith = chooser->FolderName();
        EXPECT_EQ(chooser->UsrTag(), QString());
        chooser->setUsrTag(QStringLiteral("ｷｬﾝｾﾙ"));
        return 0;
    };
    w.cmdFolder_Click();
    EXPECT_EQ(startedWith, QStringLiteral("/typed/folder"));
    EXPECT_EQ(folder->text(), QStringLiteral("/typed/folder"));
    EXPECT_EQ(profileString("Folder", "Folder"), QStringLiteral("/typed/folder"));

    m_onDialog = [&](QDialog& dialog) {
        auto* chooser = qobject_cast<frmSelectFolder*>(&dialog);
        chooser->setFolderName(m_photos.path());
        chooser->setUsrTag(QStringLiteral("OK"));
        return 1;
    };
    w.cmdFolder_Click();
    EXPECT_EQ(folder->text(), m_photos.path());
    EXPECT_EQ(profileString("Folder", "Folder"), m_photos.path());
    EXPECT_EQ(m_imports, 0); // choosing a folder reads no photos
}

TEST_F(FrmMainTest, ShowTimeRuleUnticksSlideShowOnlyForNoPositiveNumber)
{
    frmMain& w = start();
    auto* slide = child<QCheckBox>("chkSlideShow");
    auto* time = child<QLineEdit>("txtShowTime");
    const struct {
        const char* text;
        bool stays;
    } rows[] = {{"0", false}, {"", false}, {"00", false}, {"12", true}, {"5", true}, {"1", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        slide->setChecked(true);
        time->setText(QString::fromLatin1(row.text));
        w.txtShowTime_LostFocus();
        EXPECT_EQ(slide->isChecked(), row.stays);
        EXPECT_EQ(time->text(), QString::fromLatin1(row.text)); // the text is never changed
    }
    // The check runs when the box loses the focus, not when the box is ticked later.
    time->setText(QStringLiteral("0"));
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(time, &out);
    EXPECT_FALSE(slide->isChecked());
    slide->setChecked(true);
    EXPECT_TRUE(slide->isChecked());
}

TEST_F(FrmMainTest, CreateOpensTheGenerationWindowEvenWithAnEmptyGrid)
{
    start();
    child<QLineEdit>("txtFolder")->setText(m_photos.path());
    for (int index : {1, 2}) {
        SCOPED_TRACE(index);
        m_dialogs.clear();
        m_launched.clear();
        int mode = 0;
        m_onDialog = [&](QDialog& dialog) {
            if (auto* generation = qobject_cast<frmCreateAlbum*>(&dialog))
                mode = generation->UserMode();
            return 1;
        };
        child<QAbstractButton>(QStringLiteral("cmdCreate_%1").arg(index))->click();
        EXPECT_EQ(m_dialogs, QStringList{"frmCreateAlbum"});
        EXPECT_EQ(mode, index);
        EXPECT_FALSE(PhotoListFile::exists(m_photos.path())); // an empty list writes nothing
        // The window reports "OK" unless cancelled: the album's cover page is opened.
        EXPECT_EQ(m_launched,
                  QStringList{Startup::joinPath(m_photos.path(), "Lumivert/top.htm").replace('/', QDir::separator())});
    }
}

TEST_F(FrmMainTest, CreateSavesTheListFirstAndRunsTheGeneration)
{
    shipData();
    writePhotos(2);
    frmMain& w = start(m_photos.path());
    ASSERT_EQ(w.photoList().photoCount(), 2);
    m_onDialog = [](QDialog& dialog) { return dialog.exec(); }; // the real generation
    w.cmdCreate_Click(1);
    EXPECT_TRUE(PhotoListFile::exists(m_photos.path()));
    const QString album = m_photos.filePath("Lumivert");
    for (const char* file :
         {"top.htm", "index.htm", "page001.htm", "page002.htm", "index001.jpg", "page002.jpg", "stylesheet.css"})
        EXPECT_TRUE(QFile::exists(album + "/" + file)) << file;
    ASSERT_EQ(m_launched.size(), 1);
    EXPECT_EQ(QDir::fromNativeSeparators(m_launched[0]), album + "/top.htm");
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(FrmMainTest, ReadCommandTellsWhatCouldNotBeRead)
{
    writePhotos(2);
    const QByteArray whole = TestUtil::readAll(m_photos.filePath("p1.jpg"));
    TestUtil::writeAll(m_photos.filePath("cut.jpg"), whole.left(whole.size() / 2));
    TestUtil::writeAll(m_photos.filePath("x.jpg"), "a text file\n");
    QTemporaryDir crowd, noPhotos;
    for (int i = 1; i <= 1005; ++i)
        TestUtil::writeAll(crowd.filePath(QStringLiteral("c%1.jpg").arg(i, 4, 10, QLatin1Char('0'))), whole);
    TestUtil::writeAll(noPhotos.filePath("notes.txt"), "no photos here");
    const struct {
        QString folder;
        int rows;
        QMessageBox::Icon icon;
        QString text;
    } cases[] = {
        {m_photos.path(), 4, QMessageBox::Warning,
         QStringLiteral(
             "次の写真は読み込めませんでした。一覧には残りますが，アルバムでは写真の代わりにお知らせを表示します。\n"
             "・cut.jpg : ファイルが壊れているか，途中で切れています\n・x.jpg : このプログラムで読める写真ではありません")},
        {m_photos.filePath("nosuch"), 0, QMessageBox::Warning,
         QStringLiteral("指定されたフォルダが見つかりません。フォルダ名を確かめてください。\n") +
             m_photos.filePath("nosuch")},
        {noPhotos.path(), 0, QMessageBox::Warning,
         QStringLiteral("指定されたフォルダには写真（*.jpg，*.jpeg，*.heic，*.heif，*.hif，*.avif）がありません。\n") + noPhotos.path()},
        {crowd.path(), 999, QMessageBox::Information,
         QStringLiteral(
             "アルバムに入れられる写真は999枚までのため，6枚（c1000.jpg ～ c1005.jpg）を読み込みませんでした。")},
    };
    frmMain& w = start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        m_messages.clear();
        child<QLineEdit>("txtFolder")->setText(c.folder);
        w.cmdGetPicture_Click();
        EXPECT_EQ(w.photoList().photoCount(), c.rows);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_EQ(m_messages[0].icon, c.icon);
        EXPECT_EQ(m_messages[0].text, c.text);
    }
}

TEST_F(FrmMainTest, CreateFailureNamesTheSystemsReason)
{
    shipData();
    writePhotos(1);
    TestUtil::writeAll(m_photos.filePath("Lumivert"), "a file where the album folder should be");
    frmMain& w = start(m_photos.path());
    m_onDialog = [](QDialog& dialog) { return dialog.exec(); };
    w.cmdCreate_Click(1);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(
        m_messages[0].text.startsWith(QStringLiteral("･Lumivert作成エラー\n\n理由: フォルダではありません\n\n")))
        << m_messages[0].text.toStdString();
    EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("top.htm")));
    // A failed album is not confirmed as written.
    EXPECT_FALSE(child<QStatusBar>("StatusBar1")->currentMessage().contains(QStringLiteral("作成しました")));
}

TEST_F(FrmMainTest, CreateWithoutAFolderDoesNotWriteIntoTheRoot)
{
    frmMain& w = start();
    w.cmdCreate_Click(1);
    EXPECT_TRUE(m_dialogs.isEmpty());
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_launched.isEmpty());
}

TEST_F(FrmMainTest, TabsEnableTheirPageAndStep3FollowsTheCoverRow)
{
    writePhotos(3);
    frmMain& w = start(m_photos.path());
    QTabWidget* strip = tabs();
    const QImage first = w.photoList().cellPicture(1, PhotoColumn::Picture);
    EXPECT_EQ(w.coverPreview(), first);
    // The cover is a row number: after a move the row shows another photo.
    w.grid()->setActiveCell(2, 3);
    w.cmdMoveTop_Click();
    EXPECT_EQ(w.grid()->activeRow(), 1);
    strip->setCurrentIndex(2);
    EXPECT_EQ(w.coverNumber(), 1);
    EXPECT_EQ(w.coverPreview(), w.photoList().cellPicture(1, PhotoColumn::Picture));
    EXPECT_NE(w.coverPreview(), first);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(strip->widget(i)->isEnabled(), i == 2) << i;
    strip->setCurrentIndex(0);
    EXPECT_TRUE(strip->widget(0)->isEnabled());
    EXPECT_FALSE(strip->widget(2)->isEnabled());

    // An effect applies to the preview, "効果なし" brings the picture back.
    child<QComboBox>("cboTopFilter")->setCurrentIndex(4);
    EXPECT_NE(w.coverPreview(), w.photoList().cellPicture(1, PhotoColumn::Picture));
    EXPECT_FALSE(w.coverPreview().isNull());
    child<QComboBox>("cboTopFilter")->setCurrentIndex(0);
    EXPECT_EQ(w.coverPreview(), w.photoList().cellPicture(1, PhotoColumn::Picture));
}

TEST_F(FrmMainTest, Step3BeforeAnyListLeavesThePreviewEmpty)
{
    frmMain& w = start();
    tabs()->setCurrentIndex(2);
    child<QComboBox>("cboTopFilter")->setCurrentIndex(3);
    EXPECT_EQ(w.coverNumber(), 0);
    EXPECT_TRUE(w.coverPreview().isNull());
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

const QString UnsavedQuestion =
    QStringLiteral("写真一覧ﾃﾞｰﾀの変更(並び順，除外，回転，キャプション)が\r\n保存されていません。\r\n\r\n");

TEST_F(FrmMainTest, ClosingAsksOnlyAboutUnsavedChangesAndCancelKeepsTheWindowOpen)
{
    writePhotos(3);
    auto caption = [](frmMain& w, const QString& text) {
        ASSERT_TRUE(w.photoList().setData(w.photoList().indexOf(2, PhotoColumn::Caption), text));
    };
    // Nothing changed, or changed and changed back, or saved: closing asks nothing.
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        m_messages.clear();
        frmMain& w = start(m_photos.path());
        if (variant >= 1)
            caption(w, QStringLiteral("x"));
        if (variant == 1)
            caption(w, QString());
        if (variant == 2)
            w.cmdSave_Click();
        EXPECT_TRUE(w.close());
        EXPECT_TRUE(m_messages.isEmpty());
    }
    QFile::remove(PhotoListFile::path(m_photos.path()));
    QFile::remove(ini());

    const struct {
        QMessageBox::StandardButton answer;
        bool closes;
        bool saved;
    } rows[] = {
        {QMessageBox::Cancel, false, false}, {QMessageBox::Discard, true, false}, {QMessageBox::Save, true, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.answer));
        m_messages.clear();
        frmMain& w = start(m_photos.path());
        ASSERT_FALSE(QFile::exists(ini()) && profileLong("Main", "Top") != -1);
        // A caption still being typed counts as a change.
        w.show();
        const QModelIndex cell = w.photoList().indexOf(2, PhotoColumn::Caption);
        w.grid()->setCurrentIndex(cell);
        w.grid()->edit(cell);
        auto* editor = qobject_cast<QPlainTextEdit*>(w.grid()->indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        editor->setPlainText(QStringLiteral("typed\nand not yet left"));
        m_answer = row.answer;
        EXPECT_EQ(w.close(), row.closes);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_EQ(m_messages[0].text, UnsavedQuestion + QStringLiteral("終了する前に，写真一覧ﾃﾞｰﾀを保存しますか？"));
        EXPECT_EQ(m_messages[0].title, ProgramInfo::displayName());
        EXPECT_EQ(m_messages[0].icon, QMessageBox::Warning);
        EXPECT_EQ(m_messages[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        EXPECT_EQ(w.isVisible(), !row.closes);
        EXPECT_EQ(profileLong("Main", "Top") != -1, row.closes); // shut-down ran or not
        EXPECT_EQ(w.photoList().cellText(2, PhotoColumn::Caption), QStringLiteral("typed\r\nand not yet left"));
        EXPECT_EQ(PhotoListFile::exists(m_photos.path()), row.saved);
        if (row.saved) {
            PhotoListModel saved;
            ASSERT_TRUE(PhotoListFile::load(saved, m_photos.path()));
            EXPECT_EQ(saved.cellText(2, PhotoColumn::Caption), QStringLiteral("typed\r\nand not yet left"));
        }
        QFile::remove(ini());
    }

    // Saving fails (no folder to save into): the window stays open.
    m_messages.clear();
    frmMain& w = start(m_photos.path());
    caption(w, QStringLiteral("y"));
    child<QLineEdit>("txtFolder")->clear();
    m_answer = QMessageBox::Save;
    EXPECT_FALSE(w.close());
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages[1].text, QStringLiteral("写真のあるフォルダを指定してください。"));
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

TEST_F(FrmMainTest, WindowOffEveryScreenComesBackAndAMaximisedWindowKeepsItsNormalPlace)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QPoint centred;
    {
        frmMain& w = start();
        centred = w.pos();
        w.move(37, 53);
        w.showMaximized();
        QTest::qWait(50);
        ASSERT_TRUE(w.isMaximized());
        w.close();
    }
    EXPECT_EQ(profileLong("Main", "Left"), 37 * 15);
    EXPECT_EQ(profileLong("Main", "Top"), 53 * 15);
    EXPECT_EQ(start().pos(), QPoint(37, 53));

    // Beyond the right edge, below the bottom, on a screen that is no longer there.
    for (const QPoint& stored : {QPoint(screen.right() + 1, 40), QPoint(40, screen.bottom() - 5),
                                 QPoint(screen.right() + 2000, screen.bottom() + 2000)}) {
        SCOPED_TRACE(testing::Message() << stored.x() << "," << stored.y());
        writeProfile("Main", "Left", QString::number(stored.x() * 15));
        writeProfile("Main", "Top", QString::number(stored.y() * 15));
        EXPECT_EQ(start().pos(), centred);
    }
}

TEST_F(FrmMainTest, LongFolderComesBackWholeNotAsTheFolderItsCutPathNames)
{
    // The first 127 bytes of the long path name a folder too.
    QString cut = m_photos.path() + QLatin1Char('/');
    while (cut.toUtf8().size() < CPrivateProfile::MaxValueBytes)
        cut += QLatin1Char('a');
    const QString deep = cut + QStringLiteral("/写真/2026年 夏の旅");
    ASSERT_TRUE(QDir().mkpath(deep));
    start(deep);
    EXPECT_EQ(profileString("Folder", "Folder"), cut);
    frmMain& again = start();
    EXPECT_EQ(child<QLineEdit>("txtFolder")->text(), deep);
    EXPECT_EQ(again.photoList().photoCount(), 0);
}

TEST_F(FrmMainTest, ThemesAndBackgroundsComeFromTheProgramFolder)
{
    {
        frmMain& w = start();
        EXPECT_EQ(child<QComboBox>("cboTheme")->count(), 0);
        EXPECT_EQ(child<QAbstractButton>("cmdBackImage")->property("Tag").toString(), QString());
        EXPECT_TRUE(w.backgroundPreview().isNull());
        EXPECT_FALSE(w.albumOptions().background);
        EXPECT_EQ(w.albumOptions().backgroundFile, QString());
    }
    shipData();
    frmMain& w = start();
    auto* themes = child<QComboBox>("cboTheme");
    ASSERT_EQ(themes->count(), 4);
    EXPECT_EQ(themes->currentText(), QStringLiteral("basic.css"));
    EXPECT_EQ(child<QAbstractButton>("cmdBackImage")->property("Tag").toString(), QStringLiteral("1"));
    EXPECT_FALSE(w.backgroundPreview().isNull());
    EXPECT_TRUE(w.backImageChooser()->isHidden());
    // The display shows the chosen image only while the album is to have a background.
    auto* display = child<QLabel>("IkDisp2");
    EXPECT_TRUE(display->pixmap().isNull());
    child<QAbstractButton>("optBackImage_1")->click();
    EXPECT_FALSE(display->pixmap().isNull());
    child<QAbstractButton>("optBackImage_0")->click();
    EXPECT_TRUE(display->pixmap().isNull());
    child<QAbstractButton>("optBackImage_1")->click();

    // Choosing image 4 moves tag, preview and the generation's file together.
    m_onDialog = [](QDialog& dialog) {
        auto* chooser = qobject_cast<frmSelectBackImage*>(&dialog);
        EXPECT_NE(chooser, nullptr);
        chooser->grid()->setActiveCell(1, 2);
        chooser->cmdOK_Click();
        return 1;
    };
    w.cmdBackImage_Click();
    EXPECT_EQ(m_dialogs, QStringList{"frmSelectBackImage"});
    EXPECT_EQ(child<QAbstractButton>("cmdBackImage")->property("Tag").toString(), QStringLiteral("4"));
    EXPECT_TRUE(w.albumOptions().backgroundFile.endsWith(QStringLiteral("04_sakura.jpg")));
    EXPECT_EQ(w.backgroundPreview(), w.backImageChooser()->pictureAt(1, 2));
    EXPECT_TRUE(w.backImageChooser()->isHidden());
}

TEST_F(FrmMainTest, AlbumOptionsAreReadFromTheControls)
{
    shipData();
    frmMain& w = start();
    child<QLineEdit>("txtFolder")->setText(m_photos.path());
    child<QLineEdit>("txtTitle")->setText(QStringLiteral("旅行 & <b>"));
    child<QAbstractButton>("optPageWidth_2")->click();
    child<QAbstractButton>("optJpegQuality_0")->click();
    child<QAbstractButton>("optBackImage_1")->click();
    child<QAbstractButton>("chkJpegProgress")->click();
    child<QAbstractButton>("chkNavi")->click();
    child<QAbstractButton>("chkPageCaption")->click();
    child<QAbstractButton>("chkIndexDate")->click();
    child<QComboBox>("cboTheme")->setCurrentIndex(1);
    child<QLineEdit>("txtShowTime")->setText(QStringLiteral("12"));
    const AlbumOptions o = w.albumOptions();
    EXPECT_EQ(o.photoFolder, m_photos.path());
    EXPECT_EQ(o.programFolder, QDir::toNativeSeparators(m_program.path()));
    EXPECT_EQ(o.title, QStringLiteral("旅行 & <b>"));
    EXPECT_EQ(o.pageWidthIndex, 2);
    EXPECT_EQ(o.qualityIndex, 0);
    EXPECT_TRUE(o.progressive);
    EXPECT_TRUE(o.background);
    EXPECT_TRUE(o.backgroundFile.endsWith(QStringLiteral("01_washi.jpg")));
    EXPECT_TRUE(o.japaneseNavi);
    EXPECT_FALSE(o.pageCaption);
    EXPECT_TRUE(o.indexDate);
    EXPECT_TRUE(o.indexNo);
    EXPECT_EQ(o.themeFile, QStringLiteral("dark.css"));
    EXPECT_EQ(o.colorName, QStringLiteral("navy"));
    EXPECT_EQ(o.showTime, QStringLiteral("12"));
    EXPECT_EQ(o.coverEffect, 0);
    EXPECT_EQ(o.coverNumber, 0);
}

TEST_F(FrmMainTest, PreviewOpensTheUsersCopyOfTheSampleAlbum)
{
    shipData();
    const QString shippedStyle = m_program.filePath("Preview/Lumivert/stylesheet.css");
    const QByteArray shipped = TestUtil::readAll(shippedStyle);
    QTemporaryDir cache;
    const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    frmMain& w = start();
    w.cmdPreview_Click();
    ASSERT_EQ(m_launched.size(), 1);
    EXPECT_EQ(QDir::fromNativeSeparators(m_launched[0]), cache.filePath("lumivert/Preview/Lumivert/top.htm"));
    EXPECT_TRUE(TestUtil::readAll(cache.filePath("lumivert/Preview/Lumivert/stylesheet.css")).contains("navy"));
    EXPECT_EQ(TestUtil::readAll(shippedStyle), shipped);
    EXPECT_TRUE(m_messages.isEmpty());

    // No place for the copy: the user is told, and no browser opens.
    TestUtil::writeAll(cache.filePath("file"), "not a folder");
    qputenv("XDG_CACHE_HOME", cache.filePath("file").toUtf8());
    w.cmdPreview_Click();
    EXPECT_EQ(m_launched.size(), 1);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(
        m_messages[0].text.startsWith(QStringLiteral("プレビュー用のサンプルアルバムを用意できませんでした。")));
    if (oldCache.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", oldCache);
}

TEST_F(FrmMainTest, Step3OptionsAreRememberedWithTheAlbumAndRestoredOnLoad)
{
    shipData();
    writePhotos(3);
    frmMain& w = start(m_photos.path());
    tabs()->setCurrentIndex(2);
    child<QLineEdit>("txtTitle")->setText(QStringLiteral("覚えたアルバム"));
    for (const char* name : {"optPageWidth_1", "optJpegQuality_2", "chkJpegProgress", "chkPageDate", "chkPageCaption",
                             "chkIndexFileName", "chkNavi", "chkSlideShow", "optBackImage_1"})
        child<QAbstractButton>(name)->click();
    child<QLineEdit>("txtShowTime")->setText(QStringLiteral("9"));
    child<QComboBox>("cboTheme")->setCurrentIndex(2);
    child<QComboBox>("cboTopFilter")->setCurrentIndex(4);
    w.SetCoverPhoto(3);
    CColor::instance().setColorIndex(7);
    m_onDialog = [](QDialog& dialog) {
        auto* chooser = qobject_cast<frmSelectBackImage*>(&dialog);
        chooser->grid()->setActiveCell(2, 2); // image 5
        chooser->cmdOK_Click();
        return 1;
    };
    w.cmdBackImage_Click();
    const AlbumOptions made = w.albumOptions();
    ASSERT_TRUE(made.background && made.progressive && made.pageWidthIndex == 1 && made.japaneseNavi);
    const QString remembered = AlbumOptionsFile::path(m_photos.path());

    // A create that fails (a template without its sections) remembers nothing.
    const QString fmt = m_program.filePath("Lumivert.fmt");
    const QByteArray goodTemplate = TestUtil::readAll(fmt);
    TestUtil::writeAll(fmt, "nothing\r\n");
    m_onDialog = [](QDialog& dialog) { return dialog.exec(); };
    w.cmdCreate_Click(1);
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_FALSE(QFile::exists(remembered));
    TestUtil::writeAll(fmt, goodTemplate);
    w.cmdCreate_Click(2);
    ASSERT_TRUE(QFile::exists(remembered));

    // After a restart, loading the folder's list brings the options back.
    m_window.reset();
    CColor::instance().setColorIndex(6);
    m_onDialog = nullptr;
    frmMain& again = start();
    EXPECT_EQ(again.albumOptions().title, QStringLiteral("Lumivert"));
    child<QLineEdit>("txtFolder")->setText(m_photos.path());
    m_answer = QMessageBox::Yes; // load the saved list
    child<QAbstractButton>("cmdGetPicture")->click();
    EXPECT_EQ(m_imports, 1); // the first start's import only
    EXPECT_EQ(again.albumOptions(), made);
    EXPECT_EQ(again.coverNumber(), 3);
    EXPECT_EQ(child<QAbstractButton>("cmdBackImage")->property("Tag").toString(), QStringLiteral("5"));
    EXPECT_EQ(again.backgroundPreview(), again.backImageChooser()->images().picture(5));
    EXPECT_EQ(child<QAbstractButton>("cmdColor16")->property("BackColor").toInt(), 8421376); // teal

    // A folder without remembered options gives the start values.
    ASSERT_TRUE(QFile::remove(remembered));
    tabs()->setCurrentIndex(0);
    child<QAbstractButton>("cmdGetPicture")->click();
    AlbumOptions startValues{.photoFolder = m_photos.path(), .programFolder = again.programFolder()};
    startValues.themeFile = QStringLiteral("basic.css");
    startValues.coverNumber = 1;
    startValues.backgroundFile = again.backImageChooser()->images().pathName(1);
    EXPECT_EQ(again.albumOptions(), startValues);
}

TEST_F(FrmMainTest, ColourPickerAndAboutBox)
{
    frmMain& w = start();
    m_onDialog = [](QDialog& dialog) {
        auto* picker = qobject_cast<frmColor16*>(&dialog);
        EXPECT_NE(picker, nullptr);
        picker->grid()->setActiveCell(2, 3);
        picker->cmdOK_Click();
        return 1;
    };
    w.cmdColor16_Click();
    EXPECT_EQ(CColor::instance().ColorName(), QStringLiteral("lime"));
    EXPECT_EQ(child<QAbstractButton>("cmdColor16")->property("BackColor").toInt(), 65280);
    // Cancel changes nothing.
    m_onDialog = [](QDialog& dialog) {
        auto* picker = qobject_cast<frmColor16*>(&dialog);
        picker->grid()->setActiveCell(1, 1);
        picker->cmdCancel_Click();
        return 0;
    };
    w.cmdColor16_Click();
    EXPECT_EQ(child<QAbstractButton>("cmdColor16")->property("BackColor").toInt(), 65280);

    m_dialogs.clear();
    m_onDialog = nullptr;
    QTest::mouseClick(child<QLabel>("imgLogoLarge"), Qt::LeftButton);
    EXPECT_EQ(m_dialogs, QStringList{"frmAbout"});
}

} // namespace

namespace
{

// Not a check: with LUMIVERT_SCREENSHOT_DIR set (and a real display), saves a picture of each page
// for a person to look at.
TEST_F(FrmMainTest, ScreenshotsOfEachPage)
{
    const QString target = qEnvironmentVariable("LUMIVERT_SCREENSHOT_DIR");
    if (target.isEmpty())
        GTEST_SKIP() << "set LUMIVERT_SCREENSHOT_DIR to save the pages' pictures";
    shipData();
    writePhotos(5);
    frmMain& w = start(m_photos.path());
    w.show();
    for (int i = 0; i < 3; ++i) {
        tabs()->setCurrentIndex(i);
        QTest::qWait(300);
        w.grab().save(QStringLiteral("%1/step%2.png").arg(target).arg(i + 1));
    }
}

} // namespace

namespace
{

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

namespace
{

TEST_F(FrmMainTest, SaveAndCreateConfirmInTheStatusLineAndAFailedBrowserOffersTheFolder)
{
    writePhotos(2);
    frmMain& w = start(m_photos.path());
    auto* status = child<QStatusBar>("StatusBar1");
    ASSERT_NE(status, nullptr);
    w.cmdSave_Click();
    EXPECT_EQ(status->currentMessage(), QStringLiteral("写真2枚をLumivert.binに保存しました。"));

    m_onDialog = [](QDialog&) { return 1; }; // the generation window reports "OK"
    m_launchResult = 31;                     // no program for the page
    m_answer = QMessageBox::Yes;
    w.cmdCreate_Click(2);
    const QString album = QDir::toNativeSeparators(m_photos.filePath("Lumivert"));
    EXPECT_TRUE(status->currentMessage().contains(album));
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].text.contains(album));
    ASSERT_EQ(m_launched.size(), 2);
    EXPECT_EQ(QDir::fromNativeSeparators(m_launched[1]), m_photos.filePath("Lumivert"));
}

} // namespace
