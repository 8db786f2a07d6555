// SPDX-License-Identifier: MIT
#pragma once

// Helpers of the reliability tests: file fingerprints, injected write failures (a tiny tmpfs, a
// file size limit), album folder checks and the peak memory figure.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include <csignal>

#include <sys/mount.h>
#include <sys/resource.h>

#include "common/testutil.h"

namespace Reliability {

/// What must not change about a photo: its bytes and its modification time.
struct Stamp {
    QByteArray sha256;
    QDateTime modified;
    qint64 size = -1;
    bool operator==(const Stamp&) const = default;
};

inline QMap<QString, Stamp> stamps(const QStringList& paths)
{
    QMap<QString, Stamp> result;
    for (const QString& p : paths) {
        const QFileInfo info(p);
        result.insert(p, {TestUtil::sha256(p), info.lastModified(), info.size()});
    }
    return result;
}

/// Every file below folder (recursively), album and list file included.
inline QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

/// Mounts a tmpfs of the given size on folder for the lifetime of the object. Tests run as root
/// in CI; elsewhere mounting is refused and the test skips.
class TinyDisk
{
public:
    TinyDisk(const QString& folder, qint64 bytes) : m_folder(folder)
    {
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TinyDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;
    bool mounted() const { return m_mounted; }

    /// Makes the disk read-only, as a write-protected card or a share without write access.
    bool makeReadOnly()
    {
        return m_mounted &&
               ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

    /// Fills the disk up to its last few bytes with a filler file; keep leaves that much room.
    void fill(qint64 keep = 0)
    {
        QFile filler(QDir(m_folder).filePath(QStringLiteral("zz-filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Append));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        if (keep > 0)
            filler.resize(qMax<qint64>(0, filler.size() - keep));
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

/// Makes every write past limit bytes of any file fail (EFBIG) while the object lives: an injected
/// write failure half-way through a save that needs no special rights.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit now = m_old;
        now.rlim_cur = limit;
        m_ok = setrlimit(RLIMIT_FSIZE, &now) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_ok = false;
};

/// Names in folder that are not album files: temporary leftovers of an interrupted write.
inline QStringList strayFiles(const QString& folder)
{
    static const QRegularExpression album(
        QStringLiteral(R"(^((index|page)\d{3,}(@2x)?\.jpg|page\d{3,}\.htm|top(@2x)?\.jpg|top\.htm|index\.htm|stylesheet\.css|background\.(jpg|gif))$)"));
    QStringList stray;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!album.match(name).hasMatch())
            stray << name;
    }
    return stray;
}

/// Image files of folder that do not decode whole.
inline QStringList brokenImages(const QString& folder)
{
    QStringList broken;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.gif")}, QDir::Files)) {
        QImageReader reader(QDir(folder).filePath(name));
        const QImage image = reader.read();
        if (image.isNull())
            broken << name + ": " + reader.errorString();
    }
    return broken;
}

/// Peak resident memory of this process so far, in MiB.
inline double peakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

}  // namespace Reliability
