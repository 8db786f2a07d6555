// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Access to a private-profile (INI) settings file, our own reader and writer.
///
/// Stateless: every call reads the file afresh and every write replaces it whole (a temporary file
/// in the same folder, then a rename), so a failed write leaves the old file as it was. Section and
/// key names match without regard to letter case; the first matching section and key win. The file
/// is UTF-8 text, lines ended by CR LF when we write them. Nothing ever throws or reports: a missing,
/// unreadable or garbled file gives the defaults, an unwritable place makes writes fail silently.
/// Any thread, but writes to one file from two threads at once may lose one of them.
class CPrivateProfile
{
public:
    /// The value as a signed whole number: an optional sign and the leading digits, reading stops
    /// at the first other character ("12.75" gives 12). Missing file, section or key, or an empty
    /// value: -1. A value that does not begin with a number: 0. Clamped to the 32-bit range.
    qint32 GetValueLong(const QString& strINIFileName, const QString& strSection, const QString& strKey) const;

    /// The value, or "" when missing. At most maxBytes bytes of UTF-8 come back (Whole: all of it); a
    /// longer value is cut at the last whole character within that limit. Text after a NUL byte is
    /// dropped.
    QString GetValueString(const QString& strINIFileName, const QString& strSection, const QString& strKey,
                           qsizetype maxBytes = MaxValueBytes) const;

    /// Writes the value, creating the file, the section and the key as needed; every other line of
    /// the file stays byte for byte. Non-zero on success. Refused (0) when a name or the value holds
    /// a line break or NUL, a key holds '=' or starts with ';' or '[', or a section holds ']', since
    /// any of those would change other entries of the file.
    qint16 SetValueString(const QString& strINIFileName, const QString& strSection, const QString& strKey,
                          const QString& strValue) const;

    /// A number as the settings file stores it: plain decimal, no grouping, a fractional part only
    /// when the value has one (12 -> "12", 12.75 -> "12.75").
    static QString numberText(double value);

    static constexpr int MaxValueBytes = 127;
    static constexpr qsizetype Whole = -1;
    /// Larger files are not read (defaults come back) and not rewritten.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
};
