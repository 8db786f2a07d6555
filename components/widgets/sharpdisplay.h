// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

#include <functional>

class PhotoListModel;

/// Pictures for the window's displays made for the screen's pixels: on a desktop scaled by two a
/// display of 240 x 180 pixels has 480 x 360 device pixels, and a picture fitted to the logical
/// size would be enlarged and blurred. GUI thread only (QPixmap).
namespace SharpDisplay
{
/// The picture fitted into box (logical pixels, aspect kept) at the program's device pixel ratio
/// (SharpPictures), as a pixmap of that ratio; null for a null picture. shrinkOnly: a picture
/// already inside the box is shown at its own size rather than enlarged.
QPixmap fitted(const QImage& picture, QSize box, bool shrinkOnly = false);
/// Photo r's grid picture (turned) as sharp as the window has it: its own sharper picture when
/// one is held, else the list's 120 x 90 one. The device pixel ratio of the result is 1. With a
/// receiver, a sharper picture not held yet is made on a worker and whenSharp is called (in the
/// receiver's thread) once it is there, to show it then.
QImage listPicture(const PhotoListModel& model, int r, QObject* receiver = nullptr,
                   std::function<void()> whenSharp = {});
} // namespace SharpDisplay
