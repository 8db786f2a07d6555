// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QMessageBox>
#include <QWidget>

#include <array>
#include <functional>
#include <utility>

#include "catalogue/photoimport.h"
#include "components/photolistmodel.h"
#include "generate/albumoptions.h"

class AlbumLock;
class QButtonGroup;
class QDateTime;
class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class PhotoGridView;
class frmSelectBackImage;

/// The main window: the three step pages, the photo list (the one PhotoListModel of the program)
/// and the commands that tie the areas together. Start-up runs in the constructor, before the window
/// is first shown; shut-down runs when the window closes. GUI thread only.
///
/// Everything that would block or leave the program (modal windows, message boxes, the import,
/// opening documents) goes through Hooks, so tests can run the window without a user or a browser.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    struct Hooks {
        /// Shows a modal window and returns its result; default QDialog::exec().
        std::function<int(QDialog& dialog)> execDialog;
        /// Default: a QMessageBox with that icon, title, text and buttons.
        std::function<QMessageBox::StandardButton(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                  const QString& text, QMessageBox::StandardButtons buttons)>
            messageBox;
        /// Opens a document with its program; default CShellExecute().LaunchDocument(owner, path, "", 5).
        std::function<int(QWidget* owner, const QString& document)> launchDocument;
        /// Imports a folder's photos into the model; default frmGetPicture::importFolder.
        std::function<ImportResult(QWidget* owner, const QString& folder, PhotoListModel* model)> runImport;
    };

    struct StartupSettings {
        QString programFolder; // "" = the executable's folder
        QString commandLine;   // the command tail as one path, see Startup::commandLinePath
        Hooks hooks;           // members left empty get the defaults
    };

    explicit frmMain(StartupSettings settings = {}, QWidget* parent = nullptr);
    ~frmMain() override;

    // Program-wide values fixed by start-up.
    QString programFolder() const { return m_programFolder; }
    QString TemplateFilePath() const { return m_templateFilePath; }
    QString SettingsFilePath() const { return m_settingsFilePath; }

    Hooks& hooks() { return m_hooks; }
    PhotoListModel& photoList() { return m_model; }
    PhotoGridView* grid() const { return vaSpread1; }
    frmSelectBackImage* backImageChooser() const { return m_backImage; }

    /// The Step3 page read into one value, as a generation or a preview takes it.
    AlbumOptions albumOptions() const;
    /// The cover photo's row: the tag of IkDisp1 as a number, 0 when empty.
    int coverNumber() const;
    QImage coverPreview() const { return m_coverPreview; }
    QImage backgroundPreview() const { return m_backgroundPreview; }

    /// Makes the photo at row r the cover photo and refreshes the preview; nothing outside 1..count.
    void SetCoverPhoto(int r);

