// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

/// A picture of the photo list (a row's thumbnail), held as PNG bytes in a spool file on disk
/// rather than as pixels in memory, so a list of 999 rows costs about as much memory as a list of
/// 30. A value: copies share one stored picture, and the last copy to go frees its place in the
/// spool. The pixels are decoded when asked for, through a small cache of recently used pictures.
///
/// When no spool file can be made or written (no writable folder, a full disk), the bytes stay in
/// memory instead: nothing is lost, only the memory saving. Any thread.
class ListPicture
{
public:
    ListPicture() = default;
    /// Encodes image (lossless PNG); a null image gives a null picture.
    ListPicture(const QImage& image); // NOLINT(google-explicit-constructor): rows are assigned images
    /// Takes PNG bytes that are known to decode to a picture of this size; toImage() hands the
    /// pixels back in format. For the list file, whose pictures are stored in this very form.
    static ListPicture fromPng(const QByteArray& png, QSize size, QImage::Format format);

    bool isNull() const { return !m_stored; }
    QSize size() const; // 0 x 0 for a null picture, as for a null QImage
    QImage::Format format() const;
    /// The pixels, in the format the picture was made from; null when the picture is null (or,
    /// should the spool file fail to read back, with a warning in the log).
    QImage toImage() const;
    /// The PNG bytes; empty for a null picture.
    QByteArray png() const;

    /// Same pixels (and format); copies of one picture compare equal without reading anything.
    bool operator==(const ListPicture& other) const;

    struct Stored;

private:
    std::shared_ptr<const Stored> m_stored;
};

/// Where the spool files go, for the program's setup and for tests.
namespace PictureSpool
{
/// Pictures made from now on are spooled in a new file in folder (made when missing); an empty
/// folder means the default (the user's cache folder, else the temporary folder). Pictures made
/// before stay where they are.
void setFolder(const QString& folder);
struct Statistics {
    qint64 spooledPictures = 0; // pictures whose bytes are in a spool file
    qint64 memoryPictures = 0;  // pictures kept in memory because the spool could not take them
    qint64 spoolBytes = 0;      // bytes in use in the current spool file
    qint64 spoolFileSize = 0;   // its size, free extents included
};
Statistics statistics();
} // namespace PictureSpool
