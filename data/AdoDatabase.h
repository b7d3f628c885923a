// CAdoDatabase: one connection to a database file through the data-access platform.
#pragma once

#include "AdoPlatform.h"

#include <QString>
#include <memory>

class CAdoDatabase
{
public:
    explicit CAdoDatabase(std::shared_ptr<IAdoProvider> provider = AdoProvider::Default());
    ~CAdoDatabase();
    CAdoDatabase(const CAdoDatabase&) = delete;
    CAdoDatabase& operator=(const CAdoDatabase&) = delete;

    // Closes an open connection first; a non-empty string replaces the stored one.
    // False (with the error text kept) on failure; never throws.
    bool Open(const QString& connectionString = QString());
    bool IsOpen();   // throws CAdoException when the state cannot be read
    void Close();    // throws CAdoException
    // Runs INSERT, UPDATE or DELETE; the number of affected records goes to
    // recordsAffected. False (error text kept, count untouched) on failure; never throws.
    bool Execute(const QString& statement, qint32& recordsAffected);

    std::shared_ptr<IAdoConnection> GetConnection() const { return m_pConnection; }
    const QString& GetConnectionString() const { return m_strConnection; }
    const QString& GetLastErrorText() const { return m_strLastError; }

private:
    void KeepError(const CAdoException& error);

    std::shared_ptr<IAdoProvider> m_pProvider;
    std::shared_ptr<IAdoConnection> m_pConnection;
    QString m_strConnection;
    QString m_strLastError;
};
