// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>

class QLockFile;

/// The lock that keeps two runs of the program (windows or lumivert-cli, on this machine or on
/// others sharing the folder) from writing one photo folder's list, options and album at once.
/// It is the file "Lumivert.lock" beside "Lumivert.bin", never inside the album folder. A lock left
/// by a process of this machine that is gone is taken over at once; a lock of another machine is
/// never taken over, however old: only its holder (or the user, by deleting it) lets it go.
/// Released when unlocked or destroyed. One thread at a time.
class AlbumLock
{
public:
    enum class State {
        Held,       // this object holds the lock
        Busy,       // another run holds it (holderHost/holderPid say which)
        Unavailable // the folder cannot hold a lock (read-only, missing): nothing can be written there
    };

    explicit AlbumLock(const QString& photoFolder);
    ~AlbumLock();
    AlbumLock(const AlbumLock&) = delete;
    AlbumLock& operator=(const AlbumLock&) = delete;

    static QString path(const QString& photoFolder);

    /// One attempt, without waiting; Held again when already held.
    State tryLock();
    bool isHeld() const { return m_held; }
    void unlock();

    /// The holder seen by the last Busy attempt: its machine's name, its process and program.
    QString holderHost() const { return m_holderHost; }
    qint64 holderPid() const { return m_holderPid; }
    QString holderProgram() const { return m_holderProgram; }
    /// True when that holder runs on another machine.
    bool heldByAnotherMachine() const;

private:
    std::unique_ptr<QLockFile> m_file;
    bool m_held = false;
    QString m_holderHost;
    qint64 m_holderPid = 0;
    QString m_holderProgram;
};
