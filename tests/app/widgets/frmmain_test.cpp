// SPDX-License-Identifier: MIT
// The main window as a whole: captions, start-up and closing, the tabs, the colour and about boxes.
#include "frmmaintest.h"

namespace
{

using namespace FrmMainTesting;

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
    EXPECT_EQ(child<QAbstractButton>("cmdColor16")->toolTip(), QStringLiteral("lime"));
    EXPECT_TRUE(child<QAbstractButton>("cmdColor16")->accessibleName().endsWith(QStringLiteral("lime")));
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
