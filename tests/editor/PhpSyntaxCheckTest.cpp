// A syntax check that is stopped takes down everything its php started.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <Qsci/qsciscintilla.h>

#include <csignal>
#include <functional>
#include <memory>

#include "PhpSyntaxCheck.h"
#include "TestSupport.h"

namespace {

// Whether pid runs (a zombie waiting for its parent does not).
bool Running(pid_t pid)
{
    const QByteArray stat = QuilletTest::ReadFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype end = stat.lastIndexOf(')');
    return end > 0 && end + 2 < stat.size() && stat.at(end + 2) != 'Z';
}

// Polls pred until it holds or timeoutMs passes. Nothing here needs events,
// and none are processed: deletions other tests left pending stay pending.
bool Until(const std::function<bool()>& pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred() && !deadline.hasExpired())
        QThread::msleep(5);
    return pred();
}

} // namespace

TEST(PhpSyntaxCheckTest, AStoppedCheckEndsTheChildrenOfItsPhpToo)
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("child.pid"));
    // A php that starts a child of its own and hangs.
    const QString php = dir.filePath(QStringLiteral("php"));
    ASSERT_TRUE(QuilletTest::WriteFile(php, "#!/bin/sh\nsleep 600 &\necho $! > '" + QFile::encodeName(pidFile) +
                                                "'\nwait\n"));
    QFile::setPermissions(php, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSettings().setValue(QStringLiteral("Settings/PhpPath"), php);
    QsciScintilla editor;
    for (const char* how : {"a new check", "the check's end"}) {
        SCOPED_TRACE(how);
        QFile::remove(pidFile);
        auto check = std::make_unique<CPhpSyntaxCheck>();
        ASSERT_TRUE(check->Start(&editor));
        pid_t child = 0;
        ASSERT_TRUE(Until([&] {
            child = QuilletTest::ReadFile(pidFile).trimmed().toInt();
            return child > 0;
        }, 20000));
        ASSERT_TRUE(Running(child));
        if (how == std::string("a new check")) {
            QSettings().setValue(QStringLiteral("Settings/PhpPath"), dir.filePath(QStringLiteral("none")));
            EXPECT_FALSE(check->Start(&editor));   // stops the running one, starts none
            QSettings().setValue(QStringLiteral("Settings/PhpPath"), php);
        }
        check.reset();
        EXPECT_TRUE(Until([&] { return !Running(child); }, 10000));
        ::kill(child, SIGKILL);   // left over when the test fails
    }
    QSettings().remove(QStringLiteral("Settings/PhpPath"));
}
