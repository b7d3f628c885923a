// Saves killed in the middle: a helper process does one save and stops itself
// at a placed point (SaveChurn.cpp), where the test kills it. The points are
// every call of the save that changes a file and, inside its writes, byte
// offsets drawn from a fixed seed (QUILLET_KILL_SEED changes it, QUILLET_KILLS
// says how many: 100 for the long run). After each kill the file must hold a
// whole version, or the next start must offer what puts the old one back, and
// what the killed save left must go at the next save or start.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <fcntl.h>
#include <iostream>
#include <random>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SaveChurn.h"
#include "TestSupport.h"
#include "core/RecoveryFiles.h"
#include "core/RecoveryStore.h"
#include "core/SaveJournal.h"

namespace {
using QuilletTest::ReadFile;
using SaveChurn::Content;

QByteArray Version(int v)
{
    static const QByteArray versions[2] = {Content(0, SaveChurn::kFileSizes[0]), Content(1, SaveChurn::kFileSizes[1])};
    return versions[v];
}

struct Call
{
    std::string name;
    long bytes = 0;
};
struct Stop
{
    long call = 0, bytes = 0;
    std::string Where() const { return "stop " + std::to_string(call) + ":" + std::to_string(bytes); }
};

// Runs the helper once; stop: where it stops itself to be killed (none: it
// saves and exits). Returns its output, and whether it was stopped.
std::pair<bool, QByteArray> RunHelper(const QStringList& args, const Stop& stop, bool trace = false)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {false, {}};
    QList<QByteArray> argv8 = {QByteArray(SAVE_CHURN_PATH)};
    for (const QString& a : args)
        argv8 << QFile::encodeName(a);
    std::vector<char*> argv;
    for (QByteArray& a : argv8)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const QByteArray stopText = QByteArray::number(qint64(stop.call)) + ':' + QByteArray::number(qint64(stop.bytes));
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::setenv("SAVE_CHURN_STOP", stopText.constData(), 1);
        ::setenv("SAVE_CHURN_TRACE", trace ? "1" : "0", 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    int status = 0;
    ::waitpid(pid, &status, WUNTRACED);
    const bool stopped = WIFSTOPPED(status);
    if (stopped) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    QByteArray out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, n);
    ::close(fds[0]);
    EXPECT_TRUE(stopped || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << stop.Where();
    return {stopped, out};
}

// The calls of one whole save, which the helper completes.
std::vector<Call> Trace(const QStringList& args)
{
    std::vector<Call> calls;
    for (const QByteArray& line : RunHelper(args, {}, true).second.split('\n'))
        if (const QList<QByteArray> f = line.split(' '); f.size() == 2)
            calls.push_back({f[0].toStdString(), f[1].toLong()});
    return calls;
}

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Before every call, then kills inside the writes at bytes drawn from the
// seed, spread over the writes by their sizes.
std::vector<Stop> Stops(const std::vector<Call>& calls, int inWrites, unsigned salt, size_t from = 0)
{
    std::vector<Stop> stops;
    for (size_t c = from; c < calls.size(); ++c)
        stops.push_back({long(c + 1), 0});
    std::mt19937_64 engine(unsigned(EnvInt("QUILLET_KILL_SEED", 20261208)) + salt);
    long total = 0;
    for (size_t c = from; c < calls.size(); ++c)
        total += calls[c].name == "write" ? calls[c].bytes : 0;
    for (int k = 0; k < inWrites && total > 0; ++k) {
        long at = std::uniform_int_distribution<long>(0, total - 1)(engine);
        for (size_t c = from; c < calls.size(); ++c) {
            const long size = calls[c].name == "write" ? calls[c].bytes : 0;
            if (at < size) {
                stops.push_back({long(c + 1), std::max(1L, at)});
                break;
            }
            at -= size;
        }
    }
    return stops;
}

int KillsInWrites(int fallback)
{
    return EnvInt("QUILLET_KILLS", fallback);
}

QStringList Temporaries(const QString& folder)
{
    return QDir(folder).entryList({".page.php.quillet-save.*"}, QDir::Files | QDir::Hidden);
}

// The next start: takes what dead sessions left; returns the saves in place
// it offers.
QList<SaveJournal::Record> NextStart(const QString& recovery)
{
    CRecoveryStore next(recovery);
    EXPECT_TRUE(next.Open());
    QList<SaveJournal::Record> saves;
    for (const CRecoveredText& copy : next.TakeOrphans(&saves))
        CRecoveryStore::Discard(copy);
    next.CloseSession();
    return saves;
}
} // namespace

