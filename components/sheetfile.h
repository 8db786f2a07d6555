// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QVector>

#include <optional>

#include "components/photorow.h"

/// The whole sheet of the photo grid as one value: what "Lumivert.bin" holds.
struct Sheet {
    QVector<PhotoRow> rows;
    QList<int> columnWidths; // twips, one per column 1..10; may be empty
};

/// The grid's save format. A file starts with a magic and a version and is checked whole (length,
/// checksum, every field) before anything is taken from it, so a damaged, truncated, foreign or
/// newer file is refused and the caller's list stays as it was. Any thread.
namespace SheetFile
{
/// What a load does with the rows' pictures. Checked reads only each picture's header (its kind
/// and size, refused as in a full load when wrong) and leaves the row's images null: for a caller
/// that never shows or saves them, such as the command-line album maker.
enum class Pictures { Decoded, Checked };

/// Writes to a temporary file in the same folder and renames it over path.
[[nodiscard]] bool save(const QString& path, const Sheet& sheet, QString* error = nullptr);
[[nodiscard]] std::optional<Sheet> load(const QString& path, QString* error = nullptr,
                                        Pictures pictures = Pictures::Decoded);
/// The same two on bytes, for tests and fuzzing. encode gives empty bytes when a picture cannot be
/// read back.
QByteArray encode(const Sheet& sheet);
[[nodiscard]] std::optional<Sheet> decode(const QByteArray& bytes, QString* error = nullptr,
                                          Pictures pictures = Pictures::Decoded);
} // namespace SheetFile
