// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/testutil.h"
#include "generate/widgets/frmcreatealbum.h"

class FrmCreateAlbumTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QVector<PhotoRow> rows;
    AlbumOptions options;

    void SetUp() override
    {
        for (int i = 1; i <= 3; ++i) {
            PhotoRow row;
            row.pathName = TestUtil::writeJpeg(dir.filePath(QStringLiteral("P%1.jpg").arg(i)), 640, 480);
            row.fileName = QStringLiteral("P%1.jpg").arg(i);
            rows << row;
        }
        options.photoFolder = dir.path();
        options.programFolder = TestUtil::binDir();
        options.themeFile = "basic.css";
        options.coverNumber = 1;
    }
    QString album(const QString& name) const { return QDir(dir.filePath("Lumivert")).filePath(name); }
};

TEST_F(FrmCreateAlbumTest, ControlsAndCaptions)
{
    frmCreateAlbum form(options, rows);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Lumivert作成"));
    auto* label = form.findChild<QLabel*>("lblMessage");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("処理中です。しばらくお待ちください。"));
    ASSERT_TRUE(form.findChild<QProgressBar*>("ProgressBar1"));
    auto* cancel = form.findChild<QPushButton*>("cmdCancel");
    ASSERT_TRUE(cancel);
    EXPECT_EQ(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
    EXPECT_EQ(form.UserTag(), "OK");
    form.setUserMode(2);
    EXPECT_EQ(form.UserMode(), 2);
    form.setUserMode(3); // ignored
    EXPECT_EQ(form.UserMode(), 2);
}

TEST_F(FrmCreateAlbumTest, RunsTheJobWhenShownAndClosesItself)
{
    frmCreateAlbum form(options, rows);
    form.setUserMode(1);
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 30000));
    EXPECT_EQ(form.UserTag(), "OK");
    EXPECT_FALSE(form.result().cancelled);
    EXPECT_TRUE(form.result().failedPages.isEmpty());
    for (const char* name : {"top.htm", "index.htm", "page003.htm", "page003.jpg", "index001.jpg", "top.jpg"})
        EXPECT_TRUE(QFile::exists(album(name))) << name;
}

TEST_F(FrmCreateAlbumTest, CancelSetsTheTagAtOnceAndPagesAreStillWritten)
{
    frmCreateAlbum form(options, rows);
    form.show();
    auto* cancel = form.findChild<QPushButton*>("cmdCancel");
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(form.UserTag(), QStringLiteral("ｷｬﾝｾﾙ"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 30000));
    EXPECT_EQ(form.UserTag(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_TRUE(form.result().cancelled);
    EXPECT_TRUE(QFile::exists(album("top.htm")));
    EXPECT_TRUE(QFile::exists(album("page003.htm")));
}
