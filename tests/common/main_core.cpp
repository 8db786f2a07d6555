// SPDX-License-Identifier: MIT
// Test main for logic libraries: a QCoreApplication only, which proves they need no display.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "components/imaging.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    Imaging::Session imaging;
    return RUN_ALL_TESTS();
}
