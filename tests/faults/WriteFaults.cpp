// A library preloaded (LD_PRELOAD) into a helper process to make one call of
// the kind named fail, the way a failing disk would, for the write-fault
// tests. Only calls on files under QUILLET_FAULT_DIR count, and only while the
// helper has armed the library (quillet_fault_arm), so that whatever the
// process does besides the operation under test never moves the count.
//   QUILLET_FAULT_DIR     the folder whose files count (a canonical path)
//   QUILLET_FAULT_CALL    write, fsync, rename, link, fchown, fchmod,
//                         ftruncate, fallocate or close
//   QUILLET_FAULT_N       the counted call of that kind that fails (1 = the first)
//   QUILLET_FAULT_ERRNO   the error it fails with (EIO when unset)
//   QUILLET_FAULT_COUNTS  a file written when the helper disarms: how many
//                         calls of each kind were counted ("write=3" a line)
//   QUILLET_FAULT_REPORT  a file created when the failure is injected, naming
//                         the call; absent after the run: the operation made
//                         fewer than N such calls
// A failed close() still closes the descriptor, as the kernel does.
// The report says, one "key=value" a line, what a failure that went unnoticed
// would have cost: readonly=1 (a descriptor only read, or a folder),
// clean=1 (the file had nothing unsynced) and, rewritten when the helper
// disarms, repeated=1 when the same call (for a close: a sync; for fchmod:
// also chmod) later succeeded on the same file, gone=1 when that file has no
// name left (a temporary file thrown away).
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

enum Kind { Write, Fsync, Rename, Link, Fchown, Fchmod, Ftruncate, Fallocate, Close, KindCount };
const char* const kKindNames[KindCount] = {"write", "fsync", "rename", "link", "fchown",
                                           "fchmod", "ftruncate", "fallocate", "close"};

std::atomic<bool> g_armed{false};
std::atomic<long> g_count[KindCount];
int g_kind = -1;
long g_failAt = 0;
int g_errno = EIO;
char g_dir[4096];
size_t g_dirLength = 0;
const char* g_report = nullptr;

template <typename F>
F Next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

__attribute__((constructor)) void Init()
{
    const char* dir = getenv("QUILLET_FAULT_DIR");
    const char* call = getenv("QUILLET_FAULT_CALL");
    const char* n = getenv("QUILLET_FAULT_N");
    const char* err = getenv("QUILLET_FAULT_ERRNO");
    g_report = getenv("QUILLET_FAULT_REPORT");
    if (dir && strlen(dir) < sizeof g_dir - 1) {
        strcpy(g_dir, dir);
        g_dirLength = strlen(g_dir);
        if (g_dirLength && g_dir[g_dirLength - 1] != '/')
            g_dir[g_dirLength++] = '/';
    }
    for (int k = 0; call && k < KindCount; ++k)
        if (strcmp(call, kKindNames[k]) == 0)
            g_kind = k;
    g_failAt = n ? atol(n) : 0;
    if (err && atoi(err) > 0)
        g_errno = atoi(err);
}

bool Under(const char* path)
{
    return g_dirLength && path && strncmp(path, g_dir, g_dirLength) == 0;
}

bool PathUnder(const char* path)
{
    if (!path)
        return false;
    if (path[0] == '/')
        return Under(path);
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        return false;
    char full[8192];
    snprintf(full, sizeof full, "%s/%s", cwd, path);
    return Under(full);
}

bool FdUnder(int fd)
{
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0)
        return false;
    path[n] = '\0';
    return Under(path);
}

// Files written since their last successful sync, by inode.
struct Inode
{
    dev_t dev = 0;
    ino_t ino = 0;
};
constexpr int kMaxDirty = 256;
Inode g_dirty[kMaxDirty];
int g_dirtyCount = 0;
pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;

// What is known about the call that failed.
struct Failure
{
    bool fired = false;
    Kind kind = Write;
    char line[4600] = "";
    bool readOnly = false, clean = false, repeated = false;
    Inode inode;
    int kept = -1;   // a duplicate of the descriptor, to see at the end whether the file is gone
} g_failure;

bool InodeOf(int fd, Inode& inode)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return false;
    inode = {st.st_dev, st.st_ino};
    return true;
}

int DirtyIndex(const Inode& inode)
{
    for (int i = 0; i < g_dirtyCount; ++i)
        if (g_dirty[i].dev == inode.dev && g_dirty[i].ino == inode.ino)
            return i;
    return -1;
}

