// The channel a second start uses: only this user's, bounded in what it reads,
// and one failure box however many requests fail while it is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

#include <algorithm>
#include <cstring>

#include <sys/fsuid.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "InstanceChannel.h"
#include "OpenFailureNotice.h"
#include "TestSupport.h"

namespace {

// Points the runtime and temporary folders at fresh ones for one test.
class ScopedFolders
{
public:
    explicit ScopedFolders(bool withRuntime)
        : m_oldRuntime(qgetenv("XDG_RUNTIME_DIR")), m_oldTmp(qgetenv("TMPDIR"))
    {
        if (withRuntime) {
            chmod(QFile::encodeName(m_runtime.path()).constData(), 0700);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
    }
    ~ScopedFolders()
    {
        qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
        qputenv("TMPDIR", m_oldTmp);
    }
    QString OwnFolder() const { return m_tmp.filePath(QStringLiteral("quillet-%1").arg(getuid())); }

private:
    QTemporaryDir m_runtime, m_tmp;
    QByteArray m_oldRuntime, m_oldTmp;
};

mode_t ModeOf(const QString& path)
{
    struct stat st {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

} // namespace

TEST(InstanceChannel, RequestsAreFramedByNulAndBounded)
{
    ScopedFolders folders(true);
    CInstanceChannel channel;
    // Longer than any wait here: a connection that closes was closed for what it sent.
    channel.SetIdleTimeoutMs(10 * 60 * 1000);
    ASSERT_TRUE(channel.Listen());
    QSignalSpy received(&channel, &CInstanceChannel::filesReceived);

    struct Case
    {
        const char* what;
        QByteArray request;
        QStringList expected;   // empty: nothing may arrive, the connection is closed
    };
    const QByteArray longestPath = "/" + QByteArray(CInstanceChannel::kMaxPathBytes - 1, 'a');
    QByteArray manyPaths;
    for (int i = 0; i <= CInstanceChannel::kMaxPaths; ++i)
        manyPaths += "/p" + QByteArray::number(i) + '\0';
    const QList<Case> cases = {
        {"a name with a line break", QByteArray("/s/a\nb.php\0/s/c.php\0\0", 21), {"/s/a\nb.php", "/s/c.php"}},
        {"the longest path", longestPath + QByteArray("\0\0", 2), {QString::fromLatin1(longestPath)}},
        {"a path too long", longestPath + "a" + QByteArray("\0\0", 2), {}},
        {"too many paths", manyPaths + '\0', {}},
        {"megabytes without an end", QByteArray(2 * 1024 * 1024, 'x'), {}},
    };
    for (const Case& c : cases) {
        received.clear();
        QLocalSocket client;
        client.connectToServer(CInstanceChannel::ServerName());
        ASSERT_TRUE(client.waitForConnected(30000)) << c.what;
        client.write(c.request);
        client.flush();
        if (!c.expected.isEmpty()) {
            ASSERT_TRUE(QuilletTest::WaitFor([&] { return received.size() == 1; }, 30000)) << c.what;
            EXPECT_EQ(received.at(0).at(0).toStringList(), c.expected) << c.what;
            continue;
        }
        // A refused request ends the connection unanswered.
        EXPECT_TRUE(QuilletTest::WaitFor([&] { return client.state() == QLocalSocket::UnconnectedState; }, 30000))
            << c.what;
        EXPECT_TRUE(received.isEmpty()) << c.what;
        EXPECT_TRUE(client.readAll().isEmpty()) << c.what;
    }
    EXPECT_TRUE(QuilletTest::WaitFor([&] { return channel.OpenConnections() == 0; }, 30000));

    // Connections past the limit are turned away, the others kept open.
    QList<QLocalSocket*> many;
    for (int i = 0; i < CInstanceChannel::kMaxConnections + 8; ++i) {
        auto* s = new QLocalSocket(&channel);
        s->connectToServer(CInstanceChannel::ServerName());
        many << s;
    }
    const auto turnedAway = [&] {
        return std::count_if(many.begin(), many.end(),
                             [](QLocalSocket* s) { return s->state() == QLocalSocket::UnconnectedState; });
    };
    EXPECT_TRUE(QuilletTest::WaitFor(
        [&] { return channel.OpenConnections() == CInstanceChannel::kMaxConnections && turnedAway() == 8; }, 30000))
        << channel.OpenConnections() << " open, " << turnedAway() << " turned away";
    qDeleteAll(many);

    // A connection that says nothing for the idle time is closed.
    channel.SetIdleTimeoutMs(50);
    QLocalSocket silent;
    silent.connectToServer(CInstanceChannel::ServerName());
    ASSERT_TRUE(silent.waitForConnected(30000));
    silent.write("/s/never-ended.php");
    EXPECT_TRUE(QuilletTest::WaitFor([&] { return silent.state() == QLocalSocket::UnconnectedState; }, 30000));
    EXPECT_TRUE(received.isEmpty());
}

// Only this user may hand files over: a connection from another user is closed
// unanswered. The other user connects with the superuser's file access, so
// only the check of who is on the other end turns it away.
TEST(InstanceChannel, AnotherUsersConnectionIsTurnedAway)
{
    if (getuid() != 0)
        GTEST_SKIP() << "connecting as another user needs root";
    ScopedFolders folders(true);
    CInstanceChannel channel;
    channel.SetIdleTimeoutMs(10 * 60 * 1000);
    ASSERT_TRUE(channel.Listen());
    QSignalSpy received(&channel, &CInstanceChannel::filesReceived);
    const QByteArray path = QFile::encodeName(CInstanceChannel::ServerName());
    constexpr int kCannotConnect = 77;
    const pid_t child = fork();
    if (child == 0) {
        // Effective uid another user's (what the peer check sees); file access still ours.
        if (setresuid(-1, QuilletTest::kUnprivilegedUid, -1) != 0)
            _exit(kCannotConnect);
        setfsuid(0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        strncpy(addr.sun_path, path.constData(), sizeof(addr.sun_path) - 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
            _exit(kCannotConnect);
        const char request[] = "/s/other.php\0";   // with the array's own NUL, a whole request
        if (write(fd, request, sizeof(request)) != sizeof(request))
            _exit(kCannotConnect);
        char answer[8];
        _exit(read(fd, answer, sizeof(answer)) > 0 ? 1 : 0);   // blocks until answered or closed
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, 30000));
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotConnect)
        GTEST_SKIP() << "this system allows no connection as another user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user's request was answered";
    EXPECT_TRUE(received.isEmpty());
}

TEST(InstanceChannel, WithoutARuntimeFolderTheSocketGoesInAFolderOnlyThisUserOwns)
{
    ScopedFolders folders(false);
    const QString own = folders.OwnFolder();
    // A folder of ours left open to others is closed up before use.
    ASSERT_EQ(mkdir(QFile::encodeName(own).constData(), 0777), 0);
    chmod(QFile::encodeName(own).constData(), 0777);
    EXPECT_EQ(CInstanceChannel::ServerName(), own + QStringLiteral("/quillet-%1.sock").arg(getuid()));
    EXPECT_EQ(ModeOf(own), 0700u);
    CInstanceChannel channel;
    EXPECT_TRUE(channel.Listen());
    EXPECT_TRUE(QFileInfo(CInstanceChannel::ServerName()).exists());

    if (getuid() != 0)
        GTEST_SKIP() << "handing the folder to another user needs root";
    // Taken by someone else first: no socket there, each start on its own.
    ScopedFolders squatted(false);
    const QString taken = squatted.OwnFolder();
    ASSERT_EQ(mkdir(QFile::encodeName(taken).constData(), 0700), 0);
    if (chown(QFile::encodeName(taken).constData(), 65534, 65534) != 0)
        GTEST_SKIP() << "a folder cannot be given to another user here";
    EXPECT_TRUE(CInstanceChannel::ServerName().isEmpty());
    CInstanceChannel other;
    EXPECT_FALSE(other.Listen());
    EXPECT_FALSE(CInstanceChannel::SendToRunningInstance({"/s/z.php"}));
}

TEST(InstanceChannel, FailuresArrivingWhileTheFailureBoxIsUpJoinIt)
{
    ScopedFolders folders(true);
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen());
    COpenFailureNotice notice;   // every path sent fails to open
    QObject::connect(&channel, &CInstanceChannel::filesReceived, &notice,
                     [&notice](const QStringList& files) { notice.Report(nullptr, files); });
    constexpr int kRequests = 200;
    std::atomic<int> answered = 0;
    std::unique_ptr<QThread> sender(QThread::create([&answered] {
        for (int i = 0; i < kRequests; ++i)
            answered += CInstanceChannel::SendToRunningInstance({QStringLiteral("/no/such/%1.php").arg(i)});
    }));
    // The user notes each box that comes up and closes it once all requests are in.
    QSet<QMessageBox*> boxes;
    QString lastText;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.insert(box);
            if (sender->isFinished())
                lastText = box->text(), box->accept();
        }
    });
    user.start(5);
    sender->start();
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return sender->isFinished() && !QApplication::activeModalWidget() &&
                                                  !lastText.isEmpty(); }, 60000));
    EXPECT_EQ(answered, kRequests);
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_TRUE(lastText.startsWith(QStringLiteral("打开文档失败。\n\n/no/such/0.php\n"))) << lastText.toStdString();
    EXPECT_TRUE(lastText.endsWith(QStringLiteral("……等 200 个文件"))) << lastText.toStdString();
}
