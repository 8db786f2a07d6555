// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "common/testutil.h"
#include "components/photolistmodel.h"
#include "components/widgets/picturegrid.h"
#include "design/widgets/dialogsupport.h"
#include "design/widgets/frmselecttopimage.h"

namespace
{

struct Message {
    QString title, text;
};

class frmSelectTopImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DialogSupport::setInformationHook([this](QWidget*, const QString& title, const QString& text) {
            m_messages.push_back({title, text});
        });
    }
    void TearDown() override { DialogSupport::setInformationHook({}); }

    void fill(int n)
    {
        m_photos.setPhotoCount(n);
        for (int p = 1; p <= n; ++p)
            m_photos.setCellPicture(p, PhotoColumn::Picture, TestUtil::samplePicture(120, 90, p));
    }
    static void press(QWidget* dialog, const char* name)
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }

    PhotoListModel m_photos;
    std::vector<Message> m_messages;
};

TEST_F(frmSelectTopImageTest, Captions)
{
    frmSelectTopImage chooser(m_photos);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Lumivert表紙"));
    EXPECT_EQ(chooser.findChild<QLabel*>(QStringLiteral("lblCaption"))->text(),
              QStringLiteral("■ Lumivert表紙の写真を選んでください。"));
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdOK", "OK(&O)"}, {"cmdCancel", "ｷｬﾝｾﾙ(&C)"}, {"cmdHelp", "ﾍﾙﾌﾟ(&H)"}};
    for (const auto& [name, text] : buttons) {
        auto* b = chooser.findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(text));
    }
    EXPECT_TRUE(chooser.UserTag().isEmpty());
}

TEST_F(frmSelectTopImageTest, NinePhotosGiveTwoRowsAndThePreselectedCover)
{
    fill(9);
    frmSelectTopImage chooser(m_photos);
    chooser.setUserIndex(9);
    PictureGrid* grid = chooser.findChild<PictureGrid*>(QStringLiteral("vaSpread1"));
    ASSERT_EQ(grid, chooser.grid());
    EXPECT_EQ(grid->columnCount(), 7);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->activeRow(), 2);
    EXPECT_EQ(grid->activeColumn(), 2);
    for (int p = 1; p <= 9; ++p)
        EXPECT_EQ(grid->cellPicture((p - 1) % 7 + 1, (p - 1) / 7 + 1), m_photos.cellPicture(p, PhotoColumn::Picture));
    for (int c = 3; c <= 7; ++c)
        EXPECT_TRUE(grid->cellPicture(c, 2).isNull());
}

TEST_F(frmSelectTopImageTest, OkReturnsTheChosenPhoto)
{
    fill(9);
    frmSelectTopImage chooser(m_photos);
    chooser.setUserIndex(1);
    chooser.show();
    chooser.grid()->setActiveCell(2, 2);
    press(&chooser, "cmdOK");
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("OK"));
    EXPECT_EQ(chooser.UserIndex(), 9);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(chooser.isVisible());
}

TEST_F(frmSelectTopImageTest, EmptyCellShowsTheMessageAndStaysOpen)
{
    fill(9);
    frmSelectTopImage chooser(m_photos);
    chooser.setUserIndex(4);
    chooser.show();
    for (int column = 3; column <= 7; ++column) {
        SCOPED_TRACE(column);
        m_messages.clear();
        chooser.grid()->setActiveCell(column, 2);
        press(&chooser, "cmdOK");
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].text, QStringLiteral("写真が選択されていません。"));
        EXPECT_EQ(m_messages[0].title, QStringLiteral("Lumivert表紙"));
        EXPECT_TRUE(chooser.isVisible());
        EXPECT_TRUE(chooser.UserTag().isEmpty());
        EXPECT_EQ(chooser.UserIndex(), 4);
    }
}

TEST_F(frmSelectTopImageTest, NoPhotosGiveAnEmptyGridAndOkShowsTheMessage)
{
    frmSelectTopImage chooser(m_photos);
    chooser.setUserIndex(0);
    chooser.show();
    EXPECT_EQ(chooser.grid()->rowCount(), 0);
    EXPECT_EQ(chooser.grid()->activeRow(), 0);
    press(&chooser, "cmdOK");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_NE(chooser.UserTag(), QStringLiteral("OK"));
}

TEST_F(frmSelectTopImageTest, UserIndexOutsideTheListSelectsNoCell)
{
    fill(3);
    for (int index : {0, 4, -1, 100}) {
        SCOPED_TRACE(index);
        frmSelectTopImage chooser(m_photos);
        chooser.setUserIndex(index);
        EXPECT_EQ(chooser.grid()->activeRow(), 0);
        EXPECT_EQ(chooser.grid()->activeColumn(), 0);
        EXPECT_EQ(chooser.UserIndex(), index);
    }
}

TEST_F(frmSelectTopImageTest, CancelAndCloseBoxLeaveTheCover)
{
    fill(9);
    {
        frmSelectTopImage chooser(m_photos);
        chooser.setUserIndex(5);
        chooser.show();
        chooser.grid()->setActiveCell(1, 1);
        press(&chooser, "cmdCancel");
        EXPECT_EQ(chooser.UserTag(), QStringLiteral("ｷｬﾝｾﾙ"));
        EXPECT_EQ(chooser.UserIndex(), 5);
    }
    {
        frmSelectTopImage chooser(m_photos);
        chooser.setUserIndex(5);
        chooser.show();
        chooser.grid()->setActiveCell(1, 1);
        chooser.close();
        EXPECT_TRUE(chooser.UserTag().isEmpty());
        EXPECT_EQ(chooser.UserIndex(), 5);
    }
    {
        frmSelectTopImage chooser(m_photos);
        chooser.setUserIndex(5);
        chooser.show();
        press(&chooser, "cmdHelp"); // no action
        EXPECT_TRUE(chooser.isVisible());
        EXPECT_TRUE(chooser.UserTag().isEmpty());
    }
}

TEST_F(frmSelectTopImageTest, DoubleClickActsAsOk)
{
    fill(9);
    frmSelectTopImage chooser(m_photos);
    chooser.setUserIndex(1);
    chooser.show();
    PictureGrid* grid = chooser.grid();
    const QRect cell = grid->visualRect(grid->model()->index(0, 6));
    // A click first, as a user's double click starts: it also keeps an earlier test's click from
    // pairing with this one.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(chooser.UserTag(), QStringLiteral("OK"));
    EXPECT_EQ(chooser.UserIndex(), 7);
}

} // namespace
