// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QUrl;
class QWidget;

/// Hands documents, folders, addresses and programs to the desktop. Each launch returns -1 on
/// success, otherwise a code 0..32 (2: the file does not exist). GUI thread.
///
/// Documents, folders and addresses go to QDesktopServices::openUrl; programs are started
/// detached. Both doors can be replaced (tests), so nothing real has to open.
class CShellExecute
{
public:
    // The shell's codes that these methods give back.
    static constexpr int Success = -1;
    static constexpr int FileNotFound = 2;
    static constexpr int PathNotFound = 3;
    static constexpr int NoAssociation = 31;

    int LaunchDocument(QWidget* owner, const QString& strDocument, const QString& strStartIn, int eShowStyle);
    int LaunchProgram(QWidget* owner, const QString& strProgram, const QString& strParameters,
                      const QString& strStartIn, int eShowStyle);
    int LaunchFolder(QWidget* owner, const QString& strFolder, int eShowStyle);
    int Explore(QWidget* owner, const QString& strFolder, int eShowStyle);
    int LaunchURL(QWidget* owner, const QString& strURL, int eShowStyle);
    int LaunchEmail(QWidget* owner, const QString& strAddress, int eShowStyle);
    int PrintDocument(QWidget* owner, const QString& strDocument);
    /// True only while the process of the last LaunchProgram still runs (a document opened
    /// through the desktop gives no process to watch).
    bool StillExecuting() const;
    /// The shell's result of the last LaunchDocument / LaunchProgram (above 32 on success), else 0.
    int resultCode() const { return m_resultCode; }
    qint64 processId() const { return m_processId; }

    /// Opens a URL with its associated program; true when the desktop took it.
    using UrlOpener = std::function<bool(const QUrl& url)>;
    /// Starts a program detached; true and *pid set when it started.
    using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments,
                                              const QString& workingFolder, qint64* pid)>;
    /// Empty functions restore the real ones.
    static void setUrlOpener(UrlOpener opener);
    static void setProgramStarter(ProgramStarter starter);

    /// "%NAME%" replaced by the environment variable NAME; unknown names stay as written.
    static QString expandEnvironment(const QString& text);

private:
    int openUrl(const QUrl& url);
    int m_resultCode = 0;
    qint64 m_processId = 0;
};
