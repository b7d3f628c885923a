// Saving killed at random moments: a helper process saves two versions of a
// 10 MB content over and over and is killed with SIGKILL after a random
// delay, many times. Whatever moment the kill hits, the last saved version
// must still be there whole (in the file, or for a file written in place in
// its backup copy), and what a killed save leaves behind must go at the next
// save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "SaveChurn.h"
#include "TestSupport.h"
#include "core/FileSave.h"
#include "core/RecoveryStore.h"

namespace {
using QuilletTest::ReadFile;
using SaveChurn::Content;

constexpr int kKills = 8;

// Starts the helper with args, waits until it begins saving, lets it run for
// a random while and kills it. Returns how many saves it completed (-1 when
// it never started).
class Churn
{
public:
    explicit Churn(const QStringList& args) : m_args(args) {}

    int RunAndKill(std::chrono::milliseconds delay)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return -1;
        QList<QByteArray> argv8 = {QByteArray(SAVE_CHURN_PATH)};
        for (const QString& a : m_args)
            argv8 << QFile::encodeName(a);
        std::vector<char*> argv;
        for (QByteArray& a : argv8)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        int completed = -1;
        pollfd p{fds[0], POLLIN, 0};
        char byte;
        if (pid > 0 && ::poll(&p, 1, 60000) == 1 && ::read(fds[0], &byte, 1) == 1) {
            completed = 0;
            std::this_thread::sleep_for(delay);
        }
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);
            m_exitedOnItsOwn = !WIFSIGNALED(status);
        }
        while (completed >= 0 && ::read(fds[0], &byte, 1) == 1)
            ++completed;
        ::close(fds[0]);
        return completed;
    }
    bool ExitedOnItsOwn() const { return m_exitedOnItsOwn; }

private:
    QStringList m_args;
    bool m_exitedOnItsOwn = false;
};

// Random delays over a range that covers a few whole saves.
class KillTimes
{
public:
    explicit KillTimes(int maxMs) : m_seed(std::random_device{}()), m_engine(m_seed), m_dist(0, maxMs) {}
    std::chrono::milliseconds Next() { return std::chrono::milliseconds(m_dist(m_engine)); }
    std::string Seed() const { return "seed " + std::to_string(m_seed); }

private:
    unsigned m_seed;
    std::mt19937 m_engine;
    std::uniform_int_distribution<int> m_dist;
};

QByteArray Version(int v)
{
    static const QByteArray versions[2] = {Content(0, SaveChurn::kFileSizes[0]), Content(1, SaveChurn::kFileSizes[1])};
    return versions[v];
}

// The version in the file when the helper had completed n saves of its run
// (it starts with version 0), given the one before the run.
int LastSaved(int before, int completed)
{
    return completed > 0 ? (completed - 1) % 2 : before;
}

QStringList OthersIn(const QString& folder, const QStringList& expected)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& e : expected)
        names.removeAll(e);
    return names;
}
} // namespace

// The file is replaced as a whole: it is always one saved version, and the
// temporary file a kill leaves beside it goes at the next save.
TEST(SaveKill, AReplacedFileIsAlwaysAWholeVersionAndLeftoversGoAtTheNextSave)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("page.php");
    ASSERT_TRUE(QuilletTest::WriteFile(page, Version(1)));
    Churn churn({"file", page});
    KillTimes times(120);
    SCOPED_TRACE(times.Seed());
    int last = 1;
    for (int i = 0; i < kKills; ++i) {
        const int completed = churn.RunAndKill(times.Next());
        ASSERT_GE(completed, 0);
        ASSERT_FALSE(churn.ExitedOnItsOwn());
        const QByteArray now = ReadFile(page);
        // The kill may come between the rename and the helper's report.
        const int saved = LastSaved(last, completed);
        ASSERT_TRUE(now == Version(saved) || now == Version(1 - saved))
            << "kill " << i << ": " << now.size() << " bytes, neither version";
        last = now == Version(0) ? 0 : 1;
        const QStringList others = OthersIn(dir.path(), {"page.php"});
        // One killed save's leftover at most: the next save removes it.
        EXPECT_LE(others.size(), 1) << "kill " << i << ": " << others.join(' ').toStdString();
    }
    ASSERT_TRUE(FileSave::Write(page, "saved"));
    EXPECT_EQ(OthersIn(dir.path(), {"page.php"}), QStringList());
}

