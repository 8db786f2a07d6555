// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

/// Hands documents, folders, addresses and programs to the desktop. Each launch returns -1 on
/// success, otherwise a code 0..32 (2: the file does not exist). GUI thread.
class CShellExecute
{
public:
    int LaunchDocument(QWidget* owner, const QString& strDocument, const QString& strStartIn, int eShowStyle);
    int LaunchProgram(QWidget* owner, const QString& strProgram, const QString& strParameters,
                      const QString& strStartIn, int eShowStyle);
    int LaunchFolder(QWidget* owner, const QString& strFolder, int eShowStyle);
    int Explore(QWidget* owner, const QString& strFolder, int eShowStyle);
    int LaunchURL(QWidget* owner, const QString& strURL, int eShowStyle);
    int LaunchEmail(QWidget* owner, const QString& strAddress, int eShowStyle);
    int PrintDocument(QWidget* owner, const QString& strDocument);
    bool StillExecuting() const;

private:
    int m_resultCode = 0;
    qint64 m_processId = 0;
};
