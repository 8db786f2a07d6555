// SPDX-License-Identifier: MIT
#include "app/csystem.h"

#include <QProcess>

namespace
{

// A number, or text that reads as one (as a user would type it).
bool isNumeric(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    case QMetaType::QString: {
        bool ok = false;
        value.toString().trimmed().toDouble(&ok);
        return ok;
    }
    default:
        return false;
    }
}

} // namespace

std::optional<bool> CSystem::plan(const std::optional<QVariant>& WindowStyle,
                                  const std::optional<QVariant>& WaitForCompletion)
{
    if (WindowStyle && !isNumeric(*WindowStyle))
        return std::nullopt;
    if (!WaitForCompletion)
        return false;
    if (WaitForCompletion->typeId() == QMetaType::Bool)
        return WaitForCompletion->toBool();
    if (!isNumeric(*WaitForCompletion))
        return std::nullopt;
    return WaitForCompletion->toString().trimmed().toDouble() != 0.0;
}

void CSystem::Shell(const QString& commandLine, const std::optional<QVariant>& WindowStyle,
                    const std::optional<QVariant>& WaitForCompletion)
{
    const std::optional<bool> wait = plan(WindowStyle, WaitForCompletion);
    if (!wait)
        return;
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty())
        return;
    const QString program = arguments.takeFirst();
    if (!*wait) {
        (void)QProcess::startDetached(program, arguments);
        return;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (process.waitForStarted(-1))
        process.waitForFinished(-1);
}
