// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

/// Small file helpers of the generation. Each turns every failure into false.
namespace basToolsAp
{
/// Deletes every ordinary file matching the path pattern (folder + separator + wildcard such as
/// "*.htm"; letter case ignored). False when nothing matched or a file could not be deleted.
bool DeleteFiles(const QString& pathPattern);
/// Creates the folder (one level: its parent must exist). False on any error, also when it exists already.
bool MakeFolder(const QString& path);
/// The index of the first selected member of an option group; 0 when none is.
int GetOptionIndex(const QList<bool>& selected);
} // namespace basToolsAp
