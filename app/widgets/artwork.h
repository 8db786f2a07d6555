// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

/// The program's own artwork, kept as resources under ":/art" (painted by tools/paintart.cpp):
/// imgLogoLarge's picture, imgLogo's picture and the program icon. GUI thread.
namespace Artwork
{
QPixmap logoLarge(); // 320 x 96
QPixmap logo();      // 160 x 40
QIcon programIcon(); // 16, 32, 64 and 256 pixels
} // namespace Artwork