public Q_SLOTS:
    void TabStrip1_Click();
    void cmdFolder_Click();
    void cmdGetPicture_Click();
    void imgLogoLarge_Click();

    void cmdMoveTop_Click();
    void cmdMoveUp_Click();
    void cmdMoveDown_Click();
    void cmdMoveBottom_Click();
    void cmdSort123_Click();
    void cmdSort321_Click();
    void cmdSortDate123_Click();
    void cmdSortDate321_Click();
    void cmdDelete_Click();
    void cmdSave_Click();
    void cmdRefresh_Click();

    void cboTopFilter_Click();
    void cmdTopImage_Click();
    void cmdBackImage_Click();
    void cmdColor16_Click();
    void cmdPreview_Click();
    void txtShowTime_LostFocus();
    void cmdCreate_Click(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load(const QString& commandLine);
    /// True when the window must stay open: the user cancelled the question about unsaved changes
    /// of the photo list, or saving them failed.
    bool Form_QueryUnload();
    void Form_Unload();
    /// Where the window's frame stands in its normal state, also while it is maximised or minimised.
    QPoint normalFramePosition() const;
    void buildStep1();
    void buildStep2();
    void buildStep3();
    QWidget* buildStep3Left();
    QWidget* buildStep3Middle();
    QWidget* buildStep3Right();
    QWidget* buildStep3Bottom();
    void installDefaultHooks();
    /// Tab order along each page, Ctrl+1..3 for the pages, F1 and Enter on the logo for the about box.
    void setupKeyboard();
    void applyStoredGridGeometry();

    void selectTab(int index);
    /// False when the user cancelled the import (the model is then empty).
    bool runImport();
    void activateLastRow();
    /// Loads Lumivert.bin; on a damaged file says so and imports instead.
    void loadList();
    /// Brings the list just loaded up to date with its folder (new, changed and vanished photos)
    /// and tells the user; listSaved is when the list file was written.
    void updateLoadedList(const QDateTime& listSaved);
    /// Takes the folder's album lock before it is written; while another run holds it, a window
    /// waits for it with a cancel button. False when the user cancelled. A folder that cannot hold
    /// a lock is written without one (its writes fail on their own).
    bool lockAlbum(AlbumLock& lock);
    void loadOrImport();
    bool saveList();
    /// Before the photo list is dropped: when it holds changes that are not in the list file, says
    /// so and asks question (whether to save them), with this title. True when the caller may go
    /// on and drop the changes: nothing to save, saved now, or the user chose not to save; false on
    /// cancel or a failed save.
    bool mayDropUnsavedChanges(const QString& question, const QString& title = QString());
    void afterListChanged();
    void moveCommand(int (*command)(PhotoListModel&, int));
    void vaSpread1_Change(int position, PhotoColumn column);
    void vaSpread1_DblClick(int column, int row);
    void vaSpread1_KeyMove(int key);
    /// Puts remembered options on the Step3 page (all but the cover number, which needs the list).
    void applyAlbumOptions(const AlbumOptions& options);
    /// Drops the style sheet and background that came from the last folder's own files: another
    /// folder's album must not take them.
    void forgetFolderFiles();
    /// The Step3 check boxes with the option each one stands for.
    QList<std::pair<QCheckBox*, bool AlbumOptions::*>> optionChecks() const;
    void showCoverPreview(const QImage& picture);
    void showBackgroundPreview(const QImage& picture);
    void setColorButton(qint32 colorCode);
    /// The album colour by name: the button, its tooltip and accessible name, and CColor's choice.
    void setColor(const QString& name);
    /// After a browser could not be started: says so (text) and offers to open folder instead.
    void offerFolder(const QString& text, const QString& folder);
    /// Writes the list file without a message; false with the reason.
    bool writeList(QString* error);
    /// A short confirmation in the status line at the bottom of the window.
    void showStatus(const QString& text);
    QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        const QString& title = QString());

    QString m_programFolder;
    QString m_templateFilePath;
    QString m_settingsFilePath;
    Hooks m_hooks;
    PhotoListModel m_model;
    frmSelectBackImage* m_backImage = nullptr;
    QImage m_coverPreview;
    QImage m_backgroundPreview;
    /// A background image inside the open photo folder (remembered from lumivert-cli), which the
    /// chooser does not list: the album keeps it until another image is chosen ("" when none).
    QString m_folderBackground;
    QString m_colorName; // the album colour; the Step3 page shows it
    bool m_unloaded = false;
    QPoint m_frameOffset;           // the client area's offset in the frame, as last seen in the normal state
    AlbumLock* m_writing = nullptr; // the album lock while a creation holds it

    QTabWidget* TabStrip1 = nullptr;
    QWidget* fraStep1 = nullptr;
    QWidget* fraStep2 = nullptr;
    QWidget* fraStep3 = nullptr;
    std::array<QLabel*, 13> lblCaption{}; // control array; unused indexes stay null
    QLabel* lblVersion = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    // Step1
    QLineEdit* txtFolder = nullptr;
    QPushButton* cmdFolder = nullptr;
    QPushButton* cmdGetPicture = nullptr;
    QLabel* imgLogoLarge = nullptr;

    // Step2
    PhotoGridView* vaSpread1 = nullptr;
    QPushButton* cmdMoveTop = nullptr;
    QPushButton* cmdMoveUp = nullptr;
    QPushButton* cmdMoveDown = nullptr;
    QPushButton* cmdMoveBottom = nullptr;
    QPushButton* cmdSort123 = nullptr;
    QPushButton* cmdSort321 = nullptr;
    QPushButton* cmdSortDate123 = nullptr;
    QPushButton* cmdSortDate321 = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdRefresh = nullptr;

    // Step3
    QCheckBox* chkSlideShow = nullptr;
    QLineEdit* txtShowTime = nullptr;
    QLabel* IkDisp1 = nullptr;
    QPushButton* cmdTopImage = nullptr;
    QComboBox* cboTopFilter = nullptr;
    QCheckBox* chkJpegProgress = nullptr;
    QCheckBox* chkHighDensity = nullptr;
    QButtonGroup* optJpegQuality = nullptr;
    QCheckBox* chkPageModel = nullptr;
    QCheckBox* chkPageFileName = nullptr;
    QCheckBox* chkPageCaption = nullptr;
    QCheckBox* chkPageDate = nullptr;
    QCheckBox* chkPageTv = nullptr;
    QCheckBox* chkPageAv = nullptr;
    QCheckBox* chkIndexFileName = nullptr;
    QCheckBox* chkIndexNo = nullptr;
    QCheckBox* chkIndexDate = nullptr;
    QCheckBox* chkindexCaption = nullptr;
    QCheckBox* chkNavi = nullptr;
    QButtonGroup* optBackImage = nullptr;
    QPushButton* cmdBackImage = nullptr;
    QLabel* IkDisp2 = nullptr;
    QPushButton* cmdColor16 = nullptr;
    QComboBox* cboTheme = nullptr;
    QPushButton* cmdPreview = nullptr;
    QButtonGroup* optPageWidth = nullptr;
    QLineEdit* txtTitle = nullptr;
    QButtonGroup* cmdCreate = nullptr;
    QLabel* imgLogo = nullptr;
};
