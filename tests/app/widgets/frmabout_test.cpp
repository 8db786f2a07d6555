// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/programinfo.h"
#include "app/widgets/artwork.h"
#include "app/widgets/frmabout.h"
#include "design/widgets/dialogsupport.h"

namespace
{

QString labelText(QWidget* w, const char* name)
{
    auto* label = w->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

TEST(frmAbout, ShowsNameVersionAndNotices)
{
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(labelText(&about, "lblTitle"), ProgramInfo::displayName());
    EXPECT_EQ(labelText(&about, "lblVersion"), QStringLiteral("Version 1.0.000(2026/12/07)"));
    EXPECT_EQ(labelText(&about, "lblLegalNotice"), ProgramInfo::legalNotice());
    EXPECT_EQ(labelText(&about, "lblDisclaimer"), ProgramInfo::legalWarning());
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().toImage().width() > 0);
    EXPECT_EQ(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
    EXPECT_EQ(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
}

TEST(frmAbout, UsrCaptionGoesInFront)
{
    frmAbout about;
    about.setUsrCaption(QStringLiteral("Lumivert"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Lumivert ﾊﾞｰｼﾞｮﾝ情報"));
    about.setUsrCaption(QString());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
}

TEST(frmAbout, IsCentredOnTheScreen)
{
    frmAbout about;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint expected = screen.topLeft() + DialogSupport::centredTopLeft(screen.size(), about.size());
    EXPECT_EQ(about.pos(), expected);
}

TEST(frmAbout, OkCloses)
{
    frmAbout about;
    about.show();
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

#ifndef Q_OS_WIN
TEST(frmAbout, SystemInformationIsUnavailableHere)
{
    std::vector<QString> texts;
    DialogSupport::setInformationHook([&](QWidget*, const QString&, const QString& text) { texts.push_back(text); });
    frmAbout about;
    about.show();
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    DialogSupport::setInformationHook({});
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
    EXPECT_TRUE(about.isVisible()); // the box stays open
}
#endif

TEST(DialogPlacement, CentredAndNeverNegative)
{
    struct Row {
        QSize screen, window;
        QPoint expected;
    };
    const Row rows[] = {
        {{1280, 1024}, {400, 300}, {440, 362}}, {{1281, 1025}, {400, 300}, {440, 362}}, // the fraction dropped
        {{800, 600}, {801, 600}, {0, 0}},       {{800, 600}, {2000, 100}, {0, 250}},
        {{800, 600}, {100, 2000}, {350, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.window.width() << "x" << r.window.height());
        EXPECT_EQ(DialogSupport::centredTopLeft(r.screen, r.window), r.expected);
    }
}

TEST(Artwork, LogosAndIconLoad)
{
    EXPECT_EQ(Artwork::logoLarge().size(), QSize(320, 96));
    EXPECT_EQ(Artwork::logo().size(), QSize(160, 40));
    EXPECT_FALSE(Artwork::programIcon().isNull());
    EXPECT_FALSE(Artwork::programIcon().pixmap(32, 32).isNull());
}

} // namespace
