// A syntax check that is stopped takes down everything its php started.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <Qsci/qsciscintilla.h>

#include <csignal>
#include <optional>

#include "PhpSyntaxCheck.h"
#include "TestSupport.h"

// Whether pid runs (a zombie waiting for its parent does not).
static bool Running(pid_t pid)
{
    const QByteArray stat = QuilletTest::ReadFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype end = stat.lastIndexOf(')');
    return end > 0 && end + 2 < stat.size() && stat.at(end + 2) != 'Z';
}

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
    std::optional<CPhpSyntaxCheck> check(std::in_place);
    ASSERT_TRUE(check->Start(&editor));
    // Polled without processing events: nothing here needs them.
    pid_t child = 0;
    for (QDeadlineTimer deadline(20000); child <= 0 && !deadline.hasExpired(); QThread::msleep(5))
        child = QuilletTest::ReadFile(pidFile).trimmed().toInt();
    ASSERT_GT(child, 0);
    check.reset();   // stopped as a timeout, a new check or the editor's end stops it
    QDeadlineTimer deadline(10000);
    while (Running(child) && !deadline.hasExpired())
        QThread::msleep(5);
    EXPECT_FALSE(Running(child));
    ::kill(child, SIGKILL);   // left over when the test fails
    QSettings().remove(QStringLiteral("Settings/PhpPath"));
}
