// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/testutil.h"
#include "components/widgets/picturegrid.h"
#include "design/backgroundlist.h"
#include "design/widgets/dialogsupport.h"
#include "design/widgets/frmselectbackimage.h"

namespace
{

class frmSelectBackImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DialogSupport::setInformationHook([this](QWidget*, const QString& title, const QString& text) {
            m_messages.push_back({title, text});
        });
        m_folder = BackgroundList::imageFolder(m_dir.path());
        QDir().mkpath(m_folder);
    }
    void TearDown() override { DialogSupport::setInformationHook({}); }

    void images(int n)
    {
        for (int k = 1; k <= n; ++k)
            TestUtil::writeJpeg(m_folder + QStringLiteral("/back%1.jpg").arg(k, 2, 10, QLatin1Char('0')), 40 + k, 30,
                                std::nullopt, false, k);
    }
    static void press(QWidget* dialog, const char* name)
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }

    QTemporaryDir m_dir;
    QString m_folder;
    std::vector<std::pair<QString, QString>> m_messages;
};

TEST_F(frmSelectBackImageTest, CaptionsAndColumns)
{
    images(1);
    frmSelectBackImage chooser(m_folder);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Lumivert背景画像"));
    EXPECT_EQ(chooser.findChild<QLabel*>(QStringLiteral("lblCaption"))->text(),
              QStringLiteral("■ Lumivertの背景画像を選んでください。"));
    EXPECT_EQ(chooser.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK(&O)"));
    EXPECT_EQ(chooser.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
    PictureGrid* grid = chooser.findChild<PictureGrid*>(QStringLiteral("vaSpread1"));
    ASSERT_EQ(grid, chooser.grid());
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->columnWidth(0), 2000 / 15);
    EXPECT_EQ(grid->columnWidth(1), 1995 / 15);
    EXPECT_EQ(grid->columnWidth(2), 1995 / 15);
    EXPECT_TRUE(chooser.UserTag().isEmpty());
}

TEST_F(frmSelectBackImageTest, SevenImagesFillThreeRows)
{
    images(7);
    frmSelectBackImage chooser(m_folder);
    EXPECT_EQ(chooser.RecMax(), 7);
    EXPECT_EQ(chooser.Record().Count(), 7);
    EXPECT_EQ(chooser.UserIndex(), 1);
    EXPECT_EQ(chooser.grid()->rowCount(), 3);
    EXPECT_EQ(chooser.grid()->activeRow(), 1);
    EXPECT_EQ(chooser.grid()->activeColumn(), 1);
    for (int k = 1; k <= 7; ++k) {
        SCOPED_TRACE(k);
        const QImage picture = chooser.pictureAt((k - 1) % 3 + 1, (k - 1) / 3 + 1);
        EXPECT_EQ(picture.size(), QSize(40 + k, 30)); // the image itself, not a reduced copy
        EXPECT_EQ(picture, chooser.images().picture(k));
    }
    EXPECT_TRUE(chooser.pictureAt(2, 3).isNull());
    EXPECT_TRUE(chooser.pictureAt(3, 3).isNull());
    EXPECT_EQ(chooser.activePicture(), chooser.images().picture(1));
}

TEST_F(frmSelectBackImageTest, EmptyCellOfRow3ShowsTheMessageAndKeepsTheChoice)
{
    images(7);
    frmSelectBackImage chooser(m_folder);
    chooser.show();
    chooser.grid()->setActiveCell(2, 3);
    press(&chooser, "cmdOK");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].first, QStringLiteral("Lumivert背景画像"));
    EXPECT_EQ(m_messages[0].second, QStringLiteral("背景画像が選択されていません。"));
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.UserIndex(), 1);
    EXPECT_TRUE(chooser.UserTag().isEmpty());
}