void WriteReport()
{
    if (!g_report || !g_failure.fired)
        return;
    static auto realWrite = Next<ssize_t (*)(int, const void*, size_t)>("write");
    static auto realClose = Next<int (*)(int)>("close");
    const int fd = open(g_report, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    struct stat st {};
    const bool gone = g_failure.kept >= 0 && fstat(g_failure.kept, &st) == 0 && st.st_nlink == 0;
    char text[5000];
    const int len = snprintf(text, sizeof text, "%s\nreadonly=%d\nclean=%d\nrepeated=%d\ngone=%d\n",
                             g_failure.line, g_failure.readOnly, g_failure.clean, g_failure.repeated, gone);
    if (len > 0)
        realWrite(fd, text, static_cast<size_t>(len < static_cast<int>(sizeof text) ? len : sizeof text - 1));
    realClose(fd);
}

// Whether this call, counted when under the folder, is the one that fails.
bool Fails(Kind kind, bool under, const char* what, const char* name, int fd = -1)
{
    if (!g_armed.load() || !under)
        return false;
    const long n = ++g_count[kind];
    if (kind != g_kind || n != g_failAt)
        return false;
    pthread_mutex_lock(&g_lock);
    g_failure.fired = true;
    g_failure.kind = kind;
    snprintf(g_failure.line, sizeof g_failure.line, "%s %s #%ld %s", kKindNames[kind], what, n, name ? name : "");
    if (fd >= 0) {
        const int flags = fcntl(fd, F_GETFL);
        g_failure.readOnly = flags >= 0 && (flags & O_ACCMODE) == O_RDONLY;
        if (InodeOf(fd, g_failure.inode))
            g_failure.clean = DirtyIndex(g_failure.inode) < 0;
        g_failure.kept = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    }
    WriteReport();
    pthread_mutex_unlock(&g_lock);
    return true;
}

bool Watched(int fd, char* path, size_t size)
{
    if (!g_armed.load())
        return false;
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, size - 1);
    if (n <= 0)
        return false;
    path[n] = '\0';
    return Under(path);
}

bool FailsFd(Kind kind, int fd, const char* what)
{
    char path[4096] = "";
    return Fails(kind, Watched(fd, path, sizeof path), what, path, fd);
}

