// SPDX-License-Identifier: MIT
#include "app/cshellexecute.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace
{

// The shell reports success as a value above 32; 42 stands for "started".
constexpr int StartedCode = 42;

CShellExecute::UrlOpener& urlOpener()
{
    static CShellExecute::UrlOpener opener;
    return opener;
}

CShellExecute::ProgramStarter& programStarter()
{
    static CShellExecute::ProgramStarter starter;
    return starter;
}

bool openWithDesktop(const QUrl& url)
{
    if (urlOpener())
        return urlOpener()(url);
    return QDesktopServices::openUrl(url);
}

bool startProgram(const QString& program, const QStringList& arguments, const QString& folder, qint64* pid)
{
    if (programStarter())
        return programStarter()(program, arguments, folder, pid);
    return QProcess::startDetached(program, arguments, folder, pid);
}

// A document or folder name as the user wrote it: environment variables expanded, either separator.
QString localPath(const QString& name)
{
    return QDir::fromNativeSeparators(CShellExecute::expandEnvironment(name));
}

} // namespace

void CShellExecute::setUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}
void CShellExecute::setProgramStarter(ProgramStarter starter)
{
    programStarter() = std::move(starter);
}

QString CShellExecute::expandEnvironment(const QString& text)
{
    static const QRegularExpression variable(QStringLiteral("%([^%]+)%"));
    QString result;
    qsizetype last = 0;
    auto it = variable.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        result += text.mid(last, m.capturedStart() - last);
        const QByteArray name = m.captured(1).toLocal8Bit();
        result += qEnvironmentVariableIsSet(name.constData()) ? qEnvironmentVariable(name.constData()) : m.captured(0);
        last = m.capturedEnd();
    }
    return result + text.mid(last);
}

int CShellExecute::openUrl(const QUrl& url)
{
    return openWithDesktop(url) ? Success : NoAssociation;
}

int CShellExecute::LaunchDocument(QWidget*, const QString& strDocument, const QString& strStartIn, int)
{
    m_resultCode = 0;
    m_processId = 0;
    // The desktop opener reports nothing useful for a missing file, so the shell's answer (2) is
    // given before anything is handed over. The start-in folder does not apply to a document
    // opened by its associated program.
    Q_UNUSED(strStartIn);
    const QString path = localPath(strDocument);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        m_resultCode = FileNotFound;
        return FileNotFound;
    }
    const int result = openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    m_resultCode = result == Success ? StartedCode : result;
    return result;
}

int CShellExecute::LaunchProgram(QWidget*, const QString& strProgram, const QString& strParameters,
                                 const QString& strStartIn, int)
{
    m_resultCode = 0;
    m_processId = 0;
    const QString program = localPath(strProgram);
    const QString folder = localPath(strStartIn);
    if (program.isEmpty()) {
        m_resultCode = FileNotFound;
        return FileNotFound;
    }
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        m_resultCode = PathNotFound;
        return PathNotFound;
    }
    // A bare name is looked up on the search path, as the shell does.
    const bool named = program.contains(QLatin1Char('/'));
    if (named ? !QFileInfo::exists(program) : QStandardPaths::findExecutable(program).isEmpty()) {
        m_resultCode = FileNotFound;
        return FileNotFound;
    }
    if (named && !QFileInfo(program).isExecutable()) {
        // Not a program: let the desktop open it as a document.
        const int result = openUrl(QUrl::fromLocalFile(QFileInfo(program).absoluteFilePath()));
        m_resultCode = result == Success ? StartedCode : result;
        return result;
    }
    qint64 pid = 0;
    if (!startProgram(program, QProcess::splitCommand(strParameters), folder, &pid)) {
        m_resultCode = FileNotFound;
        return FileNotFound;
    }
    m_resultCode = StartedCode;
    m_processId = pid;
    return Success;
}

int CShellExecute::LaunchFolder(QWidget*, const QString& strFolder, int)
{
    m_resultCode = 0;
    m_processId = 0;
    const QString path = localPath(strFolder);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return FileNotFound;
    return openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

int CShellExecute::Explore(QWidget* owner, const QString& strFolder, int eShowStyle)
{
    // The desktop has one way of showing a folder: its file manager.
    const QString path = localPath(strFolder);
    if (!path.isEmpty() && QFileInfo::exists(path) && !QFileInfo(path).isDir()) {
        m_resultCode = 0;
        m_processId = 0;
        return FileNotFound;
    }
    return LaunchFolder(owner, strFolder, eShowStyle);
}

int CShellExecute::LaunchURL(QWidget*, const QString& strURL, int)
{
    m_resultCode = 0;
    m_processId = 0;
    const QUrl url(strURL);
    // A plain path (or "C:\..." whose drive letter looks like a scheme) is a local document.
    if (url.scheme().size() <= 1) {
        const QString path = localPath(strURL);
        if (path.isEmpty() || !QFileInfo::exists(path))
            return FileNotFound;
        return openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    }
    return openUrl(url);
}

int CShellExecute::LaunchEmail(QWidget*, const QString& strAddress, int)
{
    m_resultCode = 0;
    m_processId = 0;
    return openUrl(QUrl(QStringLiteral("mailto:") + strAddress));
}

int CShellExecute::PrintDocument(QWidget*, const QString& strDocument)
{
    m_resultCode = 0;
    m_processId = 0;
    const QString path = localPath(strDocument);
    if (path.isEmpty() || !QFileInfo::exists(path) || QFileInfo(path).isDir())
        return FileNotFound;
    // The desktop has no print verb; the print spooler's command stands in for it.
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty())
        return NoAssociation;
    qint64 pid = 0;
    return startProgram(lp, {QFileInfo(path).absoluteFilePath()}, QString(), &pid) ? Success : NoAssociation;
}

bool CShellExecute::StillExecuting() const
{
    if (m_resultCode == 0 || m_processId <= 0)
        return false;
#ifdef Q_OS_LINUX
    // A detached process is not our child, so it is watched through /proc: gone, or a zombie
    // that nobody has reaped yet, both mean it has ended.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(m_processId));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line.at(close + 2);
    return state != 'Z' && state != 'X';
#elif defined(Q_OS_UNIX)
    return ::kill(pid_t(m_processId), 0) == 0;
#else
    return false;
#endif
}
