// SPDX-License-Identifier: MIT
#include "generate/albumstart.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "components/photocheck.h"

namespace AlbumStart
{

Verdict prepare(const AlbumOptions& options, int photoCount, QString* reason)
{
    if (photoCount < 1)
        return Verdict::NoPhotos;
    const QString album = options.albumFolder();
    if (QFileInfo(album).isDir())
        return Verdict::Ready;
    const int made = ::mkdir(QFile::encodeName(album).constData(), 0777) == 0 ? 0 : errno;
    // A file of that name in the way is "not a directory" to the user, rather than "file exists".
    const int failure = made == EEXIST ? ENOTDIR : made;
    if (failure == 0)
        return Verdict::Ready;
    if (reason)
        *reason = PhotoCheck::osErrorText(failure);
    return Verdict::FolderFailed;
}

bool folderWritable(const QString& folder, QString* reason)
{
    // access() asks the system with the user's own rights (root may write anywhere writable).
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
        return true;
    if (reason)
        *reason = PhotoCheck::osErrorText(errno);
    return false;
}

} // namespace AlbumStart
