#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "InstanceChannel.h"
#include "TestSupport.h"
#include "core/DesktopRegistration.h"

namespace {

const QString kQuillet = QStringLiteral(QUILLET_BIN_DIR "/quillet");

int RunQuillet(const QStringList& args, int timeoutMs = 30000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(kQuillet, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

QString PdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

TEST(Startup, SecondStartHandsAllItsFilesToTheRunningEditor)
{
    CInstanceChannel running;
    ASSERT_TRUE(running.Listen());
    QSignalSpy received(&running, &CInstanceChannel::filesReceived);
    QTemporaryDir dir;
    QStringList files;
    for (const char* name : {"a.php", "b.php", "c.php"}) {
        files << dir.filePath(QLatin1String(name));
        ASSERT_TRUE(QuilletTest::WriteFile(files.constLast(), "<?php ?>"));
    }

    QProcess second;
    second.start(kQuillet, files);
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return second.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return received.count() == 1; }));
    EXPECT_EQ(received.at(0).at(0).toStringList(), files);

    // Only one editor listens at a time.
    CInstanceChannel other;
    EXPECT_FALSE(other.Listen());
}

TEST(Startup, StartsThatEndEarlyKeepTheRecentFileList)
{
    const QString conf = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Fennroth/Quillet.conf";
    const QStringList recent = {"/site/one.php", "/site/two.php"};
    {
        QSettings settings(conf, QSettings::IniFormat);
        settings.remove("Recent File List");
        settings.setValue("Recent File List/File1", recent[0]);
        settings.setValue("Recent File List/File2", recent[1]);
    }
    const auto listed = [&conf] {
        QSettings settings(conf, QSettings::IniFormat);
        return QStringList{settings.value("Recent File List/File1").toString(),
                           settings.value("Recent File List/File2").toString()};
    };

    ASSERT_EQ(RunQuillet({QStringLiteral("-unregister")}), 0);
    EXPECT_EQ(listed(), recent);

    // A start that hands its file to the running editor.
    CInstanceChannel running;
    ASSERT_TRUE(running.Listen());
    QSignalSpy received(&running, &CInstanceChannel::filesReceived);
    QTemporaryDir dir;
    const QString file = dir.filePath("handed.php");
    ASSERT_TRUE(QuilletTest::WriteFile(file, "<?php ?>"));
    QProcess second;
    second.start(kQuillet, {file});
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return second.state() == QProcess::NotRunning; }, 30000));
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(listed(), recent);
}

TEST(Startup, StaleSocketOfACrashedEditorDoesNotStopTheNextStart)
{
    const QByteArray path = CInstanceChannel::ServerName().toLocal8Bit();
    ::unlink(path.constData());
    // A socket file nobody listens on, as a killed editor leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<size_t>(path.size()), sizeof(addr.sun_path));
    memcpy(addr.sun_path, path.constData(), static_cast<size_t>(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));

    CInstanceChannel channel;
    EXPECT_TRUE(channel.Listen());
    EXPECT_TRUE(channel.IsListening());
}

TEST(Startup, PrintToPdfRegistersAndRemembersTheFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("long.php");
    QByteArray text;
    for (int i = 1; i <= 400; ++i)
        text += "line " + QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(QuilletTest::WriteFile(file, text));
    const QString pdf = dir.filePath("out.pdf");
    ASSERT_EQ(RunQuillet({QStringLiteral("-pt"), file, pdf}), 0);
    const QString printed = PdfText(pdf);
    // Every page is printed, not only the first three.
    EXPECT_TRUE(printed.contains("line 1\n") || printed.contains("line 1 "));
    EXPECT_TRUE(printed.contains("line 400"));
    EXPECT_GT(printed.count(u'\f'), 3);

    CDesktopRegistration reg(kQuillet);
    EXPECT_TRUE(QFile::exists(reg.DesktopEntryPath()));
    EXPECT_EQ(reg.CurrentDefault(), "quillet.desktop");

    // The editor's settings file: ~/.config/Fennroth/Quillet.conf.
    QSettings settings(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Fennroth/Quillet.conf",
                       QSettings::IniFormat);
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), file);

    ASSERT_EQ(RunQuillet({QStringLiteral("-Unregister")}), 0);
    EXPECT_FALSE(QFile::exists(reg.DesktopEntryPath()));
    EXPECT_EQ(reg.CurrentDefault(), "");
}

TEST(Startup, PrintingThatWritesNothingEndsWithAnErrorOnStandardError)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("page.php");
    ASSERT_TRUE(QuilletTest::WriteFile(file, "<?php echo 1; ?>\n"));
    const struct
    {
        QStringList args;
        int exitCode;
        QString output;   // a file that must be there afterwards
    } cases[] = {
        {{"-pt", file, dir.filePath("missing/dir/out.pdf")}, 1, {}},
        {{"-pt", file, "no such printer"}, 1, {}},
        {{"-pt", dir.filePath("missing.php"), dir.filePath("x.pdf")}, 1, {}},
        {{"-pt", file, dir.filePath("out/ok.pdf")}, 0, dir.filePath("out/ok.pdf")},
    };
    ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess p;
        p.start(kQuillet, c.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.exitCode);
        // Our own lines, whatever else the libraries may write there.
        QStringList said;
        for (const QString& line : QString::fromUtf8(p.readAllStandardError()).split(u'\n'))
            if (line.startsWith(QLatin1String("quillet: ")))
                said << line;
        if (c.exitCode != 0) {
            ASSERT_EQ(said.size(), 1) << said.join('\n').toStdString();
            EXPECT_TRUE(said[0].contains(c.args[1])) << said[0].toStdString();
        } else {
            EXPECT_TRUE(said.isEmpty()) << said.join('\n').toStdString();
            EXPECT_GT(QFileInfo(c.output).size(), 0);
            EXPECT_TRUE(PdfText(c.output).contains("echo 1;"));
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("x.pdf")));
}
