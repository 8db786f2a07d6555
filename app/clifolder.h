// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

#include "generate/albumoptionsfile.h"

class AlbumLock;
class QTextStream;
struct ListNews;

/// lumivert-cli's side of a photo folder shared with other runs and changed since its list was
/// saved: the wait for the album lock and the report of new, changed and vanished photos.
namespace CliFolder
{

/// How long lumivert-cli waits for another run writing the same album: $LUMIVERT_LOCK_WAIT
/// seconds when that is a number, else 10 minutes.
std::chrono::milliseconds lockWait();

/// Takes the folder's album lock, waiting while another run holds it (saying so on err once,
/// with the machine that holds it when that is another one; quiet: not said). False when the wait
/// ran out, with the reason on err. A folder that cannot hold a lock (read-only) is gone on with,
/// without one.
bool lockAlbum(AlbumLock& lock, const QString& folder, QTextStream& err, std::chrono::milliseconds wait,
               bool quiet = false);

/// The photos a loaded list found added, changed or vanished in its folder, on err; quiet: only
/// the vanished ones, a problem of the album.
void reportNews(QTextStream& err, const ListNews& news, bool quiet = false);

/// Notes on remembered files the options file named but that are not used: a style sheet or
/// background that is neither shipped nor inside the photo folder, and was not given again.
QStringList refusedNotes(const AlbumOptionsFile::Refused& refused, const AlbumOptions& options);

} // namespace CliFolder
