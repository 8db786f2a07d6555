// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

/// Why a photo cannot be shown, in terms a user can act on. Works on the file only (opened
/// read-only); reentrant, any thread.
namespace PhotoCheck
{

enum class Problem {
    None,
    CannotOpen, // the operating system refused to open it (osReason says why)
    Empty,      // zero bytes
    NotJpeg,    // not a photo this program can read (a text file named x.jpg, a HEIF image sequence)
    Damaged,    // a JPEG or HEIF whose data is broken or ends early
    TooLarge,   // a picture too large to decode
};

struct Finding {
    Problem problem = Problem::None;
    QString osReason; // for CannotOpen: the system's words, in English ("Permission denied")
    bool operator==(const Finding&) const = default;
};

/// How a JPEG's data ends: complete (its end-of-image marker is reached through the markers and
/// the coded data), cut short (the file ends before that marker) or broken (a marker is
/// malformed). Anything that does not start like a JPEG is NotJpeg.
enum class JpegEnd { Complete, CutShort, Broken, NotJpeg };
[[nodiscard]] JpegEnd jpegEnd(const QByteArray& bytes);

/// True for a JPEG whose data does not reach its end-of-image marker: cut short or broken.
/// Looks at the last two bytes first and walks the markers only when they are not that marker.
[[nodiscard]] bool cutShort(const QByteArray& bytes);

/// For a photo that did decode: Damaged when it is a JPEG whose data ends early or is broken, or a
/// HEIF whose boxes run past the end of the file.
/// Qt's decoder fills such a picture's missing part with grey and only logs a warning. Reads the
/// file's last two bytes in the common case, the whole file only when it does not end in the
/// end-of-image marker.
[[nodiscard]] Finding checkDecoded(const QString& path);

/// For a photo that could not be decoded: why not.
[[nodiscard]] Finding diagnose(const QString& path);

/// The finding in English words for the command-line tool: "not a photo this program can read", "cannot be
/// opened: permission denied", ...
[[nodiscard]] QString describe(const Finding& finding);

/// The system's English text for an errno value ("Permission denied"), whatever the locale.
[[nodiscard]] QString osErrorText(int errnoValue);

} // namespace PhotoCheck
