// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/widgets/folderlist.h"
#include "app/widgets/frmselectfolder.h"

namespace
{

class frmSelectFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = QDir::cleanPath(m_dir.path());
        for (const char* sub : {"program", "photos/2026/summer", "photos/Beach", "photos/alps"})
            QDir().mkpath(m_root + QLatin1Char('/') + QLatin1String(sub));
        m_program = m_root + QStringLiteral("/program");
    }
    static FolderList* list(QWidget* d) { return d->findChild<FolderList*>(QStringLiteral("dirFolder")); }
    static void press(QWidget* d, const char* name)
    {
        QTest::mouseClick(d->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    static int lineOf(FolderList* l, const QString& path)
    {
        for (int i = 0; i < l->count(); ++i)
            if (FolderList::linePath(l->item(i)) == path)
                return i;
        return -1;
    }

    QTemporaryDir m_dir;
    QString m_root;
    QString m_program;
};

TEST_F(frmSelectFolderTest, Captions)
{
    frmSelectFolder dialog(m_program);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("フォルダの選択"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblMemo"))->text(),
              QStringLiteral("フォルダを選択してください"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdOk"))->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
    ASSERT_NE(dialog.findChild<QComboBox*>(QStringLiteral("drvDrive")), nullptr);
    ASSERT_NE(dialog.findChild<QStatusBar*>(QStringLiteral("StatusBar1")), nullptr);
    EXPECT_GE(dialog.findChild<QComboBox*>(QStringLiteral("drvDrive"))->count(), 1);
}

TEST_F(frmSelectFolderTest, EmptyFolderNameOpensTheProgramFolder)
{
    frmSelectFolder dialog(m_program);
    dialog.setFolderName(QString());
    dialog.setUsrTag(QString());
    dialog.show();
    EXPECT_EQ(list(&dialog)->path(), m_program);
    EXPECT_EQ(dialog.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage(),
              QDir::toNativeSeparators(m_program));
    press(&dialog, "cmdOk");
    EXPECT_EQ(dialog.UsrTag(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.FolderName(), QDir::toNativeSeparators(m_program));
}

TEST_F(frmSelectFolderTest, ListShowsTheChainThenTheSubfoldersInNameOrder)
{
    frmSelectFolder dialog(m_program);
    dialog.setFolderName(m_root + QStringLiteral("/photos"));
    dialog.show();
    FolderList* l = list(&dialog);
    ASSERT_EQ(l->path(), m_root + QStringLiteral("/photos"));
    const int current = lineOf(l, m_root + QStringLiteral("/photos"));
    ASSERT_GE(current, 1);
    EXPECT_EQ(FolderList::linePath(l->item(0)), QDir::rootPath());
    EXPECT_EQ(l->currentRow(), current);
    QStringList after;
    for (int i = current + 1; i < l->count(); ++i)
        after << QFileInfo(FolderList::linePath(l->item(i))).fileName();
    EXPECT_EQ(after, (QStringList{"2026", "alps", "Beach"}));
}

TEST_F(frmSelectFolderTest, OkReturnsTheOpenedFolderNotTheHighlightedOne)
{
    frmSelectFolder dialog(m_program);
    dialog.setFolderName(QDir::toNativeSeparators(m_root + QStringLiteral("/photos")));
    dialog.show();
    FolderList* l = list(&dialog);
    // Highlight a subfolder without opening it.
    l->setCurrentRow(lineOf(l, m_root + QStringLiteral("/photos/alps")));
    press(&dialog, "cmdOk");
    EXPECT_EQ(dialog.FolderName(), QDir::toNativeSeparators(m_root + QStringLiteral("/photos")));
}

TEST_F(frmSelectFolderTest, DoubleClickAndEnterOpen)
{
    frmSelectFolder dialog(m_program);
    dialog.setFolderName(m_root + QStringLiteral("/photos"));
    dialog.show();
    FolderList* l = list(&dialog);
    const QRect line = l->visualItemRect(l->item(lineOf(l, m_root + QStringLiteral("/photos/2026"))));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_EQ(l->path(), m_root + QStringLiteral("/photos")); // a single click only highlights
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, line.center());
    ASSERT_EQ(l->path(), m_root + QStringLiteral("/photos/2026"));
    l->setFocus();
    l->setCurrentRow(lineOf(l, m_root + QStringLiteral("/photos/2026/summer")));
    QTest::keyClick(l, Qt::Key_Return);
    EXPECT_EQ(l->path(), m_root + QStringLiteral("/photos/2026/summer"));
    EXPECT_TRUE(dialog.isVisible()); // Enter opened the folder and did not press OK
    // Opening an upper line of the chain goes back up.
    l->openLine(lineOf(l, m_root + QStringLiteral("/photos")));
    EXPECT_EQ(l->path(), m_root + QStringLiteral("/photos"));
    EXPECT_EQ(dialog.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage(),
              QDir::toNativeSeparators(m_root + QStringLiteral("/photos")));
    press(&dialog, "cmdOk");
    EXPECT_EQ(dialog.FolderName(), QDir::toNativeSeparators(m_root + QStringLiteral("/photos")));
}

TEST_F(frmSelectFolderTest, CancelAndCloseBoxKeepFolderName)
{
    const QString start = QDir::toNativeSeparators(m_root + QStringLiteral("/photos"));
    {
        frmSelectFolder dialog(m_program);
        dialog.setFolderName(start);
        dialog.show();
        list(&dialog)->setPath(m_root + QStringLiteral("/photos/alps"));
        press(&dialog, "cmdCancel");
        EXPECT_EQ(dialog.UsrTag(), QStringLiteral("ｷｬﾝｾﾙ"));
        EXPECT_EQ(dialog.FolderName(), start);
    }
    {
        frmSelectFolder dialog(m_program);
        dialog.setFolderName(start);
        dialog.setUsrTag(QString());
        dialog.show();
        list(&dialog)->setPath(m_root + QStringLiteral("/photos/alps"));
        dialog.close();
        EXPECT_TRUE(dialog.UsrTag().isEmpty());
        EXPECT_EQ(dialog.FolderName(), start);
    }
}

TEST_F(frmSelectFolderTest, MissingStartFolderOpensOnItsDriveRule)
{
    frmSelectFolder dialog(m_program);
    dialog.setFolderName(m_root + QStringLiteral("/no/such/folder"));
    dialog.show();
    // The drive holding the missing folder also holds the program: the list is on the program's folder.
    ASSERT_EQ(dialog.driveOf(m_root), dialog.driveOf(m_program));
    EXPECT_EQ(list(&dialog)->path(), m_program);
}

TEST_F(frmSelectFolderTest, ChoosingTheProgramsDriveJumpsToTheProgramFolder)
{
    frmSelectFolder dialog(m_program);
    dialog.setFolderName(m_root + QStringLiteral("/photos/alps"));
    dialog.show();
    auto* drives = dialog.findChild<QComboBox*>(QStringLiteral("drvDrive"));
    const int drive = dialog.driveOf(m_program);
    ASSERT_GE(drive, 0);
    EXPECT_EQ(drives->currentIndex(), dialog.driveOf(m_root + QStringLiteral("/photos/alps")));
    if (drives->count() > 1) {
        drives->setCurrentIndex(drive == 0 ? 1 : 0);
        drives->setCurrentIndex(drive);
    } else {
        // With a single drive, choosing it again runs the same rule.
        QMetaObject::invokeMethod(drives, "currentIndexChanged", Q_ARG(int, drive));
    }
    EXPECT_EQ(list(&dialog)->path(), m_program);
}

TEST_F(frmSelectFolderTest, DriveOfPicksTheLongestRoot)
{
    frmSelectFolder dialog(m_program);
    const QStringList roots = dialog.driveRoots();
    ASSERT_FALSE(roots.isEmpty());
    EXPECT_EQ(roots.at(dialog.driveOf(QDir::rootPath())), QDir::rootPath());
    for (const QString& root : roots) {
        SCOPED_TRACE(root.toStdString());
        const int d = dialog.driveOf(root);
        ASSERT_GE(d, 0);
        EXPECT_EQ(roots.at(d), root);
    }
}

TEST(frmSelectFolderLayout, TwipRules)
{
    // 240 margin, 360 gap, 240 margin around a 1215-wide button; the folder list ends 120 above the
    // status bar and starts 60 below the drive list.
    const frmSelectFolder::Layout l = frmSelectFolder::layoutTwips(6360, 5640, 1215, 300, 300, 600);
    EXPECT_EQ(l.listWidth, 6360 - (1215 + 240 + 360 + 240));
    EXPECT_EQ(l.folderListHeight, 5640 - (300 + (300 + 600 + 60) + 120));
    EXPECT_EQ(l.buttonLeft, 6360 - (1215 + 240));
    for (auto [w, h] : {std::pair{0, 0}, {100, 100}, {2055, 1380}, {-50, -50}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        const frmSelectFolder::Layout tiny = frmSelectFolder::layoutTwips(w, h, 1215, 300, 300, 600);
        EXPECT_EQ(tiny.listWidth, 1);
        EXPECT_EQ(tiny.folderListHeight, 1);
    }
    EXPECT_EQ(frmSelectFolder::layoutTwips(2056, 1381, 1215, 300, 300, 600).listWidth, 1);
    EXPECT_EQ(frmSelectFolder::layoutTwips(2057, 1382, 1215, 300, 300, 600).listWidth, 2);
    EXPECT_EQ(frmSelectFolder::layoutTwips(2057, 1382, 1215, 300, 300, 600).folderListHeight, 2);
}

TEST_F(frmSelectFolderTest, ResizingKeepsTheListsAtLeastOnePixel)
{
    frmSelectFolder dialog(m_program);
    dialog.show();
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOk"));
    dialog.resize(600, 500);
    FolderList* l = list(&dialog);
    EXPECT_EQ(l->x() + l->width() + 360 / 15 + ok->width() + 240 / 15, 600);
    EXPECT_EQ(ok->x() + ok->width() + 240 / 15, 600);
    dialog.resize(10, 10);
    EXPECT_GE(l->width(), 1);
    EXPECT_GE(l->height(), 1);
    EXPECT_GE(dialog.findChild<QComboBox*>(QStringLiteral("drvDrive"))->width(), 1);
}

} // namespace
