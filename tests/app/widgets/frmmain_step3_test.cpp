// SPDX-License-Identifier: MIT
// The main window's third page: the album options, the preview and the creation.
#include "frmmaintest.h"

#include <QTimer>

#include "catalogue/albumlock.h"

namespace
{

using namespace FrmMainTesting;

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

TEST_F(FrmMainTest, CreateAndSaveWithAnEmptyListTouchNothing)
{
    // A published album in a folder whose list is empty stays as it is.
    ASSERT_TRUE(QDir(m_photos.path()).mkdir("Lumivert"));
    TestUtil::writeAll(m_photos.filePath("Lumivert/top.htm"), "published");
    frmMain& w = start();
    child<QLineEdit>("txtFolder")->setText(m_photos.path());
    for (int index : {1, 2}) {
        SCOPED_TRACE(index);
        m_dialogs.clear();
        m_messages.clear();
        child<QAbstractButton>(QStringLiteral("cmdCreate_%1").arg(index))->click();
        EXPECT_TRUE(m_dialogs.isEmpty());
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("作成するものがありません")));
        EXPECT_TRUE(m_launched.isEmpty());
    }
    EXPECT_EQ(TestUtil::readAll(m_photos.filePath("Lumivert/top.htm")), "published");
    EXPECT_EQ(QDir(m_photos.filePath("Lumivert")).count(), 3u); // ".", ".." and top.htm
    m_messages.clear();
    w.cmdSave_Click();
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("保存するものがありません")));
    EXPECT_FALSE(PhotoListFile::exists(m_photos.path()));
}

TEST_F(FrmMainTest, AnotherFolderClearsTheStatusLineAndACoverItsListDoesNotHold)
{
    writePhotos(2);
    frmMain& w = start(m_photos.path());
    m_onDialog = [](QDialog&) { return 1; }; // the generation window reports "OK"
    w.cmdCreate_Click(1);
    auto* status = child<QStatusBar>("StatusBar1");
    ASSERT_FALSE(status->currentMessage().isEmpty());
    w.SetCoverPhoto(2);
    ASSERT_FALSE(w.coverPreview().isNull());

    QTemporaryDir empty;
    m_onDialog = nullptr;
    child<QLineEdit>("txtFolder")->setText(empty.path());
    w.cmdGetPicture_Click();
    tabs()->setCurrentIndex(2);
    EXPECT_TRUE(status->currentMessage().isEmpty());
    EXPECT_TRUE(w.coverPreview().isNull()); // not the other folder's photo
    EXPECT_EQ(w.coverNumber(), 0);
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

TEST_F(FrmMainTest, CreateFailureNamesTheSystemsReason)
{
    shipData();
    writePhotos(1);
    TestUtil::writeAll(m_photos.filePath("Lumivert"), "a file where the album folder should be");
    frmMain& w = start(m_photos.path());
    m_onDialog = [](QDialog& dialog) { return dialog.exec(); };
    w.cmdCreate_Click(1);
    // One message: what failed, where, and the system's reason; nothing is launched.
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].text.startsWith(QStringLiteral("Lumivertを作成できませんでした。")))
        << m_messages[0].text.toStdString();
    EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("理由: フォルダではありません")));
    EXPECT_TRUE(m_messages[0].text.contains(QDir::toNativeSeparators(m_photos.filePath("Lumivert"))));
    EXPECT_TRUE(m_launched.isEmpty());
    // A failed album is not confirmed as written.
    EXPECT_FALSE(child<QStatusBar>("StatusBar1")->currentMessage().contains(QStringLiteral("作成しました")));
}

TEST_F(FrmMainTest, AFolderThatCannotBeWrittenIsSaidOnceAndCreateGivesTheRealReason)
{
    shipData();
    writePhotos(2);
    ASSERT_TRUE(QFile::setPermissions(m_photos.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = QFile(m_photos.filePath("probe")).open(QIODevice::WriteOnly);
    if (!writable) {
        frmMain& w = start(m_photos.path());
        // Said once, when the folder is read.
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("アクセスが拒否されました")))
            << m_messages[0].text.toStdString();
        m_messages.clear();
        m_onDialog = [](QDialog& dialog) { return dialog.exec(); };
        w.cmdCreate_Click(1);
        // One message with the system's reason, nothing announced or opened.
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("理由: アクセスが拒否されました")))
            << m_messages[0].text.toStdString();
        EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("写真一覧ﾃﾞｰﾀを保存できませんでした")));
        EXPECT_FALSE(m_messages[0].text.contains(QStringLiteral("ありません")));
        EXPECT_TRUE(m_launched.isEmpty());
        EXPECT_TRUE(child<QStatusBar>("StatusBar1")->currentMessage().isEmpty());
    }
    QFile::remove(m_photos.filePath("probe"));
    QFile::setPermissions(m_photos.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (writable)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
}

TEST_F(FrmMainTest, CreateWithoutAFolderDoesNotWriteIntoTheRoot)
{
    frmMain& w = start();
    w.cmdCreate_Click(1);
    EXPECT_TRUE(m_dialogs.isEmpty());
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_launched.isEmpty());
}

