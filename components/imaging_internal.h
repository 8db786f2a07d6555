// SPDX-License-Identifier: MIT
#pragma once

// Helpers shared by the imaging .cpp files; not part of the component's interface.

#include <QByteArray>
#include <QImage>
#include <QString>

#include "components/imaging.h"

namespace Imaging::Internal
{

/// Largest picture we agree to decode, in pixels; anything above is refused from its header.
inline constexpr qint64 kMaxPixels = 250'000'000;

/// Format of a file from its first bytes.
FileFormat formatOfBytes(const QByteArray& head);

/// Shooting information from a whole file already in memory.
ShootingInfo shootingInfoFromBytes(const QByteArray& bytes);

/// Encodes the image as a GIF with an adaptive palette; empty on failure.
QByteArray encodeGif(const QImage& image);

/// resize() of the top-left part of the image that is numX / denX pixels wide and numY / denY
/// high (fractions allowed, at most the image's size). RGB888 and RGBX8888 images are read as
/// they are and give their own format (no full-size copy); others go through to32Bit().
QImage resizeRegion(const QImage& image, QSize size, qint64 numX, qint64 denX, qint64 numY, qint64 denY);

/// A JPEG's stored size from its header, read by libjpeg; invalid when it cannot be read (or
/// without libjpeg).
QSize jpegSize(const QByteArray& bytes);

/// A YCbCr or greyscale JPEG decoded by libjpeg at 1 / divisor (2, 4 or 8) scale: ceil(size /
/// divisor) pixels, Format_RGB32, its ICC profile as colour space. A progressive one at 1/8 is
/// decoded from only the scans that output uses (DC, coarse chroma); at 1/4 with
/// JpegScans::FirstPass, from the scans that send every coefficient without their last bits. A
/// null image for any other file, or a damaged one, which then goes through the ordinary reader.
/// Prints nothing.
QImage decodeJpegScaled(const QByteArray& bytes, int divisor, JpegScans scans = JpegScans::All);
/// decodeJpegScaled(bytes, divisor, FirstPass) at 1/4 or 1/8 for a progressive JPEG; a null
/// image for a baseline one or another divisor.
QImage decodeProgressiveFirstPass(const QByteArray& bytes, int divisor);

/// Loads libheif's plug-ins, once per process, before the first HEIF file is opened.
void initHeif();

/// Whether the first bytes are those of a HEIF file (HEIC, HEIF, AVIF): an ftyp box of that family.
bool isHeif(const QByteArray& head);

/// A HEIF file's primary picture, upright (the file's own rotation, mirroring and crop applied),
/// 8-bit sRGB, its alpha flattened onto white, fitted into fitBox when one is given; from a
/// thumbnail image of the file when that is large enough and of the same shape. Pictures of more
/// than maxPixels are refused.
LoadResult loadHeif(const QByteArray& bytes, QSize fitBox, qint64 maxPixels = kMaxPixels);

/// The primary picture's size after its transformations; invalid when it cannot be read.
QSize heifSize(const QByteArray& bytes);

/// Why a HEIF file cannot be shown, after a decode that failed.
enum class HeifFault { None, Damaged, NotAPhoto, TooLarge };
HeifFault heifFault(const QByteArray& bytes, qint64 maxPixels = kMaxPixels);

/// The primary image's Exif block, from its TIFF header on; empty when it has none.
QByteArray heifExif(const QByteArray& bytes);

/// Whether the file's top-level boxes run past its end (a file cut short).
bool heifCutShort(const QByteArray& bytes);

/// The image as Format_RGB32 (opaque) or Format_ARGB32_Premultiplied (with alpha).
QImage to32Bit(const QImage& image);

} // namespace Imaging::Internal
