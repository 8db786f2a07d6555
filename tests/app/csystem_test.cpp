// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/csystem.h"

namespace
{

TEST(CSystem, PlanFollowsTheArguments)
{
    struct Row {
        const char* what;
        std::optional<QVariant> style, wait;
        std::optional<bool> plan;
    };
    const Row rows[] = {
        {"nothing given", std::nullopt, std::nullopt, false},
        {"numeric style", QVariant(1), std::nullopt, false},
        {"style as numeric text", QVariant(QStringLiteral("3")), std::nullopt, false},
        {"style as other text", QVariant(QStringLiteral("normal")), std::nullopt, std::nullopt},
        {"style empty text", QVariant(QString()), QVariant(true), std::nullopt},
        {"wait true", std::nullopt, QVariant(true), true},
        {"wait false", QVariant(0), QVariant(false), false},
        {"wait number", std::nullopt, QVariant(-1), true},
        {"wait zero", std::nullopt, QVariant(0), false},
        {"wait text", std::nullopt, QVariant(QStringLiteral("yes")), std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(CSystem::plan(r.style, r.wait), r.plan);
    }
}

TEST(CSystem, WaitsForTheCommandWhenAsked)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("done"));
    CSystem().Shell(QStringLiteral("touch \"%1\"").arg(marker), QVariant(1), QVariant(true));
    EXPECT_TRUE(QFile::exists(marker));
}

TEST(CSystem, NonNumericWindowStyleDoesNothing)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("done"));
    CSystem().Shell(QStringLiteral("touch \"%1\"").arg(marker), QVariant(QStringLiteral("hidden")), QVariant(true));
    EXPECT_FALSE(QFile::exists(marker));
    CSystem().Shell(QStringLiteral("touch \"%1\"").arg(marker), QVariant(1), QVariant(QStringLiteral("later")));
    EXPECT_FALSE(QFile::exists(marker));
}

TEST(CSystem, CommandThatCannotStartIsIgnored)
{
    CSystem().Shell(QStringLiteral("lumivert-no-such-program --x"), std::nullopt, QVariant(true));
    CSystem().Shell(QString(), std::nullopt, QVariant(true));
    SUCCEED();
}

} // namespace