TEST_F(frmSelectBackImageTest, Row2Column1Gives4AndTheChooserIsOnlyHidden)
{
    images(7);
    frmSelectBackImage chooser(m_folder);
    QPointer<frmSelectBackImage> alive(&chooser);
    chooser.setUserIndex(1);
    chooser.show();
    chooser.grid()->setActiveCell(1, 2);
    press(&chooser, "cmdOK");
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("OK"));
    EXPECT_EQ(chooser.UserIndex(), 4);
    EXPECT_EQ(chooser.activePicture(), chooser.images().picture(4));
    EXPECT_EQ(chooser.images().pathName(4), chooser.Record().Item(4)->PathName);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(alive);
}

TEST_F(frmSelectBackImageTest, ClickedThenCancelledKeepsUserIndexButTheCellNextTime)
{
    images(7);
    frmSelectBackImage chooser(m_folder);
    chooser.setUserIndex(1);
    chooser.show();
    chooser.grid()->setActiveCell(3, 2); // image 6
    press(&chooser, "cmdCancel");
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(chooser.UserIndex(), 1);

    // Shown again: the active cell is where the user left it, not moved to UserIndex.
    chooser.setUserIndex(1);
    chooser.show();
    EXPECT_EQ(chooser.grid()->activeRow(), 2);
    EXPECT_EQ(chooser.grid()->activeColumn(), 3);
    press(&chooser, "cmdOK");
    EXPECT_EQ(chooser.UserIndex(), 6);
    EXPECT_EQ(chooser.activePicture(), chooser.images().picture(6));
}

TEST_F(frmSelectBackImageTest, CloseBoxAfterAnEarlierOkCountsAsCancel)
{
    images(7);
    frmSelectBackImage chooser(m_folder);
    chooser.show();
    chooser.grid()->setActiveCell(2, 1);
    press(&chooser, "cmdOK");
    ASSERT_EQ(chooser.UserTag(), QStringLiteral("OK"));
    ASSERT_EQ(chooser.UserIndex(), 2);

    chooser.setUserIndex(2);
    chooser.show();
    chooser.grid()->setActiveCell(1, 3);
    chooser.close();
    // A stale "OK" here would make the caller take the active cell's picture (7) while UserIndex
    // still says 2.
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(chooser.UserIndex(), 2);
    EXPECT_FALSE(chooser.isVisible());

    chooser.show();
    QTest::keyClick(&chooser, Qt::Key_Escape);
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(chooser.UserIndex(), 2);
}

TEST_F(frmSelectBackImageTest, DoubleClickConfirms)
{
    images(5);
    frmSelectBackImage chooser(m_folder);
    chooser.show();
    PictureGrid* grid = chooser.grid();
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    // A click first, as a user's double click starts: it also keeps an earlier test's click from
    // pairing with this one.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("OK"));
    EXPECT_EQ(chooser.UserIndex(), 5);
}

TEST_F(frmSelectBackImageTest, NoImagesGiveAnEmptyGridAndOkAlwaysShowsTheMessage)
{
    frmSelectBackImage chooser(m_dir.filePath(QStringLiteral("missing")));
    EXPECT_EQ(chooser.RecMax(), 0);
    EXPECT_EQ(chooser.UserIndex(), 1);
    EXPECT_EQ(chooser.grid()->rowCount(), 0);
    chooser.show();
    press(&chooser, "cmdOK");
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_TRUE(chooser.activePicture().isNull());
}

TEST_F(frmSelectBackImageTest, ImageThatDoesNotDecodeLeavesItsCellEmptyButChoosable)
{
    images(2);
    TestUtil::writeAll(m_folder + QStringLiteral("/back03.jpg"), "broken");
    frmSelectBackImage chooser(m_folder);
    ASSERT_EQ(chooser.RecMax(), 3);
    EXPECT_TRUE(chooser.pictureAt(3, 1).isNull());
    chooser.show();
    chooser.grid()->setActiveCell(3, 1);
    press(&chooser, "cmdOK");
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("OK"));
    EXPECT_EQ(chooser.UserIndex(), 3);
}

} // namespace
