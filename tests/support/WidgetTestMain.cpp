// main() of every widget test binary: a QApplication on the offscreen platform
// (unless QT_QPA_PLATFORM is set) with settings and data directories of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestSupport.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never touch the user's settings or desktop files: every binary runs
    // against a fresh home of its own.
    QTemporaryDir home;
    QuilletTest::UseTemporaryHome(home.path());
    QStandardPaths::setTestModeEnabled(true);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
