// SPDX-License-Identifier: MIT
// The windows for people who do not read Japanese and for keyboard users: the English translation
// covers every caption, its mnemonics do not clash, the tab order follows the pages and the
// commands are reachable from the keyboard.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>
#include <set>

#include "app/widgets/frmabout.h"
#include "app/widgets/frmmain.h"
#include "app/widgets/frmselectfolder.h"
#include "app/widgets/frmmaintest.h"
#include "catalogue/photoimport.h"
#include "catalogue/widgets/frmgetpicture.h"
#include "common/testutil.h"
#include "components/photolistmodel.h"
#include "components/widgets/photogridview.h"
#include "design/ccolor.h"
#include "design/widgets/frmcolor16.h"
#include "design/widgets/frmselectbackimage.h"
#include "design/widgets/frmselecttopimage.h"
#include "generate/widgets/frmcreatealbum.h"

namespace
{

QString qmFile()
{
    return QDir(TestUtil::binDir()).filePath(QStringLiteral("translations/lumivert_en.qm"));
}

bool hasJapanese(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9fff) || (u >= 0xff00 && u <= 0xffef))
            return true;
    }
    return false;
}

// Every text a person reads on a window: captions, tooltips, titles, list entries, column titles.
QStringList shownTexts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        const QString where = w->objectName() + QStringLiteral(": ");
        if (!w->toolTip().isEmpty())
            texts << where + w->toolTip();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts << where + b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            texts << where + l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            texts << where + g->title();
        else if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                texts << where + c->itemText(i);
        else if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                texts << where + t->tabText(i);
    }
    return texts;
}

// The letter after a single '&', lower case; 0 when there is none.
QChar mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text.at(i + 1).toLower();
    }
    return QChar();
}

// Reads the style option a header paints a section with (a protected member of QHeaderView).
struct HeaderPeek : QHeaderView {
    using QHeaderView::initStyleOptionForIndex;
    static auto styleOption() { return &HeaderPeek::initStyleOptionForIndex; }
};

// Reads the style option the grid's delegate draws a cell with (protected in QStyledItemDelegate).
struct DelegatePeek : QStyledItemDelegate {
    using QStyledItemDelegate::initStyleOption;
    static auto styleOption() { return &DelegatePeek::initStyleOption; }
};

// The main window's fixture, with the English translation at hand.
class DesktopTest : public FrmMainTesting::FrmMainTest
{
protected:
    void TearDown() override
    {
        FrmMainTest::TearDown();
        if (m_translator) {
            QCoreApplication::removeTranslator(m_translator.get());
            m_translator.reset();
        }
    }

    void translate()
    {
        m_translator = std::make_unique<QTranslator>();
        ASSERT_TRUE(m_translator->load(qmFile())) << qmFile().toStdString() << " (built from i18n/lumivert_en.ts)";
        ASSERT_TRUE(QCoreApplication::installTranslator(m_translator.get()));
    }

    std::unique_ptr<QTranslator> m_translator;
};

TEST_F(DesktopTest, EnglishTranslationCoversEveryWindowText)
{
    translate();
    writePhotos(2);
    frmMain& w = start(m_photos.path());
    std::vector<std::unique_ptr<QWidget>> windows;
    PhotoListModel photos;
    photos.setRows(PhotoImport::run(m_photos.path()).rows);
    windows.emplace_back(std::make_unique<frmAbout>());
    windows.emplace_back(std::make_unique<frmSelectFolder>(TestUtil::binDir()));
    windows.emplace_back(std::make_unique<frmColor16>(CColor::instance()));
    windows.emplace_back(std::make_unique<frmSelectTopImage>(photos));
    windows.emplace_back(
        std::make_unique<frmSelectBackImage>(QDir(TestUtil::binDir()).filePath(QString::fromUtf8("背景画像"))));
    windows.emplace_back(std::make_unique<frmGetPicture>(m_photos.path(), &photos));
    windows.emplace_back(std::make_unique<frmCreateAlbum>(w.albumOptions(), photos.rows()));

    QStringList texts = shownTexts(&w);
    for (const auto& window : windows)
        texts << shownTexts(window.get());
    for (const QString& text : texts)
        EXPECT_FALSE(hasJapanese(text)) << text.toStdString();
    // A few finished translations, read where the person sees them.
    EXPECT_EQ(child<QPushButton>("cmdFolder")->text(), QStringLiteral("&Browse..."));
    EXPECT_EQ(child<QTabWidget>("TabStrip1")->tabText(2), QStringLiteral("Create &Album"));
    EXPECT_EQ(child<QPushButton>("cmdCreate_1")->text(), QStringLiteral("&Create Album"));
    EXPECT_EQ(child<QPushButton>("cmdMoveTop")->toolTip(), QStringLiteral("Move the photo to the top"));
    EXPECT_EQ(child<QComboBox>("cboTopFilter")->itemText(5), QStringLiteral("Sepia"));
}

