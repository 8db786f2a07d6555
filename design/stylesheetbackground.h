// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

/// The step after CStyleSheet::CreateCSS that makes a written "stylesheet.css" refer only to the
/// background file its folder holds. A style sheet template names both "background.jpg" and
/// "background.gif" because it cannot know which one an album will get; an album holds at most one
/// of them, and none without a background. Every url() of a background file the folder lacks
/// becomes "none", which stands wherever an image may (a layer of background-image, the
/// background shorthand), so the rest of the rule keeps working. Any thread.
namespace StyleSheetBackground
{
/// The names the album's background image is written under.
inline const QStringList BackgroundFiles = {QStringLiteral("background.jpg"), QStringLiteral("background.gif")};

/// The style sheet with every url() of a background file (the name in any letter case, quoted or
/// not, "./" before it or not) for which has(name as written) is false replaced by "none". Works
/// on the bytes: everything else stays byte for byte, in any encoding that keeps ASCII as ASCII.
QByteArray dropMissing(const QByteArray& css, const std::function<bool(const QString&)>& has);

/// dropMissing on folder/stylesheet.css against the folder's files, replacing the file whole when
/// something changed. False when the style sheet cannot be read or written back.
[[nodiscard]] bool Apply(const QString& folder);
} // namespace StyleSheetBackground
