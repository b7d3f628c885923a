// The SQLite backend's connection: opens the file named by DBQ= and runs statements.
#pragma once

#include "AdoPlatform.h"

#include <QList>
#include <QStringList>

struct sqlite3;

// The rows of one statement, read in full (a client-side cursor).
struct SqliteRows
{
    bool hasColumns = false;   // false for statements that return no rows at all
    QStringList names;
    QList<QList<CAdoVariant>> rows;
};

class CSqliteConnection : public IAdoConnection
{
public:
    CSqliteConnection() = default;
    ~CSqliteConnection() override;

    // Never creates a file: a missing one is a failure. A file the user may not
    // write is opened read-only.
    HRESULT Open(const QString& connectionString, const QString& userId,
                 const QString& password, long options) override;
    long State() override;
    void Close() override;
    std::shared_ptr<IAdoRecordset> Execute(const QString& text, CAdoVariant* recordsAffected,
                                           long options) override;

    // Runs exactly one statement and reads all its rows; changes receives the
    // number of records the statement inserted, updated or deleted.
    SqliteRows Run(const QString& text, qint32* changes);
    bool IsReadOnly() const { return m_bReadOnly; }
    const QString& FilePath() const { return m_strPath; }

    static QString SourceName();

private:
    [[noreturn]] void Fail(int sqliteCode) const;

    sqlite3* m_pDb = nullptr;
    bool m_bReadOnly = false;
    QString m_strPath;
};

namespace SqliteStatus {
// The status code in HRESULT form for an SQLite result code.
HRESULT FromSqlite(int sqliteCode);
} // namespace SqliteStatus
