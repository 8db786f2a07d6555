// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "catalogue/shootingtext.h"

namespace
{

struct Fraction {
    qint64 a;
    qint64 b;
    const char* expected;
};

TEST(ShootingText, ShutterSpeedFromExposureFraction)
{
    const Fraction cases[] = {
        {10, 1600, "1/160sec"},
        {1, 3, "1/3sec"},
        {3, 1000, "1/333sec"},
        {0, 0, "0/0sec"},
        {10, 1250, "1/125sec"},
        {1, 250, "1/250sec"},
        {1, 1, "1/1sec"},
        {5, 5, "1/1sec"},
        {0, 100, "0/100sec"},
        {2, 3, "1/2sec"},
        {1, 0, "1/0sec"},
        {30, 10, "3sec"},
        // Longer than a second: shown in seconds, never as a reciprocal below one.
        {2, 1, "2sec"},
        {15, 1, "15sec"},
        {10, 3, "3.3sec"},
        {5, 2, "2.5sec"},
    };
    for (const Fraction& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << "/" << c.b);
        EXPECT_EQ(ShootingText::shutterText(c.a, c.b).toStdString(), c.expected);
    }
}

TEST(ShootingText, ApertureFromFNumberFraction)
{
    const Fraction cases[] = {
        {28, 10, "f2.8"},  {11, 1, "f11.0"}, {0, 0, "不明"}, {28, 0, "不明"},
        {28, -10, "不明"}, {56, 10, "f5.6"}, {0, 1, "f0.0"}, {160, 10, "f16.0"},
    };
    for (const Fraction& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << "/" << c.b);
        EXPECT_EQ(ShootingText::apertureText(c.a, c.b), QString::fromUtf8(c.expected));
    }
}

TEST(ShootingText, ModelIsPrefixedByMakerOnlyWhenItLacksIt)
{
    struct Case {
        const char* maker;
        const char* model;
        const char* expected;
    } cases[] = {
        {"ABC", "ABC Shot 5", "ABC Shot 5"},           {"ABC", "Shot 5", "ABC Shot 5"},
        {"ABC", "abc Shot 5", "ABC abc Shot 5"}, // case-sensitive
        {"ABC Corp", "Shot ABC", "ABC Corp Shot ABC"}, {"", "Shot 5", "Shot 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        EXPECT_EQ(ShootingText::modelText(QString::fromUtf8(c.maker), QString::fromUtf8(c.model)).toStdString(),
                  c.expected);
    }
}

TEST(ShootingText, DateSeparatorsBecomeSlashesWherePresent)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"2004:03:05 12:00:00", "2004/03/05 12:00:00"},
        {"", ""},
        {"2004", "2004"},
        {"2004:", "2004/"},
        {"2004:03", "2004/03"},
        {"2004:03:", "2004/03/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(ShootingText::dateText(QString::fromUtf8(c.in)).toStdString(), c.out);
    }
}

} // namespace
