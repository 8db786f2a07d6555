// SPDX-License-Identifier: MIT
#include "components/wholefile.h"

#include <cerrno>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace WholeFile
{

QString write(const QString& path, const QByteArray& bytes)
{
    return write(path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

QString write(const QString& path, const std::function<bool(QIODevice&)>& fill)
{
    if (path.isEmpty())
        return QStringLiteral("No file name");
    // QSaveFile refuses a folder with its own wording; give the system's.
    if (QFileInfo(path).isDir())
        return qt_error_string(EISDIR);
    QSaveFile file(path);
    // Never fall back to writing the old file in place: a failed write must leave it whole.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // Qt 6.4's commit() misses a failed final flush (full disk) and would put an empty file in
    // place of the old one; flush first and give up on failure.
    if (!fill(file) || !file.flush()) {
        const QString reason =
            file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("content not made");
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

std::optional<QByteArray> read(const QString& path, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name"));
    if (QFileInfo(path).isDir())
        return fail(qt_error_string(EISDIR));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return bytes;
}

} // namespace WholeFile
