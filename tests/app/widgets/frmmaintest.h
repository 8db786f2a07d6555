// SPDX-License-Identifier: MIT
#pragma once

// The main window's test fixture, shared by the test files of its pages.

#include "app/widgets/frmmain.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValidator>

#include <memory>

#include "app/cprivateprofile.h"
#include "app/programinfo.h"
#include "app/startup.h"
#include "app/widgets/frmabout.h"
#include "app/widgets/frmselectfolder.h"
#include "catalogue/photoimport.h"
#include "catalogue/photolistfile.h"
#include "common/testutil.h"
#include "components/widgets/photogridview.h"
#include "components/widgets/picturegrid.h"
#include "design/ccolor.h"
#include "design/widgets/frmcolor16.h"
#include "design/widgets/frmselectbackimage.h"
#include "common/albumoptionsprinter.h"
#include "generate/albumoptionsfile.h"
#include "generate/widgets/frmcreatealbum.h"

namespace FrmMainTesting
{

struct Message {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

inline void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

class FrmMainTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_program.isValid() && m_photos.isValid()); }
    void TearDown() override
    {
        m_window.reset();
        CColor::instance().setColorIndex(6);
    }

    QString ini() const { return m_program.filePath("Lumivert.ini"); }
    QString profileString(const char* section, const char* key) const
    {
        return CPrivateProfile().GetValueString(ini(), section, key);
    }
    qint32 profileLong(const char* section, const char* key) const
    {
        return CPrivateProfile().GetValueLong(ini(), section, key);
    }
    void writeProfile(const char* section, const char* key, const QString& value) const
    {
        ASSERT_NE(CPrivateProfile().SetValueString(ini(), section, key, value), 0);
    }
    void shipData() const { copyTree(TestUtil::binDir(), m_program.path()); }
    void writePhotos(int count)
    {
        for (int i = 1; i <= count; ++i)
            TestUtil::writeJpeg(m_photos.filePath(QStringLiteral("p%1.jpg").arg(i)), 160, 120, std::nullopt, false, i);
    }

    frmMain& start(const QString& commandLine = QString())
    {
        frmMain::StartupSettings settings;
        settings.programFolder = m_program.path();
        settings.commandLine = commandLine;
        settings.hooks.execDialog = [this](QDialog& dialog) {
            m_dialogs.push_back(QString::fromLatin1(dialog.metaObject()->className()));
            return m_onDialog ? m_onDialog(dialog) : 0;
        };
        settings.hooks.messageBox = [this](QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons) {
            m_messages.push_back({icon, title, text, buttons});
            return m_answer;
        };
        settings.hooks.launchDocument = [this](QWidget*, const QString& document) {
            m_launched.push_back(document);
            return m_launchResult;
        };
        // The import without its progress window: the same job, run at once.
        settings.hooks.runImport = [this](QWidget*, const QString& folder, PhotoListModel* model) {
            ++m_imports;
            if (m_cancelImport) { // as the progress window leaves a cancelled import
                model->clear();
                ImportResult cancelled;
                cancelled.cancelled = true;
                return cancelled;
            }
            ImportResult result = PhotoImport::run(folder);
            model->setRows(result.rows);
            return result;
        };
        m_window = std::make_unique<frmMain>(std::move(settings));
        return *m_window;
    }
    template <typename T> T* child(const QString& name) const
    {
        T* found = m_window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QTabWidget* tabs() const { return child<QTabWidget>("TabStrip1"); }

    QTemporaryDir m_program;
    QTemporaryDir m_photos;
    std::unique_ptr<frmMain> m_window;
    std::function<int(QDialog&)> m_onDialog;
    QStringList m_dialogs;
    QList<Message> m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
    QStringList m_launched;
    int m_launchResult = -1; // the shell's success
    int m_imports = 0;
    bool m_cancelImport = false;
};

inline const QString UnsavedQuestion =
    QStringLiteral("写真一覧ﾃﾞｰﾀの変更(並び順，除外，回転，キャプション)が\r\n保存されていません。\r\n\r\n");

} // namespace FrmMainTesting
