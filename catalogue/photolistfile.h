// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

#include "components/sheetfile.h"

class PhotoListModel;

/// The photo list file "Lumivert.bin" beside the photos.
namespace PhotoListFile
{
QString path(const QString& photoFolder); // photoFolder + separator + "Lumivert.bin"
bool exists(const QString& photoFolder);
/// A file name without any folder part: not empty, no "/" or "\\", not "." or "..".
bool isPlainName(const QString& name);
/// Saves the whole list with the column widths (twips). An empty list writes nothing and keeps an
/// older file; returns true then too. A failed save leaves the older file intact.
[[nodiscard]] bool save(const PhotoListModel& model, const QString& photoFolder, const QList<int>& columnWidths,
                        QString* error = nullptr);
/// Loads the file into the model; the column widths go to *columnWidths when given. Each row's path
/// becomes the file of its name in photoFolder (empty when the name has a folder part), whatever
/// path the file holds: the list follows its folder when that is moved. A file that is
/// missing, damaged or foreign is refused and the model stays exactly as it was. With
/// SheetFile::Pictures::Checked the rows' pictures are checked but not decoded (left null).
[[nodiscard]] bool load(PhotoListModel& model, const QString& photoFolder, QList<int>* columnWidths = nullptr,
                        QString* error = nullptr, SheetFile::Pictures pictures = SheetFile::Pictures::Decoded);
} // namespace PhotoListFile
