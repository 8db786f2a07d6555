// SPDX-License-Identifier: MIT
#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <deque>
#include <functional>
#include <mutex>

/// The window's own sharper pictures of the photos for a screen that draws more than one device
/// pixel per logical pixel (a desktop scaled by two): the list keeps its 120 x 90 pictures, and
/// the window draws these in their place, made at the screen's device pixel ratio. Held in memory
/// only (a bounded cache, by photo file), never in the list file.
///
/// The importer puts in the pictures it makes from the decode it does anyway; for a list loaded
/// from its file, request() makes a missing picture on a worker thread and calls back on the
/// thread of the receiver, so painting never waits for a decode. The newest request is served
/// first (the rows painted last are those in view), and only the newest MaxQueued wait: rows
/// scrolled past long ago are dropped, to be asked for again if they are painted again. At ratio
/// 1 nothing is kept.
/// One program-wide instance; every member may be called from any thread.
class SharpPictures
{
public:
    static SharpPictures& instance();
    /// Requests waiting beyond this many drop the oldest (several screens of rows).
    static constexpr int MaxQueued = 64;

    /// The screen's device pixel ratio (the window sets it at start); 1 keeps nothing.
    void setDevicePixelRatio(qreal ratio);
    qreal devicePixelRatio() const;
    /// The box a picture of box (logical pixels) is made in at the ratio: box scaled and rounded
    /// up; box itself at ratio 1.
    QSize deviceBox(QSize box) const;

    /// Keeps the photo's picture as read (not turned), fitted to deviceBox(thumbnail box).
    void insert(const QString& photoPath, const QImage& picture);
    /// The photo's picture turned by the rotation code, with its device pixel ratio set; null when
    /// there is none (yet) or at ratio 1.
    QImage picture(const QString& photoPath, int rotationCode) const;
    /// Makes the photo's picture on a worker when it is not held and not being made; then calls
    /// done in receiver's thread (nothing when receiver has gone). Returns at once.
    void request(const QString& photoPath, QObject* receiver, std::function<void()> done);
    /// Waits for the pictures being made (for tests and shut-down).
    void waitForDone();
    /// Forgets every picture and every request still waiting.
    void clear();

private:
    struct Request {
        QString photoPath;
        QSize box;
        QPointer<QObject> receiver;
        std::function<void()> done;
    };
    SharpPictures();
    void serve();
    void make(const Request& request);
    mutable std::mutex m_mutex;
    qreal m_ratio = 1.0;
    mutable QCache<QString, QImage> m_pictures; // by photo path + "#" + rotation code
    QSet<QString> m_pending;                    // waiting or being made
    std::deque<Request> m_queue;                // waiting, newest at the back
    bool m_serving = false;                     // a worker is taking requests from the queue
    QSet<QString> m_failed;                     // photos that could not be read: not tried again on every paint
    QThreadPool m_pool;
};
