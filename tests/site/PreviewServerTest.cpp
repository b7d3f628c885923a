// The preview server on a real php: what it serves, how it stops, that it
// dies with its owner, each failure said once, and the output pane's bound.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <QTcpServer>
#include <QTcpSocket>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ServerOutputPane.h"
#include "TestSupport.h"
#include "core/PreviewServer.h"

namespace {
QString Php()
{
    return QStandardPaths::findExecutable(QStringLiteral("php"));
}

// The response to a GET of path; empty when nothing answers.
QByteArray Get(int port, const QByteArray& path)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    if (!socket.waitForConnected(10000))
        return {};
    socket.write("GET " + path + " HTTP/1.0\r\n\r\n");
    while (socket.waitForReadyRead(10000)) {}   // until the server closes
    return socket.readAll();
}

class PreviewServerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (Php().isEmpty())
            GTEST_SKIP() << "no php";
        QDir(m_dir.path()).mkpath(QStringLiteral("sub"));
        QuilletTest::WriteFile(m_dir.filePath(QStringLiteral("sub/a b#1.php")), "<?php echo 6 * 7;");
    }
    QTemporaryDir m_dir;
};
} // namespace

TEST(PreviewServerRoot, TheSiteWhenTheFileIsInItElseTheFilesFolder)
{
    const struct { const char *file, *site, *root; } cases[] = {
        {"/s/a/b.php", "/s", "/s"},   {"/s/b.php", "/s/", "/s"},   {"/t/x.php", "/s", "/t"},
        {"/s2/x.php", "/s", "/s2"},   {"", "/s", "/s"},            {"/t/x.php", "", "/t"},
        {"", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPreviewServer::RootFor(QLatin1String(c.file), QLatin1String(c.site)), QLatin1String(c.root))
            << c.file << " " << c.site;
}

TEST_F(PreviewServerTest, ServesTheFilesAddressIsReusedAndStops)
{
    CPreviewServer server;
    QSignalSpy failed(&server, &CPreviewServer::failed);
    ASSERT_TRUE(server.Start(Php(), m_dir.path()));
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return server.IsReady(); }, 20000));
    const QUrl url = server.AddressOf(m_dir.filePath(QStringLiteral("sub/a b#1.php")));
    EXPECT_EQ(url.toString(QUrl::FullyEncoded), QStringLiteral("http://127.0.0.1:%1/sub/a%20b%231.php").arg(server.Port()));
    EXPECT_TRUE(Get(server.Port(), url.path(QUrl::FullyEncoded).toUtf8()).endsWith("\r\n\r\n42"));
    EXPECT_EQ(server.AddressOf(QStringLiteral("/elsewhere/x.php")).path(), QStringLiteral("/"));
    const pid_t pid = static_cast<pid_t>(server.ProcessId());
    EXPECT_EQ(::getpgid(pid), pid);   // a process group of its own
    // The same folder again: the same server.
    EXPECT_TRUE(server.Start(Php(), m_dir.path()));
    EXPECT_EQ(server.ProcessId(), pid);
    server.Stop();
    EXPECT_FALSE(server.IsStarted());
    EXPECT_TRUE(Get(url.port(), "/").isEmpty());
    EXPECT_EQ(failed.count(), 0);
}

TEST_F(PreviewServerTest, DiesWithItsOwnerWhenTheOwnerIsKilled)
{
    // Orphans come to this process, which can then see when they end.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    QProcess owner;
    owner.start(QStringLiteral(PREVIEW_OWNER_PATH), {Php(), m_dir.path()});
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return owner.canReadLine(); }, 20000)) << owner.readAllStandardError().constData();
    const QList<QByteArray> fields = owner.readLine().trimmed().split(' ');
    ASSERT_EQ(fields.size(), 2);
    const pid_t php = fields[0].toInt();
    const int port = fields[1].toInt();
    ASSERT_GT(php, 0);
    EXPECT_TRUE(Get(port, "/sub/a%20b%231.php").endsWith("42"));
    owner.kill();
    ASSERT_TRUE(owner.waitForFinished(10000));
    const bool reaped = QuilletTest::WaitFor([php] { return ::waitpid(php, nullptr, WNOHANG) == php; }, 10000);
    if (!reaped) {
        ::kill(php, SIGKILL);
        ::waitpid(php, nullptr, 0);
    }
    EXPECT_TRUE(reaped) << "the server outlived its owner";
    EXPECT_TRUE(Get(port, "/").isEmpty());
}

TEST_F(PreviewServerTest, EachFailureIsSaidInOneMessage)
{
    QTcpServer listener;   // something else on the port asked for
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    const int busy = listener.serverPort();
    // A server that ends by itself as soon as it starts.
    QuilletTest::WriteFile(m_dir.filePath(QStringLiteral("ends")), "#!/bin/sh\necho 'php: ended' >&2\nexit 3\n");
    QFile::setPermissions(m_dir.filePath(QStringLiteral("ends")), QFile::ReadOwner | QFile::ExeOwner);
    const struct { QString php, root; int port; const char* said; } cases[] = {
        {QString(), m_dir.path(), 0, "找不到 PHP"},
        {Php(), m_dir.path(), busy, "已被占用"},
        {Php(), m_dir.filePath(QStringLiteral("gone")), 0, "不存在"},
        {m_dir.filePath(QStringLiteral("ends")), m_dir.path(), 0, "已退出（退出码 3）。php: ended"},
        {m_dir.filePath(QStringLiteral("sub/a b#1.php")), m_dir.path(), 0, "无法启动"},   // not a program
    };
    for (const auto& c : cases) {
        CPreviewServer server;
        QSignalSpy failed(&server, &CPreviewServer::failed);
        server.Start(c.php, c.root, c.port);
        EXPECT_TRUE(QuilletTest::WaitFor([&] { return !server.IsStarted(); }, 20000));
        QCoreApplication::processEvents();
        ASSERT_EQ(failed.count(), 1) << c.said;
        EXPECT_TRUE(failed[0][0].toString().contains(QString::fromUtf8(c.said))) << failed[0][0].toString().toStdString();
    }
}

TEST(ServerOutputPane, AFloodKeepsTheNewestLinesWithinItsBound)
{
    CServerOutputPane pane(nullptr);
    int line = 0;
    const auto write = [&](int lines) {
        QByteArray chunk;
        for (int i = 0; i < lines; ++i)
            chunk += "request " + QByteArray::number(line++) + " " + QByteArray(60, 'x') + "\n";
        pane.AppendOutput(chunk);
    };
    const auto shows = [&](int n) { return pane.Text()->toPlainText().contains(QStringLiteral("request %1 ").arg(n)); };
    // Shown as it comes: more lines than the pane keeps.
    for (int round = 0; round < 8; ++round) {
        write(1000);
        ASSERT_TRUE(QuilletTest::WaitFor([&] { return shows(line - 1); }));
    }
    EXPECT_LE(pane.Text()->blockCount(), CServerOutputPane::kMaxLines + 1);
    EXPECT_FALSE(shows(0));
    // Faster than the pane shows: the oldest waiting output goes, said once.
    for (int round = 0; round < 40; ++round)
        write(1000);
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return shows(line - 1); }));
    EXPECT_FALSE(shows(8000));
    EXPECT_EQ(pane.Text()->toPlainText().count(QStringLiteral("省略")), 1);
}
