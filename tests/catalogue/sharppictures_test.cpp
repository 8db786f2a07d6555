// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "catalogue/photoimport.h"
#include "common/testutil.h"
#include "components/sharppictures.h"

namespace
{
// Restores the program-wide ratio and empties the pictures whatever a test did.
struct RatioGuard {
    explicit RatioGuard(qreal ratio) { SharpPictures::instance().setDevicePixelRatio(ratio); }
    ~RatioGuard()
    {
        SharpPictures::instance().waitForDone();
        SharpPictures::instance().setDevicePixelRatio(1.0);
        SharpPictures::instance().clear();
    }
};
} // namespace

// At ratio 2 the import keeps a 240 x 180 picture beside the list's 120 x 90 one, both from one
// decode; at ratio 1 nothing is kept and the list's picture is as it always was.
TEST(SharpPictures, ImportKeepsAPictureAtTheScreensRatioAndTheListKeepsItsOwn)
{
    QTemporaryDir dir;
    const QString path = TestUtil::writeJpeg(dir.filePath("a.jpg"), 1600, 1200, std::nullopt, false, 3);
    PhotoRow designed;
    {
        const RatioGuard ratio(1.0);
        designed = PhotoImport::readPhotoRow(path);
        EXPECT_TRUE(SharpPictures::instance().picture(path, 0).isNull());
    }
    const RatioGuard ratio(2.0);
    const PhotoRow row = PhotoImport::readPhotoRow(path);
    EXPECT_EQ(row.picture.size(), QSize(120, 90));
    EXPECT_EQ(row.picture.size(), designed.picture.size());
    const QImage sharp = SharpPictures::instance().picture(path, 0);
    EXPECT_EQ(sharp.size(), QSize(240, 180));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(SharpPictures::instance().picture(path, 1).size(), QSize(180, 240)); // turned
}

// A list loaded from its file has no pictures: request() makes them on a worker and calls back
// on the receiver's thread; a photo that cannot be read is not tried on every paint.
TEST(SharpPictures, RequestMakesTheMissingPictureWithoutWaitingAndCallsBack)
{
    QTemporaryDir dir;
    const QString path = TestUtil::writeJpeg(dir.filePath("b.jpg"), 800, 600, std::nullopt, false, 4);
    const QString broken = dir.filePath("broken.jpg");
    TestUtil::writeAll(broken, "not a photo");
    const RatioGuard ratio(2.0);
    QObject receiver;
    int calls = 0;
    SharpPictures::instance().request(path, &receiver, [&calls] { ++calls; });
    SharpPictures::instance().request(broken, &receiver, [&calls] { calls += 100; });
    SharpPictures::instance().waitForDone();
    QElapsedTimer timer;
    timer.start();
    while (calls == 0 && timer.elapsed() < 5000)
        QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(SharpPictures::instance().picture(path, 0).size(), QSize(240, 180));
    EXPECT_TRUE(SharpPictures::instance().picture(broken, 0).isNull());
}

// Scrolling through a long list asks for more pictures than can be made at once: the newest are
// served and the oldest beyond MaxQueued dropped, and a dropped one asked for again is made.
TEST(SharpPictures, RequestsBeyondTheQueueDropTheOldestAndAskingAgainMakesIt)
{
    QTemporaryDir dir;
    const int count = SharpPictures::MaxQueued + 10;
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << TestUtil::writeJpeg(dir.filePath(QStringLiteral("p%1.jpg").arg(i)), 640, 480, std::nullopt, false, i);
    const RatioGuard ratio(2.0);
    SharpPictures& sharp = SharpPictures::instance();
    QObject receiver;
    for (const QString& path : paths)
        sharp.request(path, &receiver, [] {});
    sharp.waitForDone();
    int dropped = 0;
    for (int i = 0; i < count; ++i) {
        const bool made = !sharp.picture(paths.at(i), 0).isNull();
        if (i >= count - SharpPictures::MaxQueued)
            EXPECT_TRUE(made) << i;
        else if (!made)
            ++dropped;
    }
    // The worker takes one request at most while the rest are being asked for.
    EXPECT_GE(dropped, count - SharpPictures::MaxQueued - 2);
    sharp.request(paths.at(1), &receiver, [] {});
    sharp.waitForDone();
    EXPECT_FALSE(sharp.picture(paths.at(1), 0).isNull());
}