// A file with two names is written in place. Killed anywhere, it holds a
// whole version, or the next start offers the old one back from the record
// the save made first, and putting it back gives the old bytes exactly.
TEST(SaveKill, ASaveInPlaceKilledAnywhereLeavesAWholeFileOrAnOfferThatPutsTheOldOneBack)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("page.php"), alias = dir.filePath("alias.php");
    const QString recovery = dir.filePath("recovery");
    ASSERT_TRUE(QuilletTest::WriteFile(page, Version(1)));
    ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(alias).constData()), 0);
    const QString canonical = QFileInfo(page).canonicalFilePath();
    int cut = 0, kills = 0;
    for (int v = 0; v < 2; ++v) {   // over a longer file, then a shorter one
        const QStringList args = {"file", page, recovery, QString::number(v)};
        ASSERT_TRUE(QuilletTest::WriteFile(page, Version(1 - v)));
        const std::vector<Call> calls = Trace(args);
        ASSERT_EQ(ReadFile(alias), Version(v));
        for (const Stop& stop : Stops(calls, (KillsInWrites(8) + 1 - v) / 2, v)) {
            ASSERT_TRUE(QuilletTest::WriteFile(page, Version(1 - v)));
            ASSERT_TRUE(RunHelper(args, stop).first) << stop.Where() << ": the save did not stop there";
            ++kills;
            const QList<SaveJournal::Record> saves = NextStart(recovery);
            const QByteArray now = ReadFile(page);
            if (now == Version(0) || now == Version(1)) {
                EXPECT_TRUE(saves.isEmpty()) << stop.Where() << ": a whole file offered";
            } else {
                ++cut;
                ASSERT_EQ(saves.size(), 1) << stop.Where() << ": a cut file (" << now.size() << " bytes) and no offer; in the folder: "
                                           << QDir(recovery).entryList(QDir::AllEntries | QDir::Hidden | QDir::System).join(' ').toStdString()
                                           << "; backups: "
                                           << QDir(recovery + "/backups").entryList(QDir::AllEntries | QDir::Hidden | QDir::System).join(' ').toStdString();
                EXPECT_EQ(saves.first().strPath, canonical);
                ASSERT_TRUE(SaveJournal::PutBackOld(saves.first())) << stop.Where();
                ASSERT_TRUE(QFile::remove(saves.first().strFile));
                ASSERT_TRUE(ReadFile(alias) == Version(1 - v)) << stop.Where() << ": not the old bytes";
            }
            struct stat st {};
            ASSERT_EQ(::stat(QFile::encodeName(alias).constData(), &st), 0);
            EXPECT_EQ(st.st_nlink, 2u);
            EXPECT_EQ(RecoveryFiles::RegularFiles(recovery + "/backups"), QStringList()) << stop.Where();
        }
    }
    std::cout << kills << " kills in saves in place, " << cut << " left the file cut\n";
    EXPECT_GT(cut, 0);
}

// A file with one name is replaced as a whole: it is always one version, and
// the temporary file a kill leaves beside it goes at the next save (by
// another run) or at the next start.
TEST(SaveKill, AReplacedFileIsAlwaysAWholeVersionAndLeftoversGoAtTheNextSaveOrStart)
{
    QTemporaryDir dir;
    const QString site = dir.filePath("site"), page = site + "/page.php", recovery = dir.filePath("recovery");
    ASSERT_TRUE(QDir().mkpath(site));
    ASSERT_TRUE(QuilletTest::WriteFile(page, Version(1)));
    int left = 0, n = 0;
    for (int v = 0; v < 2; ++v) {
        const QStringList args = {"file", page, recovery, QString::number(v)};
        const std::vector<Call> calls = Trace(args);
        ASSERT_EQ(ReadFile(page), Version(v));
        for (const Stop& stop : Stops(calls, 2, v)) {
            ASSERT_TRUE(RunHelper(args, stop).first) << stop.Where();
            const QByteArray now = ReadFile(page);
            ASSERT_TRUE(now == Version(0) || now == Version(1)) << stop.Where() << ": neither version";
            const QStringList temporaries = Temporaries(site);
            left += !temporaries.isEmpty();
            EXPECT_LE(temporaries.size(), 1) << stop.Where();
            if (++n % 2)
                EXPECT_FALSE(RunHelper(args, {}).first);   // the next save, in a later run
            else
                EXPECT_TRUE(NextStart(recovery).isEmpty());
            EXPECT_EQ(Temporaries(site), QStringList()) << stop.Where();
            EXPECT_EQ(QDir(site).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      QStringList({"page.php"}));
        }
    }
    EXPECT_GT(left, 0) << "no kill left a temporary file: the tidying was not tried";
    NextStart(recovery);
    EXPECT_EQ(RecoveryFiles::RegularFiles(recovery + "/backups"), QStringList());
}

