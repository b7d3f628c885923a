#include "SymbolCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>
#include <sqlite3.h>

namespace {

constexpr int kLayoutVersion = 3;
constexpr std::uint32_t kMagic = 0x51534d31; // "QSM1"

void PutU32(std::string& out, std::uint32_t v)
{
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

struct ByteReader {
    const char* p;
    const char* end;
    bool U32(std::uint32_t& v)
    {
        if (end - p < 4)
            return false;
        std::memcpy(&v, p, 4);
        p += 4;
        return true;
    }
    bool Str(std::string& s)
    {
        std::uint32_t n = 0;
        if (!U32(n) || std::uint32_t(end - p) < n)
            return false;
        s.assign(p, n);
        p += n;
        return true;
    }
};

struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &s, nullptr); }
    ~Statement() { sqlite3_finalize(s); }
};

} // namespace

QString CSymbolCache::DefaultPath()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/quillet/symbols.sqlite");
}

CSymbolCache::CSymbolCache(QString path) : m_strPath(std::move(path)) {}

CSymbolCache::~CSymbolCache()
{
    Close();
}

void CSymbolCache::Close()
{
    if (m_db)
        sqlite3_close(m_db);
    m_db = nullptr;
}

bool CSymbolCache::Exec(const char* sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool CSymbolCache::OpenFile()
{
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    if (sqlite3_open_v2(QFile::encodeName(m_strPath).constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_db, 5000);
    // A cache: losing the last writes to a crash costs a re-read, never data.
    Exec("PRAGMA synchronous=OFF");
    Statement version(m_db, "PRAGMA user_version");
    if (!version.s || sqlite3_step(version.s) != SQLITE_ROW)
        return false;
    const int found = sqlite3_column_int(version.s, 0);
    Statement check(m_db, "PRAGMA quick_check");
    if (!check.s || sqlite3_step(check.s) != SQLITE_ROW ||
        std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(check.s, 0)), "ok") != 0)
        return false;
    if (found == kLayoutVersion)
        return true;
    return Exec("DROP TABLE IF EXISTS files") &&
           Exec("CREATE TABLE files (path TEXT PRIMARY KEY, size INTEGER, mtime INTEGER, symbols BLOB)") &&
           Exec(("PRAGMA user_version=" + std::to_string(kLayoutVersion)).c_str());
}

void CSymbolCache::Recreate()
{
    Close();
    m_bRebuilt = true;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(m_strPath + QLatin1String(suffix));
    if (!OpenFile())
        Close();
}

bool CSymbolCache::Open()
{
    Close();
    if (!OpenFile())
        Recreate();
    return m_db != nullptr;
}

std::unordered_map<QString, CCachedFile> CSymbolCache::Load(const QString& folder)
{
    std::unordered_map<QString, CCachedFile> out;
    if (!m_db)
        return out;
    // Every path with the folder's prefix: from "folder" up to the same with its last byte raised.
    QByteArray from = folder.toUtf8();
    QByteArray to = from;
    if (!to.isEmpty())
        to.back() = char(to.back() + 1);
    Statement q(m_db, "SELECT path, size, mtime, symbols FROM files WHERE path >= ?1 AND path < ?2");
    if (!q.s) {
        Recreate();
        return out;
    }
    sqlite3_bind_text(q.s, 1, from.constData(), int(from.size()), SQLITE_STATIC);
    sqlite3_bind_text(q.s, 2, to.constData(), int(to.size()), SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
        CCachedFile file;
        file.stamp.size = sqlite3_column_int64(q.s, 1);
        file.stamp.mtime = sqlite3_column_int64(q.s, 2);
        const char* blob = static_cast<const char*>(sqlite3_column_blob(q.s, 3));
        const int bytes = sqlite3_column_bytes(q.s, 3);
        if (!Decode(blob, std::size_t(bytes), file.symbols)) {
            rc = SQLITE_CORRUPT;
            break;
        }
        out.emplace(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(q.s, 0))), std::move(file));
    }
    if (rc != SQLITE_DONE) {
        sqlite3_finalize(q.s);
        q.s = nullptr;
        out.clear();
        Recreate();
    }
    return out;
}

void CSymbolCache::Store(const std::vector<std::pair<QString, const CCachedFile*>>& files,
                         const std::vector<QString>& gone)
{
    if (!m_db || (files.empty() && gone.empty()))
        return;
    Exec("BEGIN");
    {
        Statement put(m_db, "INSERT OR REPLACE INTO files (path, size, mtime, symbols) VALUES (?1, ?2, ?3, ?4)");
        Statement del(m_db, "DELETE FROM files WHERE path = ?1");
        for (const auto& [path, file] : files) {
            const QByteArray p = path.toUtf8();
            const std::string blob = Encode(file->symbols);
            sqlite3_bind_text(put.s, 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(put.s, 2, file->stamp.size);
            sqlite3_bind_int64(put.s, 3, file->stamp.mtime);
            sqlite3_bind_blob(put.s, 4, blob.data(), int(blob.size()), SQLITE_TRANSIENT);
            sqlite3_step(put.s);
            sqlite3_reset(put.s);
        }
        for (const QString& path : gone) {
            const QByteArray p = path.toUtf8();
            sqlite3_bind_text(del.s, 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
            sqlite3_step(del.s);
            sqlite3_reset(del.s);
        }
    }
    if (!Exec("COMMIT"))
        Exec("ROLLBACK");
}

std::string CSymbolCache::Encode(const std::vector<CSymbol>& symbols)
{
    std::string out;
    PutU32(out, kMagic);
    PutU32(out, std::uint32_t(symbols.size()));
    for (const CSymbol& s : symbols) {
        PutU32(out, std::uint32_t(s.kind) | (s.isStatic ? 0x100u : 0u));
        PutU32(out, std::uint32_t(s.line));
        PutU32(out, std::uint32_t(s.endLine));
        for (const std::string* f : {&s.name, &s.scope, &s.nameSpace, &s.params, &s.returnType, &s.doc, &s.parent}) {
            PutU32(out, std::uint32_t(f->size()));
            out += *f;
        }
    }
    return out;
}

bool CSymbolCache::Decode(const char* data, std::size_t size, std::vector<CSymbol>& out)
{
    out.clear();
    ByteReader r{data, data + size};
    std::uint32_t magic = 0, count = 0;
    if (!data || !r.U32(magic) || magic != kMagic || !r.U32(count) || count > size / 40)
        return false;
    out.resize(count);
    for (CSymbol& s : out) {
        std::uint32_t kind = 0, line = 0, endLine = 0;
        if (!r.U32(kind) || (kind & 0xff) >= std::uint32_t(SymbolKind::Count) || (kind >> 9) || !r.U32(line) ||
            !r.U32(endLine) || line == 0 || line > endLine || endLine > 0x7fffffff)
            return false;
        s.kind = SymbolKind(kind & 0xff);
        s.isStatic = kind & 0x100;
        s.line = int(line);
        s.endLine = int(endLine);
        for (std::string* f : {&s.name, &s.scope, &s.nameSpace, &s.params, &s.returnType, &s.doc, &s.parent})
            if (!r.Str(*f))
                return false;
        if (s.name.empty())
            return false;
    }
    return r.p == r.end;
}
