// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

/// The code page rule of the text files the program reads and writes beside the photos and the
/// program (page template, style sheet templates and what is made from them): UTF-8, the system
/// code page here; a user's own file that is not valid UTF-8 is read as Shift_JIS, and what is
/// made from it is written in that same code page. Pure functions; any thread.
namespace TextCodePage
{

struct Decoded {
    QString text;
    QByteArray encoding = "UTF-8"; // "UTF-8" or "Shift_JIS"
};

/// The bytes as UTF-8, or as Shift_JIS when they are not valid UTF-8 but valid Shift_JIS; invalid
/// in both, the UTF-8 reading with replacement characters.
Decoded decode(const QByteArray& bytes);
/// The text in the named code page; an unknown name gives the system code page.
QByteArray encode(const QString& text, const QByteArray& encoding);

/// The text file at path, read whole and decoded as decode() does; nothing when it cannot be read,
/// with the system's reason in *error.
[[nodiscard]] std::optional<Decoded> readFile(const QString& path, QString* error = nullptr);

/// The text's lines: each ends at CR LF, LF or CR (a file edited elsewhere may use either), and a
/// last line without an ending still counts. An empty text has no lines.
QStringList splitLines(const QString& text);

} // namespace TextCodePage
