// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QMap>

#include "app/systeminfo.h"

namespace
{

// A registry and a file system made of maps, and a record of what would have started.
struct FakePlatform {
    QMap<QString, QString> keys; // "key|value" -> data
    QStringList files;
    QStringList startable;
    QStringList started;

    SystemInfo::Platform platform()
    {
        SystemInfo::Platform p;
        p.readKey = [this](quint32 root, const QString& key, const QString& value, QString& out) {
            EXPECT_EQ(root, SystemInfo::LocalMachineRoot);
            const auto it = keys.find(key + QLatin1Char('|') + value);
            if (it == keys.end()) {
                out.clear();
                return false;
            }
            out = *it;
            return true;
        };
        p.fileExists = [this](const QString& path) { return files.contains(path); };
        p.startProgram = [this](const QString& path) {
            if (!startable.contains(path))
                return false;
            started.append(path);
            return true;
        };
        return p;
    }
};

const QString kMsinfo = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString kLocation = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");

TEST(SystemInfo, RegisteredPathIsStarted)
{
    FakePlatform f;
    f.keys[kMsinfo] = QStringLiteral("C:\\tools\\msinfo32.exe");
    f.startable << QStringLiteral("C:\\tools\\msinfo32.exe");
    EXPECT_TRUE(SystemInfo::start(f.platform()));
    EXPECT_EQ(f.started, QStringList{QStringLiteral("C:\\tools\\msinfo32.exe")});
}

TEST(SystemInfo, RegisteredPathThatFailsDoesNotTryTheSecondKey)
{
    FakePlatform f;
    f.keys[kMsinfo] = QStringLiteral("C:\\gone\\msinfo32.exe");
    f.keys[kLocation] = QStringLiteral("C:\\shared");
    f.files << QStringLiteral("C:\\shared\\MSINFO32.EXE");
    f.startable << QStringLiteral("C:\\shared\\MSINFO32.EXE");
    EXPECT_FALSE(SystemInfo::start(f.platform()));
    EXPECT_TRUE(f.started.isEmpty());
}

TEST(SystemInfo, SharedToolsLocationNeedsTheFile)
{
    FakePlatform f;
    f.keys[kLocation] = QStringLiteral("C:\\shared");
    f.startable << QStringLiteral("C:\\shared\\MSINFO32.EXE");
    EXPECT_FALSE(SystemInfo::start(f.platform()));
    f.files << QStringLiteral("C:\\shared\\MSINFO32.EXE");
    EXPECT_TRUE(SystemInfo::start(f.platform()));
    EXPECT_EQ(f.started, QStringList{QStringLiteral("C:\\shared\\MSINFO32.EXE")});
}

TEST(SystemInfo, NothingRegistered)
{
    FakePlatform f;
    EXPECT_FALSE(SystemInfo::start(f.platform()));
}

#ifndef Q_OS_WIN
TEST(SystemInfo, NoRegistryOnThisPlatform)
{
    QString value = QStringLiteral("stale");
    EXPECT_FALSE(SystemInfo::GetKeyValue(SystemInfo::LocalMachineRoot,
                                         QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                         QStringLiteral("PATH"), value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_FALSE(SystemInfo::start());
}
#endif

} // namespace
