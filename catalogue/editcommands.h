// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

class PhotoListModel;

/// The Step2 editing commands as operations on the photo list. Each move takes the active row r
/// (1-based) and returns the row that becomes active (0 when the active cell is left alone).
namespace EditCommands
{
int moveTop(PhotoListModel& model, int r);                  // r > 1: row r to position 1; returns 1 in every case
int moveUp(PhotoListModel& model, int r);                   // r > 1: swap r and r - 1; returns r - 1, else 0
int moveDown(PhotoListModel& model, int r);                 // r < N: swap r and r + 1; returns r + 1, else 0
int moveBottom(PhotoListModel& model, int r);               // r < N: row r to position N; returns N in every case
void sortByFileName(PhotoListModel& model, bool ascending); // column 4
/// Column 6 as text: "不明" after the dates ascending and before them descending, "" the other way.
void sortByDate(PhotoListModel& model, bool ascending);
/// Removes row r when the list is not empty; false when nothing was removed.
bool remove(PhotoListModel& model, int r);
/// Column 1's picture turned by a rotation code and fitted into 120 x 90 again; null when there is
/// no picture or the code is not 0..3.
QImage rotatedPicture(const QImage& image, int code);
/// The rotation-change event: redraws column 2 of row r from column 1 and column 9.
void applyRotation(PhotoListModel& model, int r);
} // namespace EditCommands