// Recovery copies are replaced whole too; the next start takes every copy a
// killed editor left, and clears its temporary files and locks.
TEST(SaveKill, RecoveryCopiesAreAlwaysWholeAndTheNextStartClearsTheRest)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    for (int v = 0; v < 2; ++v) {
        const QStringList args = {"recovery", folder, QString::number(v)};
        for (const Stop& stop : Stops(Trace(args), 2, v)) {
            ASSERT_TRUE(RunHelper(args, stop).first) << stop.Where();
            for (const QString& name : QDir(folder).entryList({"*.qrec"}, QDir::Files)) {
                CRecoveredText entry;
                ASSERT_TRUE(CRecoveryStore::Decode(ReadFile(QDir(folder).filePath(name)), entry)) << name.toStdString();
                ASSERT_TRUE(entry.text == Version(0) || entry.text == Version(1)) << name.toStdString();
            }
        }
    }
    const qsizetype copies = QDir(folder).entryList({"*.qrec"}, QDir::Files).size();
    EXPECT_GE(copies, 2);   // those of the traced runs at least
    CRecoveryStore next(folder);
    ASSERT_TRUE(next.Open());
    const QList<CRecoveredText> orphans = next.TakeOrphans();
    EXPECT_EQ(orphans.size(), copies);
    for (const CRecoveredText& entry : orphans) {
        const QByteArray text = CRecoveryStore::ReadText(entry);
        EXPECT_EQ(entry.strPath, QStringLiteral("/site/page%1.php").arg(text == Version(0) ? 0 : 1));
        EXPECT_TRUE(text == Version(0) || text == Version(1));
        CRecoveryStore::Discard(entry);
    }
    next.CloseSession();
    EXPECT_EQ(RecoveryFiles::RegularFiles(folder), QStringList());
}

// The settings file (QSettings, as the editor writes it at exit) holds every
// key of one version after any kill.
TEST(SaveKill, TheSettingsFileAlwaysHoldsOneWholeVersion)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Quillet.conf");
    for (int v = 0; v < 2; ++v) {
        const QStringList args = {"settings", file, QString::number(v)};
        // Kills go after the lock file is written: one cut short is waited
        // on for its stale time (QLockFile cannot read whose it is).
        const std::vector<Call> calls = Trace(args);
        const auto locked = std::find_if(calls.begin(), calls.end(), [](const Call& c) { return c.name == "fdatasync"; });
        ASSERT_NE(locked, calls.end());
        for (const Stop& stop : Stops(calls, 2, v, locked - calls.begin() + 1)) {
            ASSERT_TRUE(RunHelper(args, stop).first) << stop.Where();
            QSettings settings(file, QSettings::IniFormat);
            ASSERT_EQ(settings.status(), QSettings::NoError);
            const QString first = settings.value(SaveChurn::SettingKey(0)).toString();
            ASSERT_TRUE(first == SaveChurn::SettingValue(0, 0) || first == SaveChurn::SettingValue(0, 1))
                << stop.Where();
            const int saved = first == SaveChurn::SettingValue(0, 0) ? 0 : 1;
            for (int key = 0; key < SaveChurn::kSettingsKeys; ++key)
                ASSERT_EQ(settings.value(SaveChurn::SettingKey(key)).toString(), SaveChurn::SettingValue(key, saved))
                    << stop.Where() << ", key " << key;
        }
    }
}
