// SPDX-License-Identifier: MIT
// Test main for widgets: a QApplication on the offscreen platform unless a display is asked for.
#include <gtest/gtest.h>

#include <QApplication>

#include "components/imaging.h"
#include "components/workerpool.h"

int main(int argc, char** argv)
{
    // Test discovery runs this binary at build time without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    Imaging::Session imaging;
    WorkerPool::setWindowProgram(true); // as the window program runs its workers
    return RUN_ALL_TESTS();
}
