// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

#include <optional>

/// Starts a command line as a new process, optionally waiting for it to end. No state; GUI thread.
class CSystem
{
public:
    /// WindowStyle, when given, must be a number (or text that reads as one), else nothing is
    /// done; it is only checked, the new process opens its windows its own way.
    /// WaitForCompletion, when given, must be a Boolean or a number, else nothing is done; true
    /// (non-zero) blocks until the process ends. A command that cannot start is ignored.
    void Shell(const QString& commandLine, const std::optional<QVariant>& WindowStyle = std::nullopt,
               const std::optional<QVariant>& WaitForCompletion = std::nullopt);

    /// What Shell would do with these arguments: nullopt when it does nothing at all, otherwise
    /// whether it waits.
    static std::optional<bool> plan(const std::optional<QVariant>& WindowStyle,
                                    const std::optional<QVariant>& WaitForCompletion);
};
