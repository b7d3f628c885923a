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

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
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

int Connect(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    const timeval bound{30, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
    return fd;
}

// The response to a GET of url's path; empty when nothing answers.
QByteArray Get(const QUrl& url)
{
    const int fd = Connect(url.port());
    if (fd < 0)
        return {};
    const QByteArray request = "GET " + url.path(QUrl::FullyEncoded).toUtf8() + " HTTP/1.0\r\nHost: x\r\n\r\n";
    ::write(fd, request.constData(), static_cast<size_t>(request.size()));
    QByteArray response;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        response.append(buffer, n);
    ::close(fd);
    return response;
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
    EXPECT_TRUE(Get(url).endsWith("\r\n\r\n42"));
    EXPECT_EQ(server.AddressOf(QStringLiteral("/elsewhere/x.php")).path(), QStringLiteral("/"));
    const pid_t pid = static_cast<pid_t>(server.ProcessId());
    EXPECT_EQ(::getpgid(pid), pid);   // a process group of its own
    // The same folder again: the same server.
    EXPECT_TRUE(server.Start(Php(), m_dir.path()));
    EXPECT_EQ(server.ProcessId(), pid);
    server.Stop();
    EXPECT_FALSE(server.IsStarted());
    EXPECT_TRUE(Get(url).isEmpty());
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
    EXPECT_FALSE(Get(QUrl(QStringLiteral("http://127.0.0.1:%1/sub/a%20b%231.php").arg(port))).isEmpty());
    owner.kill();
    ASSERT_TRUE(owner.waitForFinished(10000));
    const bool reaped = QuilletTest::WaitFor([php] { return ::waitpid(php, nullptr, WNOHANG) == php; }, 10000);
    if (!reaped) {
        ::kill(php, SIGKILL);
        ::waitpid(php, nullptr, 0);
    }
    EXPECT_TRUE(reaped) << "the server outlived its owner";
    EXPECT_LT(Connect(port), 0);
}

TEST_F(PreviewServerTest, EachFailureIsSaidInOneMessage)
{
    // Something else listens on the port asked for.
    const int busy = CPreviewServer::FreePort();
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(busy));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::listen(listener, 1);
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
    ::close(listener);
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
