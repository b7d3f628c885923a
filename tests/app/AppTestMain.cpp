// Starts the real application in the test process (waiting for open
// requests, no splash), then runs the tests against its main frame.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>

#include "QuilletApp.h"
#include "TestSupport.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    QuilletTest::UseTemporaryHome(home.path());
    QStandardPaths::setTestModeEnabled(true);
    testing::InitGoogleTest(&argc, argv);
    // During test discovery no application is needed.
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--gtest_list_tests"))
            return RUN_ALL_TESTS();
    int appArgc = 3;
    char arg0[] = "quillet", arg1[] = "-dde", arg2[] = "-embedding";
    char* appArgv[] = {arg0, arg1, arg2, nullptr};
    CQuilletApp app(appArgc, appArgv);
    if (!app.InitInstance())
        return 1;
    const int rc = RUN_ALL_TESTS();
    app.ExitInstance(rc);
    return rc;
}