TEST_F(FrmMainTest, Step3BeforeAnyListLeavesThePreviewEmpty)
{
    frmMain& w = start();
    tabs()->setCurrentIndex(2);
    child<QComboBox>("cboTopFilter")->setCurrentIndex(3);
    EXPECT_EQ(w.coverNumber(), 0);
    EXPECT_TRUE(w.coverPreview().isNull());
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
    // The colour is the options' own: set through the picker, not through CColor alone.
    CColor::instance().setColorIndex(1);
    EXPECT_EQ(w.albumOptions().colorName, QStringLiteral("navy"));
    m_onDialog = [](QDialog& dialog) {
        auto* picker = qobject_cast<frmColor16*>(&dialog);
        picker->grid()->setActiveCell(3, 2); // teal
        picker->cmdOK_Click();
        return 1;
    };
    w.cmdColor16_Click();
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

    // A folder without remembered options, or with a damaged file, leaves every Step3 value as the
    // user left it; only the cover becomes photo 1. The damaged file stays as it is.
    AlbumOptions kept = made;
    kept.coverNumber = 1;
    for (const char* content : {"", "Lumivert album options 1\ntitle=only a title\n"}) {
        SCOPED_TRACE(content);
        QFile::remove(remembered);
        if (*content)
            TestUtil::writeAll(remembered, content);
        child<QLineEdit>("txtTitle")->setText(QStringLiteral("手で変えた"));
        again.SetCoverPhoto(2);
        tabs()->setCurrentIndex(0);
        child<QAbstractButton>("cmdGetPicture")->click();
        kept.title = QStringLiteral("手で変えた");
        EXPECT_EQ(again.albumOptions(), kept);
        EXPECT_EQ(child<QAbstractButton>("cmdBackImage")->property("Tag").toString(), QStringLiteral("5"));
        EXPECT_EQ(QFile::exists(remembered), bool(*content));
        if (*content) {
            EXPECT_EQ(TestUtil::readAll(remembered), QByteArray(content));
        }
    }
}

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
    // The offer, then (the folder failing to open as well here) a word that it did not open.
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_messages[0].text.contains(album));
    EXPECT_TRUE(m_messages[1].text.contains(QStringLiteral("フォルダを開けませんでした")));
    ASSERT_EQ(m_launched.size(), 2);
    EXPECT_EQ(QDir::fromNativeSeparators(m_launched[1]), m_photos.filePath("Lumivert"));
}

TEST_F(FrmMainTest, WritingWaitsForAnotherRunOrIsCancelled)
{
    shipData();
    writePhotos(2);
    frmMain& w = start(m_photos.path());
    AlbumLock other(m_photos.path());
    ASSERT_EQ(other.tryLock(), AlbumLock::State::Held);
    // Cancelled while the other run writes: neither the list nor the album is written.
    int waits = 0;
    m_onDialog = [&](QDialog& dialog) {
        if (dialog.objectName() == QLatin1String("dlgAlbumLock")) {
            ++waits;
            return int(QDialog::Rejected);
        }
        return dialog.exec();
    };
    w.cmdCreate_Click(1);
    w.cmdSave_Click();
    EXPECT_EQ(waits, 2);
    EXPECT_FALSE(PhotoListFile::exists(m_photos.path()));
    EXPECT_FALSE(QDir(m_photos.filePath("Lumivert")).exists());
    EXPECT_TRUE(m_launched.isEmpty());

    // Waiting: the window goes on by itself once the other run is done.
    m_onDialog = [&](QDialog& dialog) {
        if (dialog.objectName() == QLatin1String("dlgAlbumLock")) {
            ++waits;
            QTimer::singleShot(300, [&other] { other.unlock(); });
        }
        return dialog.exec();
    };
    w.cmdCreate_Click(1);
    EXPECT_EQ(waits, 3);
    EXPECT_TRUE(PhotoListFile::exists(m_photos.path()));
    EXPECT_TRUE(QFile::exists(m_photos.filePath("Lumivert/page002.htm")));
    EXPECT_EQ(m_launched.size(), 1);
    EXPECT_FALSE(QFile::exists(AlbumLock::path(m_photos.path())));
}

} // namespace

// A style sheet and a background inside the photo folder (remembered from lumivert-cli) stay the
// album's in the window, the background shown; another folder without options does not take them.
TEST_F(FrmMainTest, AStyleSheetAndBackgroundInsideTheFolderStayThatFoldersOwn)
{
    shipData();
    writePhotos(2);
    const QString background = TestUtil::writeJpeg(m_photos.filePath("own.jpg"), 320, 240, std::nullopt, false, 7);
    const QString sheet = m_photos.filePath("own.css");
    ASSERT_TRUE(QFile::copy(m_program.filePath("basic.css"), sheet));
    AlbumOptions cli;
    cli.photoFolder = m_photos.path();
    cli.programFolder = m_program.path();
    cli.background = true;
    cli.backgroundFile = background;
    cli.themeFile = sheet;
    ASSERT_TRUE(AlbumOptionsFile::save(cli));

    frmMain& w = start(m_photos.path());
    AlbumOptions o = w.albumOptions();
    EXPECT_TRUE(o.background);
    EXPECT_EQ(QFileInfo(o.backgroundFile).canonicalFilePath(), QFileInfo(background).canonicalFilePath());
    EXPECT_EQ(QFileInfo(o.themeFile).canonicalFilePath(), QFileInfo(sheet).canonicalFilePath());
    EXPECT_EQ(w.backgroundPreview().size(), QSize(320, 240));

    QTemporaryDir other;
    TestUtil::writeJpeg(QDir(other.path()).filePath("q.jpg"), 160, 120, std::nullopt, false, 9);
    tabs()->setCurrentIndex(0);
    child<QLineEdit>("txtFolder")->setText(other.path());
    child<QAbstractButton>("cmdGetPicture")->click();
    o = w.albumOptions();
    EXPECT_FALSE(o.background);
    EXPECT_FALSE(o.backgroundFile.startsWith(m_photos.path())) << o.backgroundFile.toStdString();
    EXPECT_EQ(o.themeFile, QStringLiteral("basic.css"));
}