// After a call on fd went through: a change makes the file dirty, a sync
// clean; either may repeat the call that failed.
void Done(Kind kind, int fd)
{
    char path[4096];
    if (!Watched(fd, path, sizeof path))
        return;
    Inode inode;
    if (!InodeOf(fd, inode))
        return;
    pthread_mutex_lock(&g_lock);
    const int i = DirtyIndex(inode);
    if (kind == Fsync && i >= 0)
        g_dirty[i] = g_dirty[--g_dirtyCount];
    else if ((kind == Write || kind == Ftruncate || kind == Fallocate) && i < 0 && g_dirtyCount < kMaxDirty)
        g_dirty[g_dirtyCount++] = inode;
    if (g_failure.fired && !g_failure.repeated && g_failure.inode.dev == inode.dev &&
        g_failure.inode.ino == inode.ino &&
        (kind == g_failure.kind || (g_failure.kind == Close && kind == Fsync))) {
        g_failure.repeated = true;
        WriteReport();
    }
    pthread_mutex_unlock(&g_lock);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void quillet_fault_arm(int on)
{
    g_armed = on != 0;
    if (on)
        return;
    pthread_mutex_lock(&g_lock);
    WriteReport();
    pthread_mutex_unlock(&g_lock);
    const char* counts = getenv("QUILLET_FAULT_COUNTS");
    if (!counts)
        return;
    FILE* out = fopen(counts, "we");
    if (!out)
        return;
    for (int k = 0; k < KindCount; ++k)
        fprintf(out, "%s=%ld\n", kKindNames[k], g_count[k].load());
    fclose(out);
}

__attribute__((visibility("default"))) long quillet_fault_count(int kind)
{
    return kind >= 0 && kind < KindCount ? g_count[kind].load() : -1;
}

#define FAIL_FD(kind, fd, name, ret)                                                                   \
    if (FailsFd(kind, fd, name)) {                                                                     \
        errno = g_errno;                                                                               \
        return ret;                                                                                    \
    }

// An interposed call on a descriptor: fails when its turn has come, else
// goes to the C library's own and counts a success.
#define FD_CALL(ret, name, kind, ok, params, args)                                                     \
    ret name params                                                                                    \
    {                                                                                                  \
        static auto real = Next<ret(*) params>(#name);                                                 \
        FAIL_FD(kind, fd, #name, -1);                                                                  \
        const ret r = real args;                                                                       \
        if (ok)                                                                                        \
            Done(kind, fd);                                                                            \
        return r;                                                                                      \
    }

FD_CALL(ssize_t, write, Write, r > 0, (int fd, const void* buf, size_t count), (fd, buf, count))
FD_CALL(ssize_t, pwrite, Write, r > 0, (int fd, const void* buf, size_t count, off_t offset), (fd, buf, count, offset))
FD_CALL(ssize_t, pwrite64, Write, r > 0, (int fd, const void* buf, size_t count, off64_t offset), (fd, buf, count, offset))
FD_CALL(ssize_t, writev, Write, r > 0, (int fd, const struct iovec* iov, int iovcnt), (fd, iov, iovcnt))
FD_CALL(int, fsync, Fsync, r == 0, (int fd), (fd))
FD_CALL(int, fdatasync, Fsync, r == 0, (int fd), (fd))
FD_CALL(int, ftruncate, Ftruncate, r == 0, (int fd, off_t length), (fd, length))
FD_CALL(int, ftruncate64, Ftruncate, r == 0, (int fd, off64_t length), (fd, length))
FD_CALL(int, fchown, Fchown, r == 0, (int fd, uid_t owner, gid_t group), (fd, owner, group))
FD_CALL(int, fchmod, Fchmod, r == 0, (int fd, mode_t mode), (fd, mode))

// posix_fallocate returns the error instead of setting errno.
int posix_fallocate(int fd, off_t offset, off_t len)
{
    static auto real = Next<int (*)(int, off_t, off_t)>("posix_fallocate");
    if (FailsFd(Fallocate, fd, "posix_fallocate"))
        return g_errno;
    const int r = real(fd, offset, len);
    if (r == 0)
        Done(Fallocate, fd);
    return r;
}

int posix_fallocate64(int fd, off64_t offset, off64_t len)
{
    static auto real = Next<int (*)(int, off64_t, off64_t)>("posix_fallocate64");
    if (FailsFd(Fallocate, fd, "posix_fallocate64"))
        return g_errno;
    const int r = real(fd, offset, len);
    if (r == 0)
        Done(Fallocate, fd);
    return r;
}

FD_CALL(int, fallocate, Fallocate, r == 0, (int fd, int mode, off_t offset, off_t len), (fd, mode, offset, len))
FD_CALL(int, fallocate64, Fallocate, r == 0, (int fd, int mode, off64_t offset, off64_t len), (fd, mode, offset, len))

int close(int fd)
{
    static auto real = Next<int (*)(int)>("close");
    if (FailsFd(Close, fd, "close")) {
        real(fd);
        errno = g_errno;
        return -1;
    }
    return real(fd);
}

// A change of mode by name is never made to fail, but may repeat a failed fchmod.
int chmod(const char* path, mode_t mode)
{
    static auto real = Next<int (*)(const char*, mode_t)>("chmod");
    const int r = real(path, mode);
    if (r == 0 && g_armed.load() && PathUnder(path)) {
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            Done(Fchmod, fd);
            static auto realClose = Next<int (*)(int)>("close");
            realClose(fd);
        }
    }
    return r;
}

int fchmodat(int dir, const char* path, mode_t mode, int flags)
{
    static auto real = Next<int (*)(int, const char*, mode_t, int)>("fchmodat");
    const int r = real(dir, path, mode, flags);
    if (r == 0 && g_armed.load() && path && path[0] == '/' && PathUnder(path)) {
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            Done(Fchmod, fd);
            static auto realClose = Next<int (*)(int)>("close");
            realClose(fd);
        }
    }
    return r;
}

int rename(const char* from, const char* to)
{
    static auto real = Next<int (*)(const char*, const char*)>("rename");
    if (Fails(Rename, PathUnder(from) || PathUnder(to), "rename", to)) {
        errno = g_errno;
        return -1;
    }
    return real(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    static auto real = Next<int (*)(int, const char*, int, const char*)>("renameat");
    if (Fails(Rename, PathUnder(from) || PathUnder(to) || FdUnder(fromDir) || FdUnder(toDir), "renameat", to)) {
        errno = g_errno;
        return -1;
    }
    return real(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    static auto real = Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    if (Fails(Rename, PathUnder(from) || PathUnder(to) || FdUnder(fromDir) || FdUnder(toDir), "renameat2", to)) {
        errno = g_errno;
        return -1;
    }
    return real(fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to)
{
    static auto real = Next<int (*)(const char*, const char*)>("link");
    if (Fails(Link, PathUnder(to), "link", to)) {
        errno = g_errno;
        return -1;
    }
    return real(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags)
{
    static auto real = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
    if (Fails(Link, PathUnder(to) || FdUnder(toDir), "linkat", to)) {
        errno = g_errno;
        return -1;
    }
    return real(fromDir, from, toDir, to, flags);
}

} // extern "C"