// A file with two names is written in place; a kill in the middle leaves it
// half written, but the copy made first in the backup folder holds the last
// saved version whole.
TEST(SaveKill, AFileWrittenInPlaceKeepsItsLastVersionInTheBackupCopy)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("page.php"), alias = dir.filePath("alias.php");
    const QString backups = dir.filePath("backups");
    ASSERT_TRUE(QDir().mkpath(backups));
    ASSERT_TRUE(QuilletTest::WriteFile(page, Version(1)));
    ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(alias).constData()), 0);
    Churn churn({"file", page, backups});
    KillTimes times(150);
    SCOPED_TRACE(times.Seed());
    int last = 1, halfWritten = 0;
    // The write itself is a small part of each save (the backup copy goes
    // first and is flushed): kills go on, up to a bound, until one lands in it.
    for (int i = 0; i < kKills || (halfWritten == 0 && i < 6 * kKills); ++i) {
        const int completed = churn.RunAndKill(times.Next());
        ASSERT_GE(completed, 0);
        ASSERT_FALSE(churn.ExitedOnItsOwn());
        const QByteArray now = ReadFile(page);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(alias).constData(), &st), 0);
        EXPECT_EQ(st.st_nlink, 2u);
        const int saved = LastSaved(last, completed);
        if (now == Version(saved) || now == Version(1 - saved)) {
            last = now == Version(0) ? 0 : 1;
            continue;
        }
        ++halfWritten;
        bool kept = false;
        for (const QString& name : QDir(backups).entryList({"*.bak"}, QDir::Files))
            kept = kept || ReadFile(QDir(backups).filePath(name)) == Version(saved);
        ASSERT_TRUE(kept) << "kill " << i << ": the file is half written and no copy holds version " << saved;
        // The next run starts from the half-written file; put the saved
        // version back, as the user would from the copy.
        ASSERT_TRUE(QuilletTest::WriteFile(page, Version(saved)));
        last = saved;
    }
    EXPECT_GT(halfWritten, 0) << "no kill came in the middle of a write";
}

// Recovery copies are replaced whole too; the next start takes every copy a
// killed editor left, and clears its temporary files and locks.
TEST(SaveKill, RecoveryCopiesAreAlwaysWholeAndTheNextStartClearsTheRest)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    Churn churn({"recovery", folder});
    KillTimes times(120);
    SCOPED_TRACE(times.Seed());
    for (int i = 0; i < kKills; ++i) {
        const int completed = churn.RunAndKill(times.Next());
        ASSERT_GE(completed, 0);
        ASSERT_FALSE(churn.ExitedOnItsOwn());
        const QStringList copies = QDir(folder).entryList({"*.qrec"}, QDir::Files);
        EXPECT_LE(copies.size(), i + 1);
        for (const QString& name : copies) {
            CRecoveredText entry;
            ASSERT_TRUE(CRecoveryStore::Decode(ReadFile(QDir(folder).filePath(name)), entry)) << name.toStdString();
            ASSERT_TRUE(entry.text == Version(0) || entry.text == Version(1)) << name.toStdString();
            EXPECT_EQ(entry.strPath, QStringLiteral("/site/page%1.php").arg(entry.text == Version(0) ? 0 : 1));
        }
    }

    const qsizetype copies = QDir(folder).entryList({"*.qrec"}, QDir::Files).size();
    CRecoveryStore next(folder);
    ASSERT_TRUE(next.Open());
    const QList<CRecoveredText> orphans = next.TakeOrphans();
    EXPECT_EQ(orphans.size(), copies);
    for (const CRecoveredText& entry : orphans)
        CRecoveryStore::Discard(entry);
    next.CloseSession();
    // A lock whose process number a live process has taken since is not
    // stale, and rightly stays: only those of dead processes must be gone.
    QStringList left = OthersIn(folder, {});
    left.removeIf([](const QString& name) {
        return name.endsWith(QLatin1String(".lock")) && ::kill(name.section(u'-', 0, 0).toInt(), 0) == 0;
    });
    EXPECT_EQ(left.join(u' ').toStdString(), "");
}

// The settings file (QSettings, as the editor writes it at exit) holds every
// key of one version after any kill.
TEST(SaveKill, TheSettingsFileAlwaysHoldsOneWholeVersion)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Quillet.conf");
    {
        QSettings before(file, QSettings::IniFormat);
        for (int key = 0; key < SaveChurn::kSettingsKeys; ++key)
            before.setValue(SaveChurn::SettingKey(key), SaveChurn::SettingValue(key, 1));
    }
    Churn churn({"settings", file});
    KillTimes times(150);
    SCOPED_TRACE(times.Seed());
    for (int i = 0; i < kKills; ++i) {
        ASSERT_GE(churn.RunAndKill(times.Next()), 0);
        QSettings settings(file, QSettings::IniFormat);
        ASSERT_EQ(settings.status(), QSettings::NoError);
        const QString first = settings.value(SaveChurn::SettingKey(0)).toString();
        ASSERT_TRUE(first == SaveChurn::SettingValue(0, 0) || first == SaveChurn::SettingValue(0, 1)) << "kill " << i;
        const int v = first == SaveChurn::SettingValue(0, 0) ? 0 : 1;
        for (int key = 0; key < SaveChurn::kSettingsKeys; ++key)
            ASSERT_EQ(settings.value(SaveChurn::SettingKey(key)).toString(), SaveChurn::SettingValue(key, v))
                << "kill " << i << ", key " << key;
    }
    const QStringList others = OthersIn(dir.path(), {"Quillet.conf", "Quillet.conf.lock"});
    // Qt writes the file through a temporary file without a name (O_TMPFILE)
    // where the file system has them: a kill leaves nothing but the lock.
    std::cout << "settings leftovers after " << kKills << " kills: " << others.join(' ').toStdString() << "\n";
}
