// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <csignal>

#include "app/cshellexecute.h"
#include "common/testutil.h"

namespace
{

// Every test records what would have been opened; nothing reaches a real browser.
class CShellExecuteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CShellExecute::setUrlOpener([this](const QUrl& url) {
            m_opened.append(url);
            return m_openerAnswer;
        });
    }
    void TearDown() override
    {
        CShellExecute::setUrlOpener({});
        CShellExecute::setProgramStarter({});
    }
    QString file(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        TestUtil::writeAll(path, "<html></html>\r\n");
        return path;
    }

    QTemporaryDir m_dir;
    QList<QUrl> m_opened;
    bool m_openerAnswer = true;
};

TEST_F(CShellExecuteTest, LaunchDocumentOpensAnExistingFile)
{
    const QString top = file(QStringLiteral("top.htm"));
    CShellExecute shell;
    EXPECT_EQ(shell.LaunchDocument(nullptr, top, QString(), 5), -1);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0], QUrl::fromLocalFile(top));
    EXPECT_GT(shell.resultCode(), 32);
    EXPECT_FALSE(shell.StillExecuting()); // the desktop gives no process to watch
}

TEST_F(CShellExecuteTest, LaunchDocumentNativeSeparatorsAndSpacesAndJapanese)
{
    const QString path = file(QStringLiteral("写真 一覧.htm"));
    CShellExecute shell;
    EXPECT_EQ(shell.LaunchDocument(nullptr, QDir::toNativeSeparators(path), QString(), 5), -1);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].toLocalFile(), path);
}

TEST_F(CShellExecuteTest, MissingDocumentGives2AndOpensNothing)
{
    CShellExecute shell;
    for (const QString& path : {m_dir.filePath(QStringLiteral("Lumivert/top.htm")), QString()}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(shell.LaunchDocument(nullptr, path, QString(), 5), 2);
        EXPECT_EQ(shell.resultCode(), 2);
    }
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(CShellExecuteTest, DesktopRefusingGivesNoAssociation)
{
    m_openerAnswer = false;
    CShellExecute shell;
    EXPECT_EQ(shell.LaunchDocument(nullptr, file(QStringLiteral("a.htm")), QString(), 5), 31);
    EXPECT_EQ(shell.LaunchURL(nullptr, QStringLiteral("https://example.org/"), 5), 31);
}

TEST_F(CShellExecuteTest, EnvironmentVariablesAreExpanded)
{
    const QString path = file(QStringLiteral("env.htm"));
    qputenv("LUMIVERT_TEST_FOLDER", m_dir.path().toLocal8Bit());
    CShellExecute shell;
    EXPECT_EQ(shell.LaunchDocument(nullptr, QStringLiteral("%LUMIVERT_TEST_FOLDER%/env.htm"), QString(), 5), -1);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].toLocalFile(), path);
    qunsetenv("LUMIVERT_TEST_FOLDER");
    EXPECT_EQ(CShellExecute::expandEnvironment(QStringLiteral("%LUMIVERT_NO_SUCH_VAR%/x")),
              QStringLiteral("%LUMIVERT_NO_SUCH_VAR%/x"));
    EXPECT_EQ(CShellExecute::expandEnvironment(QStringLiteral("100% sure")), QStringLiteral("100% sure"));
}

TEST_F(CShellExecuteTest, UrlEmailAndFolder)
{
    CShellExecute shell;
    EXPECT_EQ(shell.LaunchURL(nullptr, QStringLiteral("https://example.org/album/"), 5), -1);
    EXPECT_EQ(shell.LaunchEmail(nullptr, QStringLiteral("someone@example.org"), 5), -1);
    EXPECT_EQ(shell.LaunchEmail(nullptr, QString(), 5), -1);
    EXPECT_EQ(shell.LaunchFolder(nullptr, m_dir.path(), 5), -1);
    EXPECT_EQ(shell.Explore(nullptr, m_dir.path(), 5), -1);
    ASSERT_EQ(m_opened.size(), 5);
    EXPECT_EQ(m_opened[0], QUrl(QStringLiteral("https://example.org/album/")));
    EXPECT_EQ(m_opened[1].toString(), QStringLiteral("mailto:someone@example.org"));
    EXPECT_EQ(m_opened[2].toString(), QStringLiteral("mailto:"));
    EXPECT_EQ(m_opened[3], QUrl::fromLocalFile(m_dir.path()));
    EXPECT_EQ(m_opened[4], QUrl::fromLocalFile(m_dir.path()));
    EXPECT_FALSE(shell.StillExecuting());
}

TEST_F(CShellExecuteTest, MissingTargetsGive2)
{
    CShellExecute shell;
    const QString missing = m_dir.filePath(QStringLiteral("none"));
    EXPECT_EQ(shell.LaunchFolder(nullptr, missing, 5), 2);
    EXPECT_EQ(shell.Explore(nullptr, missing, 5), 2);
    EXPECT_EQ(shell.LaunchURL(nullptr, missing, 5), 2);
    EXPECT_EQ(shell.PrintDocument(nullptr, missing), 2);
    EXPECT_EQ(shell.LaunchProgram(nullptr, missing, QString(), QString(), 5), 2);
    EXPECT_EQ(shell.LaunchProgram(nullptr, QStringLiteral("lumivert-no-such-program"), QString(), QString(), 5), 2);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(CShellExecuteTest, LaunchProgramPassesArgumentsAndFolder)
{
    QString program, folder;
    QStringList arguments;
    CShellExecute::setProgramStarter([&](const QString& p, const QStringList& a, const QString& f, qint64* pid) {
        program = p;
        arguments = a;
        folder = f;
        *pid = 12345;
        return true;
    });
    CShellExecute shell;
    EXPECT_EQ(shell.LaunchProgram(nullptr, QStringLiteral("sh"), QStringLiteral("-c \"echo a b\""), m_dir.path(), 5),
              -1);
    EXPECT_EQ(program, QStringLiteral("sh"));
    EXPECT_EQ(arguments, (QStringList{QStringLiteral("-c"), QStringLiteral("echo a b")}));
    EXPECT_EQ(folder, m_dir.path());
    EXPECT_EQ(shell.processId(), 12345);
    EXPECT_EQ(shell.LaunchProgram(nullptr, QStringLiteral("sh"), QString(), m_dir.filePath(QStringLiteral("none")), 5),
              3);
}

TEST_F(CShellExecuteTest, StillExecutingWhileTheProgramRuns)
{
    CShellExecute shell;
    ASSERT_EQ(shell.LaunchProgram(nullptr, QStringLiteral("sleep"), QStringLiteral("30"), QString(), 5), -1);
    const qint64 pid = shell.processId();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(shell.StillExecuting());
    ::kill(pid_t(pid), SIGTERM);
    // Wait for the end we caused; not a timing test, the deadline only guards against a hang.
    QDeadlineTimer deadline(20000);
    while (shell.StillExecuting() && !deadline.hasExpired())
        QThread::msleep(10);
    EXPECT_FALSE(shell.StillExecuting());
    // A plain launch afterwards clears the stored process.
    ASSERT_EQ(shell.LaunchProgram(nullptr, QStringLiteral("sleep"), QStringLiteral("30"), QString(), 5), -1);
    const qint64 second = shell.processId();
    EXPECT_EQ(shell.LaunchFolder(nullptr, m_dir.path(), 5), -1);
    EXPECT_FALSE(shell.StillExecuting());
    EXPECT_EQ(shell.processId(), 0);
    ::kill(pid_t(second), SIGTERM);
}

} // namespace
