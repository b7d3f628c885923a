#include "SqliteConnection.h"

#include "ConnectionString.h"
#include "SqliteRecordset.h"
#include "SqliteValue.h"

#include <QFileInfo>
#include <sqlite3.h>
#include <unistd.h>

namespace SqliteStatus {

HRESULT FromSqlite(int sqliteCode)
{
    switch (sqliteCode & 0xFF) {
    case SQLITE_OK:
        return AdoStatus::Ok;
    case SQLITE_NOMEM:
        return AdoStatus::OutOfMemory;
    case SQLITE_CANTOPEN:
        return AdoStatus::FileNotFound;
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
        return AdoStatus::AccessDenied;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return AdoStatus::LockViolation;
    case SQLITE_FULL:
        return AdoStatus::DiskFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return AdoStatus::FileCorrupt;
    case SQLITE_CONSTRAINT:
        return AdoStatus::IntegrityViolation;
    case SQLITE_MISMATCH:
        return AdoStatus::CantConvertValue;
    case SQLITE_RANGE:
    case SQLITE_MISUSE:
        return AdoStatus::InvalidArg;
    default:
        return AdoStatus::Fail;
    }
}

} // namespace SqliteStatus

namespace {

struct Statement
{
    sqlite3_stmt* p = nullptr;
    ~Statement() { sqlite3_finalize(p); }
};

} // namespace

CSqliteConnection::~CSqliteConnection()
{
    Close();
}

QString CSqliteConnection::SourceName()
{
    return QStringLiteral("Quillet SQLite provider");
}

void CSqliteConnection::Fail(int sqliteCode) const
{
    const QString message = m_pDb ? QString::fromUtf8(sqlite3_errmsg(m_pDb))
                                  : QString::fromUtf8(sqlite3_errstr(sqliteCode));
    throw CAdoException(SqliteStatus::FromSqlite(sqliteCode), SourceName(), message);
}

HRESULT CSqliteConnection::Open(const QString& connectionString, const QString&, const QString&,
                                long)
{
    if (m_pDb)
        throw CAdoException(AdoStatus::Fail, SourceName(),
                            QStringLiteral("The connection is already open."));
    const QString file = ConnectionString::DatabaseFile(connectionString);
    if (file.isEmpty())
        throw CAdoException(AdoStatus::Fail, SourceName(),
                            QStringLiteral("Data source name not found: the connection string "
                                           "names no database file (DBQ=)."));
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile())
        throw CAdoException(AdoStatus::FileNotFound, SourceName(),
                            QStringLiteral("Could not find file '%1'.").arg(file));
    // An absolute path never reads as a "file:" URI.
    const QByteArray path = QFile::encodeName(info.absoluteFilePath());
    // SQLite writes its journal beside the file, so a file in a directory the
    // user may not write is read-only too (an installed data directory).
    const QByteArray dirPath = QFile::encodeName(info.absolutePath());
    const bool readOnly = ::access(path.constData(), W_OK) != 0
                          || ::access(dirPath.constData(), W_OK) != 0;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE)
                      | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.constData(), &db, flags, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        // Another program briefly holding the file's lock is waited for, not failed on.
        sqlite3_busy_timeout(db, 2000);
        // SQLite reads the header lazily; read the schema now so a file that is
        // no database fails here rather than at the first query.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    // SQLite's page cache is capped at 256 KiB instead of its 2 MB: our
    // databases are small and the system's file cache holds them anyway, while
    // a full cache would keep most of the reference database in memory for the
    // whole run once the pages are filled. Only a size: nothing to fail on.
    if (rc == SQLITE_OK)
        sqlite3_exec(db, "PRAGMA cache_size=-256", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db))
                                   : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw CAdoException(SqliteStatus::FromSqlite(rc), SourceName(),
                            QStringLiteral("%1: '%2'").arg(message, file));
    }
    m_pDb = db;
    m_bReadOnly = readOnly;
    m_strPath = info.absoluteFilePath();
    return AdoStatus::Ok;
}

long CSqliteConnection::State()
{
    return m_pDb ? Ado::adStateOpen : Ado::adStateClosed;
}

void CSqliteConnection::Close()
{
    if (!m_pDb)
        return;
    // Rows already read stay with their result sets: nothing refers to the handle.
    sqlite3_close_v2(m_pDb);
    m_pDb = nullptr;
    m_bReadOnly = false;
    m_strPath.clear();
}

std::shared_ptr<IAdoRecordset> CSqliteConnection::Execute(const QString& text,
                                                          CAdoVariant* recordsAffected,
                                                          long options)
{
    qint32 changes = 0;
    SqliteRows rows = Run(text, &changes);
    if (recordsAffected)
        *recordsAffected = CAdoVariant::FromInt32(changes);
    if (options & Ado::adExecuteNoRecords)
        return nullptr;
    return CSqliteRecordset::FromRows(std::move(rows));
}

SqliteRows CSqliteConnection::Run(const QString& text, qint32* changes)
{
    if (!m_pDb)
        throw CAdoException(AdoStatus::ObjectClosed, SourceName(),
                            QStringLiteral("Operation is not allowed when the object is closed."));
    const QByteArray sql = text.toUtf8();
    Statement statement;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(m_pDb, sql.constData(), int(sql.size()), &statement.p, &tail);
    if (rc != SQLITE_OK)
        Fail(rc);
    if (!statement.p)
        throw CAdoException(AdoStatus::Fail, SourceName(),
                            QStringLiteral("Invalid SQL statement: the text is empty."));
    // One statement per call, as the Access driver takes them: text after the
    // first statement is refused rather than run.
    if (tail && *tail) {
        Statement rest;
        const int rc2 = sqlite3_prepare_v2(m_pDb, tail, -1, &rest.p, nullptr);
        if (rc2 != SQLITE_OK || rest.p)
            throw CAdoException(AdoStatus::Fail, SourceName(),
                                QStringLiteral("Characters found after end of SQL statement."));
    }

    SqliteRows result;
    const int columns = sqlite3_column_count(statement.p);
    result.hasColumns = columns > 0;
    QList<SqliteValue::Declared> declared;
    for (int c = 0; c < columns; ++c) {
        result.names << QString::fromUtf8(sqlite3_column_name(statement.p, c));
        declared << SqliteValue::Classify(sqlite3_column_decltype(statement.p, c));
    }
    const sqlite3_int64 totalBefore = sqlite3_total_changes64(m_pDb);
    while ((rc = sqlite3_step(statement.p)) == SQLITE_ROW) {
        QList<CAdoVariant> row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << SqliteValue::Read(statement.p, c, declared[c]);
        result.rows << std::move(row);
    }
    if (rc != SQLITE_DONE)
        Fail(rc);
    if (changes) {
        // sqlite3_changes keeps the count of the last INSERT/UPDATE/DELETE; a
        // statement that changed nothing at all counts 0.
        *changes = sqlite3_total_changes64(m_pDb) == totalBefore
                       ? 0
                       : static_cast<qint32>(sqlite3_changes64(m_pDb));
    }
    return result;
}
