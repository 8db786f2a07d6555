// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <utility>

/// Helpers shared by the tests: sample photos with chosen shooting information, file hashes.
namespace TestUtil {

/// EXIF fields to write into a sample photo; unset fields are left out.
struct Exif {
    std::optional<QString> make;
    std::optional<QString> model;
    std::optional<QString> dateTimeOriginal;  // "YYYY:MM:DD HH:MM:SS"
    std::optional<QString> dateTime;          // Exif.Image.DateTime
    std::optional<std::pair<int, int>> exposureTime;
    std::optional<std::pair<int, int>> fNumber;
    std::optional<int> orientation;           // Exif.Image.Orientation
};

/// A w x h picture with smooth gradients and some detail, deterministic for a seed.
QImage samplePicture(int width, int height, int seed = 0);

/// Writes a JPEG photo of the given size, with EXIF when exif is given. Returns the path.
QString writeJpeg(const QString& path, int width, int height, const std::optional<Exif>& exif = std::nullopt,
                  bool progressive = false, int seed = 0);
/// Writes the image as JPEG (quality 90).
QString writeJpeg(const QString& path, const QImage& image, bool progressive = false);

/// Adds or replaces EXIF fields of an existing JPEG.
void setExif(const QString& path, const Exif& exif);

QByteArray sha256(const QString& path);
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

/// The folder of the shipped data beside the test executables (build/bin).
QString binDir();
/// The source tree's tests/data folder.
QString dataDir();

}  // namespace TestUtil
