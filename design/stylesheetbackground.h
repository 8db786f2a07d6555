// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// The rule by which CStyleSheet::CreateCSS makes a style sheet refer only to the background file
/// its album folder holds. A style sheet template names both "background.jpg" and
/// "background.gif" because it cannot know which one an album will get; an album holds at most one
/// of them, and none without a background. Every url() of a background file the folder lacks
/// becomes "none", which stands wherever an image may (a layer of background-image, the
/// background shorthand), so the rest of the rule keeps working. Any thread.
namespace StyleSheetBackground
{
/// The names the album's background image is written under.
inline const QStringList BackgroundFiles = {QStringLiteral("background.jpg"), QStringLiteral("background.gif")};

/// The style sheet with every url() of a background file (the name in any letter case, quoted or
/// not, "./" before it or not) for which has(name as written) is false replaced by "none".
/// Everything else stays character for character.
QString dropMissing(const QString& css, const std::function<bool(const QString&)>& has);
} // namespace StyleSheetBackground
