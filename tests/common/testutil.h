// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <utility>

/// Helpers shared by the tests: sample photos with chosen shooting information, file hashes.
namespace TestUtil
{

/// EXIF fields to write into a sample photo; unset fields are left out.
struct Exif {
    std::optional<QString> make;
    std::optional<QString> model;
    std::optional<QString> dateTimeOriginal; // "YYYY:MM:DD HH:MM:SS"
    std::optional<QString> dateTime;         // Exif.Image.DateTime
    std::optional<std::pair<int, int>> exposureTime;
    std::optional<std::pair<int, int>> fNumber;
    std::optional<int> orientation; // Exif.Image.Orientation
};

/// A w x h picture with smooth gradients and some detail, deterministic for a seed.
QImage samplePicture(int width, int height, int seed = 0);

/// Mean absolute difference per colour channel (0..255) of two pictures of one size; empty pictures
/// or pictures of different sizes are a test failure (and 255).
double meanDifference(const QImage& a, const QImage& b);

/// Writes a JPEG photo of the given size, with EXIF when exif is given. Returns the path.
QString writeJpeg(const QString& path, int width, int height, const std::optional<Exif>& exif = std::nullopt,
                  bool progressive = false, int seed = 0);
/// Writes the image as JPEG (quality 90).
QString writeJpeg(const QString& path, const QImage& image, bool progressive = false);

/// Adds or replaces EXIF fields of an existing JPEG.
void setExif(const QString& path, const Exif& exif);

/// How a sample HEIF photo is written (libheif's own encoders, x265 for HEVC and aom for AV1).
struct Heif {
    bool av1 = false;         // AVIF instead of HEIC
    int bits = 8;             // 8, 10 or 12 bits a sample
    int orientation = 1;      // the file's own turn (irot/imir), as an EXIF orientation value
    QByteArray icc;           // an ICC profile to carry
    int nclxPrimaries = 0;    // else an nclx description with these primaries ...
    int nclxTransfer = 0;     // ... and transfer (16 PQ, 18 HLG); 0: none
    std::optional<Exif> exif; // an Exif block
    QImage thumbnail;         // a thumbnail image of its own (any size and shape)
    int quality = 92;
};
/// Writes picture (stored as it is: the file's orientation turns it for display) as a HEIF file.
/// With bits > 8 the 8-bit samples are scaled up (v * (2^bits - 1) / 255); an HDR transfer takes
/// the samples as the coded signal. An alpha channel is kept. Returns the path.
QString writeHeif(const QString& path, const QImage& picture, const Heif& heif = {});

QByteArray sha256(const QString& path);
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

/// The folder of the shipped data beside the test executables (build/bin).
QString binDir();
/// The source tree's tests/data folder.
QString dataDir();

} // namespace TestUtil
