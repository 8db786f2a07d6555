// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "catalogue/widgets/frmgetpicture.h"
#include "components/photolistmodel.h"
#include "common/testutil.h"

namespace
{

class frmGetPictureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 1; i <= 4; ++i)
            TestUtil::writeJpeg(m_dir.filePath(QStringLiteral("%1.jpg").arg(i)), 64, 48, std::nullopt, false, i);
    }
    QTemporaryDir m_dir;
};

// Sees the window at the moment it is shown, when the owner has been disabled for it.
class ShowWatcher : public QObject
{
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show && object->objectName() == QLatin1String("frmGetPicture")) {
            auto* dialog = static_cast<QWidget*>(object);
            seen = true;
            dialogEnabled = dialog->isEnabled();
            cancelEnabled = dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isEnabled();
            ownerEnabled = dialog->parentWidget() && dialog->parentWidget()->isEnabled();
            busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            modal = dialog->isModal();
        }
        return false;
    }
    bool seen = false, dialogEnabled = false, cancelEnabled = false, ownerEnabled = true, busyCursor = false,
         modal = false;
};

TEST_F(frmGetPictureTest, ShowsItsDesignAndFillsTheModel)
{
    PhotoListModel model;
    PhotoRow stale;
    stale.fileName = QStringLiteral("stale.jpg");
    model.setRows({stale, stale, stale, stale, stale, stale});
    frmGetPicture dialog(m_dir.path(), &model);
    EXPECT_EQ(dialog.windowTitle(), "写真一覧の取得");
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("lblMessage"));
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    ASSERT_TRUE(label && bar && cancel);
    EXPECT_EQ(label->text(), "処理中です。しばらくお待ちください。");
    EXPECT_EQ(cancel->text(), "ｷｬﾝｾﾙ(&C)");
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);

    QStringList texts;
    QList<int> values;
    QObject::connect(&dialog, &frmGetPicture::progressed, [&](int, int) {
        texts << label->text();
        values << bar->value();
    });
    dialog.exec();
    ASSERT_EQ(model.photoCount(), 4);
    for (int r = 1; r <= 4; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(model.cellText(r, PhotoColumn::FileName), QStringLiteral("%1.jpg").arg(r));
        EXPECT_EQ(model.cellPicture(r, PhotoColumn::Picture).size(), QSize(120, 90));
    }
    EXPECT_EQ(texts, (QStringList{"しばらくお待ちください。1/4...", "しばらくお待ちください。2/4...",
                                  "しばらくお待ちください。3/4...", "しばらくお待ちください。4/4..."}));
    EXPECT_EQ(values, (QList<int>{25, 50, 75, 100}));
    EXPECT_FALSE(dialog.result().cancelled);
    EXPECT_EQ(dialog.result().rows.size(), 4);
}

TEST_F(frmGetPictureTest, CancelFromProgressEmptiesTheModel)
{
    for (int at : {1, 3}) {
        SCOPED_TRACE(at);
        PhotoListModel model;
        model.setRows({PhotoRow{}, PhotoRow{}});
        frmGetPicture dialog(m_dir.path(), &model);
        auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        QObject::connect(&dialog, &frmGetPicture::progressed, [&](int i, int) {
            if (i == at)
                cancel->click();
        });
        dialog.exec();
        EXPECT_TRUE(dialog.cancelRequested());
        EXPECT_TRUE(dialog.result().cancelled);
        EXPECT_EQ(model.photoCount(), 0);
    }
}

TEST_F(frmGetPictureTest, EscapeAndTheCloseBoxCancelToo)
{
    PhotoListModel model;
    frmGetPicture dialog(m_dir.path(), &model);
    QObject::connect(&dialog, &frmGetPicture::progressed, [&](int i, int) {
        if (i == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        if (i == 2)
            dialog.close();
    });
    dialog.exec();
    EXPECT_TRUE(dialog.result().cancelled);
    EXPECT_EQ(model.photoCount(), 0);
}

TEST_F(frmGetPictureTest, RunImportDisablesTheOwnerAndShowsTheBusyCursor)
{
    QWidget owner;
    owner.show();
    PhotoListModel model;
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    EXPECT_FALSE(frmGetPicture::importFolder(&owner, m_dir.path(), &model).cancelled);
    EXPECT_EQ(model.photoCount(), 4);
    qApp->removeEventFilter(&watcher);
    ASSERT_TRUE(watcher.seen);
    EXPECT_FALSE(watcher.ownerEnabled);
    EXPECT_TRUE(watcher.dialogEnabled);
    EXPECT_TRUE(watcher.cancelEnabled);
    EXPECT_TRUE(watcher.busyCursor);
    EXPECT_TRUE(watcher.modal);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(owner.findChildren<QDialog*>().size(), 0) << "the window is gone once the import ends";
}

TEST_F(frmGetPictureTest, AFolderWithoutPhotosGivesAnEmptyList)
{
    QTemporaryDir empty;
    PhotoListModel model;
    model.setRows({PhotoRow{}});
    EXPECT_FALSE(frmGetPicture::importFolder(nullptr, empty.filePath(QStringLiteral("missing")), &model).cancelled);
    EXPECT_EQ(model.photoCount(), 0);
    model.setRows({PhotoRow{}});
    EXPECT_FALSE(frmGetPicture::importFolder(nullptr, empty.path(), &model).cancelled);
    EXPECT_EQ(model.photoCount(), 0);

    // A cancelled import is told apart from a folder without photos, for the caller to undo it.
    class CancelOnShow : public QObject
    {
    public:
        bool eventFilter(QObject* object, QEvent* event) override
        {
            if (event->type() == QEvent::Show && object->objectName() == QLatin1String("frmGetPicture"))
                QMetaObject::invokeMethod(object, "reject", Qt::QueuedConnection);
            return false;
        }
    } canceller;
    qApp->installEventFilter(&canceller);
    EXPECT_TRUE(frmGetPicture::importFolder(nullptr, m_dir.path(), &model).cancelled);
    qApp->removeEventFilter(&canceller);
    EXPECT_EQ(model.photoCount(), 0);
}

} // namespace