TEST_F(DesktopTest, GridColumnTitlesAndRotationChoicesAreShownTranslated)
{
    translate();
    writePhotos(1);
    frmMain& w = start(m_photos.path());
    w.resize(1000, 700);
    w.show();
    PhotoGridView* grid = w.grid();
    // The model keeps its own texts: the list file and the album read them.
    EXPECT_EQ(grid->model()->headerData(int(PhotoColumn::Rotation) - 1, Qt::Horizontal).toString(),
              QString::fromUtf8("回転"));
    // The titles the header paints.
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        if (grid->isColumnHidden(c))
            continue;
        SCOPED_TRACE(c);
        QStyleOptionHeader option;
        (grid->horizontalHeader()->*HeaderPeek::styleOption())(&option, c);
        EXPECT_FALSE(option.text.isEmpty());
        EXPECT_FALSE(hasJapanese(option.text)) << option.text.toStdString();
    }
    grid->setActiveCell(int(PhotoColumn::Rotation), 1);
    grid->edit(grid->currentIndex());
    auto* editor = grid->findChild<QComboBox*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->itemText(1), QStringLiteral("90° left"));
    grid->closePersistentEditor(grid->currentIndex());
    const QModelIndex rotation = w.photoList().indexOf(1, PhotoColumn::Rotation);
    EXPECT_EQ(rotation.data(Qt::DisplayRole).toString(), QString::fromUtf8("なし")) << "data unchanged";
    auto* delegate = qobject_cast<QStyledItemDelegate*>(grid->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    QStyleOptionViewItem cell;
    (delegate->*DelegatePeek::styleOption())(&cell, rotation);
    EXPECT_EQ(cell.text, QStringLiteral("None"));
}

TEST_F(DesktopTest, EnglishMnemonicsDoNotClashOnAPage)
{
    translate();
    frmMain& w = start();
    const QStringList tabs = {child<QTabWidget>("TabStrip1")->tabText(0), child<QTabWidget>("TabStrip1")->tabText(1),
                              child<QTabWidget>("TabStrip1")->tabText(2)};
    for (const char* page : {"fraStep1", "fraStep2", "fraStep3"}) {
        SCOPED_TRACE(page);
        std::set<QChar> seen;
        QStringList texts = tabs;
        for (QAbstractButton* b : child<QWidget>(page)->findChildren<QAbstractButton*>())
            texts << b->text();
        for (const QString& text : texts) {
            const QChar key = mnemonic(text);
            if (key.isNull())
                continue;
            EXPECT_TRUE(seen.insert(key).second)
                << "'" << QString(key).toStdString() << "' twice: " << text.toStdString();
        }
    }
    // The dialogs' own buttons keep one letter each as well.
    frmSelectTopImage top(w.photoList());
    std::set<QChar> seen;
    for (QAbstractButton* b : top.findChildren<QAbstractButton*>()) {
        if (const QChar key = mnemonic(b->text()); !key.isNull()) {
            EXPECT_TRUE(seen.insert(key).second) << b->text().toStdString();
        }
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DesktopTest, WithoutATranslatorTheJapaneseTextsStay)
{
    frmMain& w = start();
    EXPECT_EQ(child<QPushButton>("cmdFolder")->text(), QString::fromUtf8("参照..."));
    EXPECT_EQ(child<QTabWidget>("TabStrip1")->tabText(0), QString::fromUtf8("フォルダ選択"));
    EXPECT_EQ(child<QComboBox>("cboTopFilter")->itemText(0), QString::fromUtf8("効果なし"));
    EXPECT_EQ(child<QPushButton>("cmdRefresh")->toolTip(), QString::fromUtf8("写真一覧ﾃﾞｰﾀの初期化"));
    (void)w;
}

TEST_F(DesktopTest, TabOrderFollowsEachPage)
{
    frmMain& w = start();
    QList<QWidget*> chain;
    QWidget* first = child<QTabWidget>("TabStrip1")->tabBar();
    for (QWidget* at = first; at && !chain.contains(at); at = at->nextInFocusChain())
        chain << at;
    const char* expected[] = {
        "txtFolder",        "cmdFolder",        "cmdGetPicture",  "imgLogoLarge",     "vaSpread1",
        "cmdMoveTop",       "cmdMoveUp",        "cmdMoveDown",    "cmdMoveBottom",    "cmdSort123",
        "cmdSort321",       "cmdSortDate123",   "cmdSortDate321", "cmdDelete",        "cmdSave",
        "cmdRefresh",       "cmdTopImage",      "cboTopFilter",   "chkSlideShow",     "txtShowTime",
        "optPageWidth_0",   "optPageWidth_1",   "optPageWidth_2", "chkJpegProgress",  "optJpegQuality_2",
        "optJpegQuality_1", "optJpegQuality_0", "chkPageModel",   "chkPageFileName",  "chkPageCaption",
        "chkPageDate",      "chkPageTv",        "chkPageAv",      "chkIndexFileName", "chkIndexNo",
        "chkIndexDate",     "chkindexCaption",  "chkNavi",        "optBackImage_1",   "optBackImage_0",
        "cmdBackImage",     "cmdColor16",       "cboTheme",       "cmdPreview",       "txtTitle",
        "cmdCreate_1",      "cmdCreate_2"};
    qsizetype last = 0;
    for (const char* name : expected) {
        SCOPED_TRACE(name);
        QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr);
        const qsizetype at = chain.indexOf(widget);
        ASSERT_GE(at, 0);
        EXPECT_GT(at, last);
        last = at;
    }
    EXPECT_EQ(child<QLabel>("imgLogoLarge")->focusPolicy(), Qt::StrongFocus);
}

