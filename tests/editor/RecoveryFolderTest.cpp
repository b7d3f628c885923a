// The recovery folder holds only what this program put there, as far as the
// next start is concerned: links and odd entries are left alone, names that
// merely look like ours take nothing, and a copy's text is read only when it
// is restored, in pieces.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "core/RecoveryFiles.h"
#include "core/RecoveryStore.h"

namespace {
using QuilletTest::ReadFile;
using QuilletTest::WriteFile;

QByteArray Copy(const QByteArray& text)
{
    CRecoveredText e;
    e.strPath = QStringLiteral("/site/page.php");
    e.text = text;
    return CRecoveryStore::Encode(e);
}

mode_t ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}
} // namespace

TEST(RecoveryFolder, LinksAndOtherEntriesAreNeitherFollowedNorTaken)
{
    QTemporaryDir dir;
    // The folder itself a link: used, its target's mode left as it was.
    const QString target = dir.filePath("elsewhere"), folder = dir.filePath("recovery");
    ASSERT_TRUE(QDir().mkpath(target));
    ::chmod(QFile::encodeName(target).constData(), 0755);
    ASSERT_TRUE(QFile::link(target, folder));
    const QString outside = dir.filePath("outside.txt");
    ASSERT_TRUE(WriteFile(outside, Copy("outside")));
    // A dead session's copy, a link planted beside it, and a pipe.
    const QString dead = QStringLiteral("1-1");
    ASSERT_TRUE(WriteFile(folder + "/" + dead + "-1.qrec", Copy("typed")));
    ASSERT_TRUE(QFile::link(outside, folder + "/" + dead + "-2.qrec"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/" + dead + "-3.qrec").constData(), 0600), 0);

    CRecoveryStore store(folder);
    ASSERT_TRUE(store.Open());
    EXPECT_EQ(ModeOf(target), 0755u);
    const QList<CRecoveredText> taken = store.TakeOrphans();
    ASSERT_EQ(taken.size(), 1);
    EXPECT_EQ(CRecoveryStore::ReadText(taken.first()), "typed");
    // Refused: the copy is marked, nothing outside is written.
    CRecoveryStore::Decline(taken);
    EXPECT_EQ(ReadFile(outside), Copy("outside"));
    EXPECT_TRUE(QFileInfo(folder + "/" + dead + "-2.qrec").isSymLink());
    EXPECT_EQ(CRecoveryStore::ReadText(taken.first()), "typed");
    store.CloseSession();
}

TEST(RecoveryFolder, NamesThatOnlyLookLikeOursTakeNothing)
{
    QTemporaryDir dir;
    CRecoveryStore live(dir.path());
    ASSERT_TRUE(live.Open());
    CRecoveredText mine;
    mine.strPath = QStringLiteral("/site/live.php");
    mine.text = "still typing";
    live.Write(9, mine);
    live.Flush();
    const QString liveCopy = dir.filePath(live.Session() + "-9.qrec");
    ASSERT_TRUE(QFile::exists(liveCopy));
    for (const char* name : {"*-9.qrec", "?-9.qrec", "x-1-9.qrec", "-9.qrec", "1--9.qrec", "*.lock"})
        ASSERT_TRUE(WriteFile(dir.filePath(name), Copy("planted")));

    CRecoveryStore second(dir.path());
    ASSERT_TRUE(second.Open());
    EXPECT_TRUE(second.TakeOrphans().isEmpty());
    EXPECT_EQ(ReadFile(liveCopy), CRecoveryStore::Encode(mine));
    second.CloseSession();
    live.CloseSession();
}

// Run in a child whose address space cannot take the text twice over: the
// copy is offered from its header, and its text read in pieces.
TEST(RecoveryFolder, ACopyIsOfferedFromItsHeaderAndItsTextReadInPieces)
{
    QTemporaryDir dir;
    constexpr qint64 kSize = qint64{256} << 20;
    const QString file = dir.filePath("1-1-1.qrec");
    CRecoveredText head;
    head.strPath = QStringLiteral("/site/big.php");
    QByteArray header = CRecoveryStore::Encode(head);
    header.replace("length: 0", "length: " + QByteArray::number(kSize));
    ASSERT_TRUE(WriteFile(file, header));
    ASSERT_TRUE(QFile::resize(file, header.size() + kSize));   // a sparse file of NULs

    const pid_t child = ::fork();
    if (child == 0) {
        rlimit limit {};
        ::getrlimit(RLIMIT_AS, &limit);
        QFile status("/proc/self/statm");
        const qint64 pages = status.open(QIODevice::ReadOnly) ? status.readAll().split(' ').value(0).toLongLong() : 0;
        limit.rlim_cur = static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + (kSize / 4));
        ::setrlimit(RLIMIT_AS, &limit);
        CRecoveryStore store(dir.path());
        if (!store.Open())
            ::_exit(2);
        const QList<CRecoveredText> taken = store.TakeOrphans();
        if (taken.size() != 1 || taken.first().nTextSize != kSize || !taken.first().text.isEmpty())
            ::_exit(3);
        qint64 read = 0;
        const bool whole = CRecoveryStore::ReadText(taken.first(), [&](const char* p, qint64 n) {
            read += n;
            return p[0] == 0;
        });
        ::_exit(whole && read == kSize ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
