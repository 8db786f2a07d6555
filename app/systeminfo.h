// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

/// The about box's system-information command, apart from its window. GUI thread.
namespace SystemInfo
{

/// The local-machine root of the registry.
inline constexpr quint32 LocalMachineRoot = 0x80000002u;

/// Reads one registry value (text, or a 32-bit number as decimal text) into KeyVal; true when it
/// was read. KeyVal is emptied when the key or value cannot be read. Without a registry (any
/// platform but Windows) always false.
bool GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

/// The doors the command goes through, replaceable for tests.
struct Platform {
    std::function<bool(quint32, const QString&, const QString&, QString&)> readKey = GetKeyValue;
    std::function<bool(const QString&)> fileExists;
    std::function<bool(const QString&)> startProgram;
};
Platform defaultPlatform();

/// Starts the registered system-information program: the "PATH" of
/// "SOFTWARE\Microsoft\Shared Tools\MSINFO", else "MSINFO32.EXE" in the "MSINFO" folder of
/// "SOFTWARE\Microsoft\Shared Tools Location". False when neither works; the caller then shows
/// that the system information is unavailable.
bool start(const Platform& platform = defaultPlatform());

} // namespace SystemInfo