TEST_F(DesktopTest, KeyboardReachesThePagesTheMoveCommandsThePhotoAndTheAboutBox)
{
    writePhotos(3);
    frmMain& w = start(m_photos.path());
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* tabs = child<QTabWidget>("TabStrip1");

    // Ctrl+1..3 bring the pages to the front.
    const struct {
        int key;
        int page;
    } pages[] = {{Qt::Key_3, 2}, {Qt::Key_1, 0}, {Qt::Key_2, 1}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        QTest::keyClick(&w, Qt::Key(p.key), Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), p.page);
        EXPECT_TRUE(tabs->widget(p.page)->isEnabled());
    }

    // Ctrl+Home / Up / Down / End on the grid move the photo and keep the cell on it.
    PhotoGridView* grid = w.grid();
    grid->setFocus();
    const QString name = w.photoList().cellText(2, PhotoColumn::FileName);
    const struct {
        Qt::Key key;
        int row;
    } moves[] = {{Qt::Key_Down, 3}, {Qt::Key_Home, 1}, {Qt::Key_Down, 2}, {Qt::Key_End, 3}, {Qt::Key_Up, 2}};
    grid->setActiveCell(4, 2);
    for (const auto& m : moves) {
        SCOPED_TRACE(m.key);
        QTest::keyClick(grid, m.key, Qt::ControlModifier);
        EXPECT_EQ(w.photoList().cellText(m.row, PhotoColumn::FileName), name);
        EXPECT_EQ(grid->activeRow(), m.row);
        EXPECT_EQ(grid->activeColumn(), 4);
    }

    // Enter on the picture opens the photo, as a double click does; on another column it does not.
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(m_launched.isEmpty());
    grid->setActiveCell(int(PhotoColumn::Picture), 2);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(m_launched, QStringList{w.photoList().cellText(2, PhotoColumn::PathName)});

    // The about box: F1 anywhere, Enter on the logo.
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_EQ(m_dialogs, QStringList{QStringLiteral("frmAbout")});
    QTest::keyClick(&w, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(child<QLabel>("imgLogoLarge"), Qt::Key_Return);
    EXPECT_EQ(m_dialogs.size(), 2);
}

TEST_F(DesktopTest, DialogsTakeEnterAsOkAndEscapeAsCancel)
{
    frmColor16 picker(CColor::instance());
    picker.show();
    QApplication::setActiveWindow(&picker);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
    QTest::keyClick(picker.focusWidget() ? picker.focusWidget() : &picker, Qt::Key_Return);
    EXPECT_EQ(picker.UserTag(), QStringLiteral("OK"));

    frmColor16 other(CColor::instance());
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::keyClick(other.focusWidget() ? other.focusWidget() : &other, Qt::Key_Escape);
    EXPECT_NE(other.UserTag(), QStringLiteral("OK"));
    EXPECT_FALSE(other.isVisible());
}

} // namespace
