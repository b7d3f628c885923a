// A process that saves one version of a content in one of the ways the editor
// writes files, for tests that kill it in the middle. Where it is killed is
// placed, not left to chance: the calls that change files (write, fsync,
// ftruncate, rename, unlink, link) are counted from the start of the save,
// and with SAVE_CHURN_STOP=C:B the process stops itself (SIGSTOP) in call C,
// before it (B = 0) or, for a write, after its first B bytes. The test then
// kills it. SAVE_CHURN_TRACE=1 prints each call ("name bytes") instead.
//   save_churn file PATH RECOVERY-FOLDER VERSION   FileSave::Write over PATH,
//                                                  in a recovery session
//   save_churn recovery FOLDER VERSION             a recovery copy in FOLDER
//   save_churn settings PATH VERSION               a settings file at PATH
#include <QCoreApplication>
#include <QSettings>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SaveChurn.h"
#include "core/FileSave.h"
#include "core/RecoveryStore.h"

namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_calls{0};
long g_stopCall = 0;
long g_stopBytes = 0;
bool g_trace = false;

template <typename F>
F Real(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

bool IsRegular(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Counts a call; true when the process is to stop in it.
bool Counted(const char* name, long bytes)
{
    if (!g_counting)
        return false;
    const long call = ++g_calls;
    if (g_trace) {
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%s %ld\n", name, bytes);
        Real<ssize_t (*)(int, const void*, size_t)>("write")(STDOUT_FILENO, line, static_cast<size_t>(n));
    }
    return call == g_stopCall;
}

void Stop()
{
    ::raise(SIGSTOP);
}
} // namespace

extern "C" {
ssize_t write(int fd, const void* buf, size_t count)
{
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    if (IsRegular(fd) && Counted("write", static_cast<long>(count))) {
        if (g_stopBytes > 0 && static_cast<size_t>(g_stopBytes) < count) {
            for (size_t done = 0; done < static_cast<size_t>(g_stopBytes);) {
                const ssize_t n = real(fd, static_cast<const char*>(buf) + done, g_stopBytes - done);
                if (n <= 0)
                    break;
                done += static_cast<size_t>(n);
            }
        }
        Stop();
    }
    return real(fd, buf, count);
}

#define CHURN_FD_CALL(name)                                                                                            \
    int name(int fd)                                                                                                   \
    {                                                                                                                  \
        static const auto real = Real<int (*)(int)>(#name);                                                            \
        if (IsRegular(fd) && Counted(#name, 0))                                                                        \
            Stop();                                                                                                    \
        return real(fd);                                                                                               \
    }
CHURN_FD_CALL(fsync)
CHURN_FD_CALL(fdatasync)

int ftruncate(int fd, off_t length)
{
    static const auto real = Real<int (*)(int, off_t)>("ftruncate");
    if (IsRegular(fd) && Counted("ftruncate", 0))
        Stop();
    return real(fd, length);
}
int rename(const char* from, const char* to)
{
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    if (Counted("rename", 0))
        Stop();
    return real(from, to);
}
int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    static const auto real = Real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    if (Counted("renameat2", 0))
        Stop();
    return real(fromDir, from, toDir, to, flags);
}
int unlink(const char* path)
{
    static const auto real = Real<int (*)(const char*)>("unlink");
    if (Counted("unlink", 0))
        Stop();
    return real(path);
}
int linkat(int fromDir, const char* from, int toDir, const char* to, int flags)
{
    static const auto real = Real<int (*)(int, const char*, int, const char*, int)>("linkat");
    if (Counted("linkat", 0))
        Stop();
    return real(fromDir, from, toDir, to, flags);
}
} // extern "C"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    if (const char* stop = std::getenv("SAVE_CHURN_STOP"))
        std::sscanf(stop, "%ld:%ld", &g_stopCall, &g_stopBytes);
    g_trace = qEnvironmentVariableIntValue("SAVE_CHURN_TRACE") != 0;
    const QString mode = args.at(1), path = args.at(2);
    const int v = args.last().toInt() % 2;
    const QByteArray content = SaveChurn::Content(v, SaveChurn::kFileSizes[v]);
    if (mode == QLatin1String("file") && args.size() == 5) {
        CRecoveryStore store(args.at(3));
        if (!store.Open())
            return 1;
        FileSave::SetBackupFolder(store.BackupFolder(), store.Session());
        g_counting = true;
        return FileSave::Write(path, content) ? 0 : 1;
    }
    if (mode == QLatin1String("recovery")) {
        CRecoveryStore store(path);
        if (!store.Open())
            return 1;
        CRecoveredText entry;
        entry.strPath = QStringLiteral("/site/page%1.php").arg(v);
        entry.text = content;
        g_counting = true;
        store.Write(1, entry);
        store.Flush();
        // Ended as a crash would: the copy stays for the next start.
        ::_exit(0);
    }
    if (mode == QLatin1String("settings")) {
        QSettings settings(path, QSettings::IniFormat);
        for (int key = 0; key < SaveChurn::kSettingsKeys; ++key)
            settings.setValue(SaveChurn::SettingKey(key), SaveChurn::SettingValue(key, v));
        g_counting = true;
        settings.sync();
        return settings.status() == QSettings::NoError ? 0 : 1;
    }
    return 2;
}
