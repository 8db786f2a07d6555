// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

/// "ﾊﾞｰｼﾞｮﾝ情報": the about box with the program's name, version line, legal notice and warning,
/// and a command that starts the system's information program. Modal; GUI thread.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    /// Put in front of the caption (with one space) when not empty.
    void setUsrCaption(const QString& caption);

public Q_SLOTS:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    /// Starts the system-information program or says that it is unavailable.
    void StartSysInfo();

private:
    QString m_baseCaption;
};
