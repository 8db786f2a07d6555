// SPDX-License-Identifier: MIT
#include "catalogue/albumlock.h"

#include <QDir>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSysInfo>

Q_LOGGING_CATEGORY(lcLock, "lumivert.catalogue.lock")

AlbumLock::AlbumLock(const QString& photoFolder) : m_file(std::make_unique<QLockFile>(path(photoFolder)))
{
    // No lock is ever stale by its age alone: a creation of many photos may hold it for minutes, and
    // a lock of another machine cannot be checked. A lock of this machine whose process has gone is
    // still taken over at once (QLockFile checks the process, and its file lock, before the age).
    m_file->setStaleLockTime(0);
}

AlbumLock::~AlbumLock() = default;

QString AlbumLock::path(const QString& photoFolder)
{
    return QDir::toNativeSeparators(QDir(photoFolder).filePath(QStringLiteral("Lumivert.lock")));
}

AlbumLock::State AlbumLock::tryLock()
{
    if (m_held)
        return State::Held;
    if (m_file->tryLock(0)) {
        m_held = true;
        return State::Held;
    }
    if (m_file->error() != QLockFile::LockFailedError) {
        qCDebug(lcLock) << "no lock in" << m_file->fileName() << "error" << m_file->error();
        return State::Unavailable;
    }
    if (!m_file->getLockInfo(&m_holderPid, &m_holderHost, &m_holderProgram)) {
        // The holder is between creating the file and writing its details: busy all the same.
        m_holderPid = 0;
        m_holderHost.clear();
        m_holderProgram.clear();
    }
    return State::Busy;
}

void AlbumLock::unlock()
{
    if (m_held)
        m_file->unlock();
    m_held = false;
}

bool AlbumLock::heldByAnotherMachine() const
{
    return !m_holderHost.isEmpty() && m_holderHost != QSysInfo::machineHostName();
}
