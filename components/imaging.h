// SPDX-License-Identifier: MIT
#pragma once

#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

/// The imaging component: every image operation of the program goes through here.
///
/// Images are QImage values; a null QImage is "no image" (the handle 0) and nothing is freed by
/// hand. Every function is reentrant and may be called from several worker threads at once on
/// different images, once an Imaging::Session exists (create it in main, before any thread).
/// Photos are only ever opened for reading.
namespace Imaging
{

/// Process-wide set-up: exiv2's XMP parser, its log level and the decoder's allocation limit.
/// Create exactly one, in main(), before any other thread starts; it tears down on destruction.
class Session
{
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

/// Format of a file, judged by its content and not its name.
enum class FileFormat { Unknown, Jpeg, Gif, Other, Heif };

/// Shooting information from a photo's EXIF data.
struct ShootingInfo {
    bool hasInfo = false;   // false when the file has no EXIF, or EXIF that cannot be read
    QString maker;          // Exif.Image.Make, trimmed
    QString model;          // Exif.Image.Model, trimmed
    QString dateTime;       // "YYYY:MM:DD HH:MM:SS" as stored (DateTimeOriginal, else DateTime)
    qint64 exposureNum = 0; // Exif.Photo.ExposureTime as stored, not reduced
    qint64 exposureDen = 0;
    qint64 fNumberNum = 0; // Exif.Photo.FNumber as stored
    qint64 fNumberDen = 0;
    int orientation = 0; // Exif.Image.Orientation, 1 to 8; 0 when absent or out of range, and
                         // for HEIF, whose pictures come upright already
};

/// What a load gives back.
struct LoadResult {
    QImage image;   // null when the file could not be decoded
    QSize fullSize; // the stored picture's size, also after a reduced decode
    FileFormat format = FileFormat::Unknown;
    QString error; // why it failed, for diagnostics
    /// A JPEG whose data does not reach its end-of-image marker (the file ends early, or a marker
    /// is broken): its missing part is decoded grey, so the picture is not the photo.
    bool cutShort = false;
    bool ok() const { return !image.isNull(); }
};

/// A photo: pixels and shooting information, read with the file opened once.
struct Photo {
    LoadResult load;
    ShootingInfo info;
};

/// Loads an image by content (JPEG baseline and progressive, GIF, HEIF, anything Qt reads). Pixels
/// come as stored: the EXIF orientation is not applied. A HEIF picture comes upright, with its own
/// rotation, mirroring and crop applied, and at 8 bits (an HDR one mapped to standard range). A
/// colour profile other than sRGB is converted; transparency is flattened onto white for HEIF.
///
/// With a valid fitBox the result is exactly fitSize(fullSize, fitBox), and a JPEG is decoded at
/// the smallest DCT scale (1/2, 1/4, 1/8) that still covers that size. Without a box the image
/// comes at full size. Absurd header dimensions are refused before any pixel is allocated.
[[nodiscard]] LoadResult load(const QString& path, QSize fitBox = QSize());

/// How much of a progressive JPEG a decode at 1/4 scale reads (at 1/8 only the first scans are
/// ever read: the output uses nothing else).
enum class JpegScans {
    All,       // every scan: exactly libjpeg's reduced output
    FirstPass, // up to the scan after which every coefficient is known, if not to its last bits:
               // a few levels off libjpeg's output, for a quarter of its decoding time
};

/// load() of a file's whole content already in memory (from readAll()).
[[nodiscard]] LoadResult decode(const QByteArray& bytes, QSize fitBox = QSize(), JpegScans scans = JpegScans::All);

/// A file's whole content the way load() reads it, from the device's start: at most 512 MB (a
/// longer file, or a device that never ends, is refused). Empty with the reason on failure.
[[nodiscard]] QByteArray readAll(QIODevice& device, QString* error = nullptr);

/// load() plus readShootingInfo() on the same bytes.
[[nodiscard]] Photo loadPhoto(const QString& path, QSize fitBox = QSize());

/// Shooting information only; no pixels are decoded.
[[nodiscard]] ShootingInfo readShootingInfo(const QString& path);

/// Size in pixels from the header only; invalid when the file is not an image.
[[nodiscard]] QSize imageSize(const QString& path);

[[nodiscard]] FileFormat fileFormat(const QString& path);

enum class SaveKind { BaselineJpeg = 2, ProgressiveJpeg = 3, Gif = 4 };

/// Writes the image, replacing an existing file. JPEG quality is 1..100 (the program uses 50, 75,
/// 100); GIF is quantised to an adaptive palette. The file is written to a temporary name and
/// renamed, so a failed save leaves no partial file. Nothing of a source photo's EXIF is carried.
[[nodiscard]] bool save(const QImage& image, const QString& path, SaveKind kind, int quality = 75);

/// The size of source scaled by min(box.w / w, box.h / h), each side rounded to the nearest
/// integer with halves to even (1536 x 2048 into 120 x 90 gives 68 x 90). Invalid when either
/// size is empty.
[[nodiscard]] QSize fitSize(QSize source, QSize box);

[[nodiscard]] QImage copy(const QImage& image);
/// Exact size; area-averaging when shrinking, smooth when enlarging. Null for an empty size.
[[nodiscard]] QImage resize(const QImage& image, QSize size);
/// resize(image, fitSize(image.size(), box)).
[[nodiscard]] QImage fit(const QImage& image, QSize box);
/// Exact quarter and half turns; angle in hundredths of a degree, positive turns left
/// (counter-clockwise): 9000, -9000, 18000 (and -18000, 27000, -27000). Null for any other angle.
[[nodiscard]] QImage rotate(const QImage& image, int angleHundredths);
/// A photo list rotation code: 0 copy, 1 left 90, 2 right 90, 3 180; null for any other code.
[[nodiscard]] QImage rotateByCode(const QImage& image, int code);

// The six effects. Each returns a new image of the same size, or null for a null input; the same
// input gives the same output bytes. The numeric arguments are those of the cover tables.
[[nodiscard]] QImage canvasTexture(const QImage& image, int p, int q);
[[nodiscard]] QImage oilPainting(const QImage& image, int p, int q);
[[nodiscard]] QImage glassTile(const QImage& image, int p, int q);
[[nodiscard]] QImage monochrome(const QImage& image);
/// Adds r, g, b (-255..255) to the channels: (40, 30, -30) warms the picture.
[[nodiscard]] QImage toneAdjust1(const QImage& image, int r, int g, int b);
/// v in -100..100 moves saturation toward grey (negative) or away from it; applied to the warm
/// result of toneAdjust1(40, 30, -30), v = -50 gives sepia.
[[nodiscard]] QImage toneAdjust2(const QImage& image, int v);

} // namespace Imaging
