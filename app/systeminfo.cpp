// SPDX-License-Identifier: MIT
#include "app/systeminfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>

namespace SystemInfo
{

bool GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
#ifdef Q_OS_WIN
    QString root;
    switch (KeyRoot) {
    case 0x80000000u:
        root = QStringLiteral("HKEY_CLASSES_ROOT");
        break;
    case 0x80000001u:
        root = QStringLiteral("HKEY_CURRENT_USER");
        break;
    case LocalMachineRoot:
        root = QStringLiteral("HKEY_LOCAL_MACHINE");
        break;
    case 0x80000003u:
        root = QStringLiteral("HKEY_USERS");
        break;
    default:
        KeyVal.clear();
        return false;
    }
    const QSettings key(root + QLatin1Char('\\') + KeyName, QSettings::NativeFormat);
    const QVariant value = key.value(SubKeyRef);
    if (!value.isValid()) {
        KeyVal.clear();
        return false;
    }
    // Text and 32-bit numbers come as text; other value kinds are not taken.
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt)
        KeyVal = value.toString();
    return true;
#else
    Q_UNUSED(KeyRoot);
    Q_UNUSED(KeyName);
    Q_UNUSED(SubKeyRef);
    KeyVal.clear();
    return false;
#endif
}

Platform defaultPlatform()
{
    Platform p;
    p.fileExists = [](const QString& path) { return QFileInfo(path).isFile(); };
    p.startProgram = [](const QString& path) { return QProcess::startDetached(path, {}); };
    return p;
}

bool start(const Platform& platform)
{
    QString path;
    // A registered program that fails to start ends here: the second key is not asked then.
    if (platform.readKey(LocalMachineRoot, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                         QStringLiteral("PATH"), path))
        return platform.startProgram(path);
    QString folder;
    if (platform.readKey(LocalMachineRoot, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                         QStringLiteral("MSINFO"), folder)) {
        const QString program = folder + QStringLiteral("\\MSINFO32.EXE");
        if (platform.fileExists(program))
            return platform.startProgram(program);
    }
    return false;
}

} // namespace SystemInfo
