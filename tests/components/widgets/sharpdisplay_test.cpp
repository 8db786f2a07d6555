// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>

#include "components/sharppictures.h"
#include "components/widgets/sharpdisplay.h"

// The displays' pictures have the screen's pixels: at ratio 2 a 240 x 180 display gets 480 x 360
// device pixels of a large picture, and a small one is not blown up when only shrinking is asked.
TEST(SharpDisplay, PicturesAreMadeAtTheScreensDevicePixelRatio)
{
    QImage large(1000, 750, QImage::Format_RGB32);
    large.fill(Qt::darkGreen);
    QImage small(60, 45, QImage::Format_RGB32);
    small.fill(Qt::red);
    const struct {
        qreal ratio;
        QSize largeDevice;
        QSize smallDevice;
    } rows[] = {{1.0, QSize(240, 180), QSize(60, 45)}, {2.0, QSize(480, 360), QSize(120, 90)}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.ratio);
        SharpPictures::instance().setDevicePixelRatio(row.ratio);
        const QPixmap shown = SharpDisplay::fitted(large, QSize(240, 180));
        EXPECT_EQ(shown.size(), row.largeDevice);
        EXPECT_EQ(shown.devicePixelRatio(), row.ratio);
        EXPECT_EQ(shown.deviceIndependentSize().toSize(), QSize(240, 180));
        EXPECT_EQ(SharpDisplay::fitted(small, QSize(240, 180), true).size(), row.smallDevice);
        EXPECT_TRUE(SharpDisplay::fitted(QImage(), QSize(240, 180)).isNull());
    }
    SharpPictures::instance().setDevicePixelRatio(1.0);
}
