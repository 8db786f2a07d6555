// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QMap>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class FolderList;

/// "フォルダの選択": picks a folder from a drive list and a folder list. The caller sets FolderName
/// (empty: the program's own folder) and UsrTag (""), shows it modally, and reads UsrTag ("OK",
/// "ｷｬﾝｾﾙ", or still "" after the close box) and, after OK, FolderName: the folder last opened in
/// the list, not one merely highlighted. The drives are the mounted file systems. GUI thread.
class frmSelectFolder : public QDialog
{
    Q_OBJECT
public:
    explicit frmSelectFolder(const QString& programFolder, QWidget* parent = nullptr);

    QString FolderName() const { return m_folderName; }
    void setFolderName(const QString& folder) { m_folderName = folder; }
    QString UsrTag() const { return m_usrTag; }
    void setUsrTag(const QString& tag) { m_usrTag = tag; }

    /// The placement of the lists and buttons for an inner size, all in twips.
    struct Layout {
        int listWidth = 1;
        int folderListHeight = 1;
        int buttonLeft = 0;
    };
    static Layout layoutTwips(int innerWidth, int innerHeight, int okWidth, int statusBarHeight, int driveListHeight,
                              int driveListTop);
    static constexpr int TwipsPerPixel = 15;

    /// The drive that holds a folder: the index in drvDrive of the longest drive root it lies
    /// under; -1 for none.
    int driveOf(const QString& folder) const;
    QStringList driveRoots() const { return m_driveRoots; }
    FolderList* folderList() const { return dirFolder; }

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void drvDrive_Change(int index);
    void dirFolder_Change(const QString& path);
    void applyLayout();

    QString m_programFolder;
    QString m_folderName;
    QString m_usrTag;
    bool m_loaded = false;
    QStringList m_driveRoots;          // '/'-separated, as QDir gives them
    QMap<int, QString> m_driveCurrent; // the folder last current on each drive
    QLabel* lblMemo;
    QComboBox* drvDrive;
    FolderList* dirFolder;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    QStatusBar* StatusBar1;
};
