// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

/// Reading and writing a whole file of ours (list file, settings, album options, pages, style
/// sheet, album images, the image record) in one call, with the system's reason on failure.
/// Pure functions; any thread.
namespace WholeFile
{

/// Replaces path with bytes atomically: a temporary file in the same folder, flushed and checked,
/// then renamed over the old file. On failure the old file (or its absence) stays and nothing
/// half-written is left. Returns "" on success, else the system's reason ("No space left on
/// device", "Permission denied", ...).
[[nodiscard]] QString write(const QString& path, const QByteArray& bytes);

/// The same for a file too large to hold in memory twice: fill writes the content into the
/// temporary file (it may seek within what it wrote). When fill returns false nothing is replaced
/// and the reason is the device's, or "content not made" when the device reported nothing.
[[nodiscard]] QString write(const QString& path, const std::function<bool(QIODevice&)>& fill);

/// The file's bytes, or nothing with the system's reason in *error ("No such file or directory",
/// "Permission denied", "Is a directory", ...).
[[nodiscard]] std::optional<QByteArray> read(const QString& path, QString* error = nullptr);

} // namespace WholeFile
