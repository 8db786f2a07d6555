// SPDX-License-Identifier: MIT
#include "app/clifolder.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <QTextStream>
#include <QThread>

#include <algorithm>

#include "catalogue/albumlock.h"
#include "catalogue/photolistupdate.h"

namespace CliFolder
{

namespace
{

constexpr std::chrono::minutes DefaultLockWait{10};
constexpr std::chrono::milliseconds LockPoll{200};
// Names beyond this many are counted, not listed.
constexpr int ListedNames = 20;

QString named(const QStringList& names)
{
    if (names.size() > ListedNames)
        return names.mid(0, ListedNames).join(QStringLiteral(", ")) +
               QStringLiteral(" and %1 more").arg(names.size() - ListedNames);
    return names.join(QStringLiteral(", "));
}

QString holder(const AlbumLock& lock)
{
    if (lock.heldByAnotherMachine())
        return QStringLiteral(" (on the machine %1, process %2)").arg(lock.holderHost()).arg(lock.holderPid());
    if (lock.holderPid() > 0)
        return QStringLiteral(" (process %1)").arg(lock.holderPid());
    return QString();
}

} // namespace

std::chrono::milliseconds lockWait()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("LUMIVERT_LOCK_WAIT", &ok);
    if (ok && seconds >= 0)
        return std::chrono::seconds(seconds);
    return DefaultLockWait;
}

bool lockAlbum(AlbumLock& lock, const QString& folder, QTextStream& err, std::chrono::milliseconds wait)
{
    AlbumLock::State state = lock.tryLock();
    if (state == AlbumLock::State::Busy) {
        err << "Another Lumivert is writing this album; waiting…" << holder(lock) << "\n";
        err.flush();
        const QDeadlineTimer deadline(wait);
        while (state == AlbumLock::State::Busy && !deadline.hasExpired()) {
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(LockPoll.count(), deadline.remainingTime())));
            state = lock.tryLock();
        }
    }
    if (state == AlbumLock::State::Busy) {
        err << "lumivert-cli: gave up waiting for the other Lumivert" << holder(lock) << " after "
            << std::chrono::duration_cast<std::chrono::seconds>(wait).count() << " seconds; nothing was written.\n"
            << (lock.heldByAnotherMachine()
                    ? "A lock of another machine is never taken over: when no Lumivert runs there any more,\n"
                      "delete "
                    : "It holds ")
            << AlbumLock::path(folder) << "\n";
        err.flush();
        return false;
    }
    // A folder that cannot hold the lock cannot hold the list or the album either: their own
    // errors will say so.
    return true;
}

void reportNews(QTextStream& err, const ListNews& news)
{
    if (const auto n = news.added.size(); n > 0) {
        const QString names = n <= 2 ? news.added.join(QStringLiteral(", "))
                                     : news.added.first() + QStringLiteral(" … ") + news.added.last();
        err << "lumivert-cli: " << n << (n == 1 ? " new photo was" : " new photos were")
            << " added at the end: " << names << "\n";
    }
    if (const auto n = news.refreshed.size(); n > 0)
        err << "lumivert-cli: " << n << (n == 1 ? " photo was" : " photos were")
            << " changed since the list was saved and read afresh: " << named(news.refreshed) << "\n";
    if (const auto n = news.vanished.size(); n > 0)
        err << "lumivert-cli: " << n << (n == 1 ? " listed photo is" : " listed photos are")
            << " no longer in the folder (kept in the list; the album shows a note in " << (n == 1 ? "its" : "their")
            << " place): " << named(news.vanished) << "\n";
}

QStringList refusedNotes(const AlbumOptionsFile::Refused& refused, const AlbumOptions& options)
{
    QStringList notes;
    // A value given again on this command line replaces the remembered one: nothing to say then.
    if (!refused.theme.isEmpty() && options.themeFile.isEmpty())
        notes << QStringLiteral("the remembered style sheet %1 is not used (only the program's own style sheets "
                                "and files inside the photo folder are taken from Lumivert.opt; --theme gives it "
                                "again); the first style sheet is used")
                     .arg(refused.theme);
    if (!refused.background.isEmpty() && options.backgroundFile.isEmpty())
        notes << QStringLiteral("the remembered background image %1 is not used (only the program's own images "
                                "and files inside the photo folder are taken from Lumivert.opt; --background "
                                "gives it again); the album has no background")
                     .arg(refused.background);
    return notes;
}

} // namespace CliFolder
