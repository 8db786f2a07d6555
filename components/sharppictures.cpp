// SPDX-License-Identifier: MIT
#include "components/sharppictures.h"

#include <QMetaObject>

#include <cmath>

#include "components/imaging.h"
#include "components/photorow.h"

namespace
{
// About 40 MB of pictures at ratio 2 (240 x 180 x 4 bytes each): the rows in view and many more.
constexpr int CacheKilobytes = 40 * 1024;

QString key(const QString& path, int rotationCode)
{
    return path + QLatin1Char('#') + QString::number(rotationCode);
}
} // namespace

SharpPictures& SharpPictures::instance()
{
    static SharpPictures pictures;
    return pictures;
}

SharpPictures::SharpPictures() : m_pictures(CacheKilobytes)
{
    // One worker: the pictures are small, and the window's own work keeps the other core.
    m_pool.setMaxThreadCount(1);
}

void SharpPictures::setDevicePixelRatio(qreal ratio)
{
    const std::lock_guard lock(m_mutex);
    if (ratio != m_ratio) {
        m_pictures.clear();
        m_failed.clear();
    }
    m_ratio = std::max<qreal>(1.0, ratio);
}

qreal SharpPictures::devicePixelRatio() const
{
    const std::lock_guard lock(m_mutex);
    return m_ratio;
}

QSize SharpPictures::deviceBox(QSize box) const
{
    const qreal ratio = devicePixelRatio();
    return QSize(int(std::ceil(box.width() * ratio)), int(std::ceil(box.height() * ratio)));
}

void SharpPictures::insert(const QString& photoPath, const QImage& picture)
{
    if (picture.isNull())
        return;
    const std::lock_guard lock(m_mutex);
    if (m_ratio <= 1.0)
        return;
    QImage stored = picture;
    stored.setDevicePixelRatio(m_ratio);
    const int cost = std::max<qsizetype>(1, stored.sizeInBytes() / 1024);
    m_pictures.insert(key(photoPath, 0), new QImage(stored), cost);
}

QImage SharpPictures::picture(const QString& photoPath, int rotationCode) const
{
    const std::lock_guard lock(m_mutex);
    if (m_ratio <= 1.0)
        return {};
    if (const QImage* turned = m_pictures.object(key(photoPath, rotationCode)))
        return *turned;
    const QImage* base = m_pictures.object(key(photoPath, 0));
    if (!base || rotationCode == 0)
        return {};
    QImage turned = Imaging::rotateByCode(*base, rotationCode);
    if (turned.isNull())
        return {};
    turned.setDevicePixelRatio(m_ratio);
    m_pictures.insert(key(photoPath, rotationCode), new QImage(turned),
                      std::max<qsizetype>(1, turned.sizeInBytes() / 1024));
    return turned;
}

void SharpPictures::request(const QString& photoPath, QObject* receiver, std::function<void()> done)
{
    const QSize box = deviceBox(QSize(ThumbnailBoxWidth, ThumbnailBoxHeight));
    const std::lock_guard lock(m_mutex);
    if (m_ratio <= 1.0 || m_pending.contains(photoPath) || m_failed.contains(photoPath) ||
        m_pictures.contains(key(photoPath, 0)))
        return;
    m_pending.insert(photoPath);
    m_queue.push_back({photoPath, box, receiver, std::move(done)});
    if (m_queue.size() > size_t(MaxQueued)) {
        m_pending.remove(m_queue.front().photoPath);
        m_queue.pop_front();
    }
    if (!m_serving) {
        m_serving = true;
        m_pool.start([this] { serve(); });
    }
}

// The worker: newest request first, until none waits.
void SharpPictures::serve()
{
    for (;;) {
        Request next;
        {
            const std::lock_guard lock(m_mutex);
            if (m_queue.empty()) {
                m_serving = false;
                return;
            }
            next = std::move(m_queue.back());
            m_queue.pop_back();
        }
        make(next);
    }
}

void SharpPictures::make(const Request& request)
{
    const Imaging::LoadResult loaded = Imaging::load(request.photoPath, request.box);
    if (loaded.ok())
        insert(request.photoPath, loaded.image);
    {
        const std::lock_guard lock(m_mutex);
        m_pending.remove(request.photoPath);
        if (!loaded.ok())
            m_failed.insert(request.photoPath);
    }
    if (request.receiver && loaded.ok())
        QMetaObject::invokeMethod(request.receiver, request.done, Qt::QueuedConnection);
}

void SharpPictures::waitForDone()
{
    m_pool.waitForDone();
}

void SharpPictures::clear()
{
    const std::lock_guard lock(m_mutex);
    m_pictures.clear();
    m_failed.clear();
    for (const Request& waiting : m_queue)
        m_pending.remove(waiting.photoPath);
    m_queue.clear();
}
