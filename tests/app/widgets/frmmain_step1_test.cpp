// SPDX-License-Identifier: MIT
// The main window's first page: the photo folder, and reading its photos or its list file.
#include "frmmaintest.h"

namespace
{

using namespace FrmMainTesting;

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

TEST_F(FrmMainTest, ALoadedListTakesInNewPhotosAndTheUserRemovesOrKeepsVanishedOnes)
{
    writePhotos(3);
    {
        frmMain& w = start(m_photos.path());
        PhotoRow first = w.photoList().photoAt(1);
        first.caption = QStringLiteral("kept caption");
        w.photoList().setPhotoAt(1, first);
        PhotoRow third = w.photoList().photoAt(3);
        third.rotation = 3;
        w.photoList().setPhotoAt(3, third);
        w.cmdSave_Click();
        ASSERT_TRUE(PhotoListFile::exists(m_photos.path()));
    }
    ASSERT_TRUE(QFile::remove(m_photos.filePath("p2.jpg")));
    TestUtil::writeJpeg(m_photos.filePath("p4.jpg"), 160, 120, std::nullopt, false, 4);
    TestUtil::writeJpeg(m_photos.filePath("p5.jpg"), 160, 120, std::nullopt, false, 5);

    const struct {
        QMessageBox::StandardButton answer;
        QStringList rows;
    } choices[] = {
        {QMessageBox::No, {"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"}},
        {QMessageBox::Yes, {"p1.jpg", "p3.jpg", "p4.jpg", "p5.jpg"}},
    };
    for (const auto& choice : choices) {
        SCOPED_TRACE(choice.answer == QMessageBox::Yes ? "remove" : "keep");
        m_messages.clear();
        m_answer = choice.answer;
        frmMain& w = start(m_photos.path());
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].text.contains("p4.jpg, p5.jpg")) << m_messages[0].text.toStdString();
        EXPECT_TRUE(m_messages[0].text.contains("p2.jpg"));
        EXPECT_EQ(m_messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QStringList rows;
        for (int r = 1; r <= w.photoList().photoCount(); ++r)
            rows << w.photoList().cellText(r, PhotoColumn::FileName);
        EXPECT_EQ(rows, choice.rows);
        EXPECT_EQ(w.photoList().cellText(1, PhotoColumn::Caption), "kept caption");
        EXPECT_EQ(w.photoList().photoAt(int(rows.indexOf("p3.jpg")) + 1).rotation, 3);
        EXPECT_FALSE(w.photoList().photoAt(int(rows.indexOf("p5.jpg")) + 1).image.isNull());
        // The news is not in the list file yet: closing asks about it.
        EXPECT_TRUE(w.photoList().hasUnsavedChanges());
    }
}

} // namespace
