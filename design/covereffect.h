// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QStringList>

/// The six cover effects, by their index in cboTopFilter.
namespace CoverEffect
{
/// "効果なし", "キャンバス地効果", "油絵風効果", "ガラスタイル効果", "モノクロ効果", "セピア調効果".
QStringList names();
/// The light effect of the cover preview on the grid picture: index 0 the picture itself,
/// 1 canvas (0, 5), 2 oil (1, 5), 3 glass tile (2, 2), 4 monochrome, 5 first tone adjustment only.
/// Null for an index outside 0..5 or a null picture (the preview then stays as it was).
QImage preview(const QImage& picture, int effectIndex);
/// The album cover's full effect on the page image: 0 a copy, 1 canvas (0, 20), 2 oil (1, 10),
/// 3 glass tile (20, 20), 4 monochrome, 5 sepia (first (40, 30, -30), then second (-50)).
/// Null for any other index (no "top.jpg"). scale 2 is the same effect on a page image of twice
/// the size (the cover's second image for high-density screens): thread width, brush and tiles
/// grow with it, so both covers look alike at the same displayed size.
QImage album(const QImage& pageImage, int effectIndex, int scale = 1);
} // namespace CoverEffect
