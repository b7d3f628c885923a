// CAdoResultSet: one query over a connection and the rows it returns.
#pragma once

#include "AdoPlatform.h"

#include <QString>
#include <memory>

class CAdoResultSet
{
public:
    explicit CAdoResultSet(std::shared_ptr<IAdoProvider> provider = AdoProvider::Default());
    ~CAdoResultSet();
    CAdoResultSet(const CAdoResultSet&) = delete;
    CAdoResultSet& operator=(const CAdoResultSet&) = delete;

    // Opens the rows of a statement. On failure the provider's description is kept
    // and the CAdoException travels on to the caller.
    bool Open(const std::shared_ptr<IAdoConnection>& connection, const QString& statement,
              long cursorType, long lockType, long cursorLocation);
    // A statement beginning with "select " opens rows; anything else runs as a command.
    // Failures as with Open.
    bool Execute(const std::shared_ptr<IAdoConnection>& connection, const QString& statement);

    qint32 GetRecordCount();
    bool GetFieldValue(const QString& fieldName, qint32& value);
    bool GetFieldValue(const QString& fieldName, QString& value);
    void MoveNext();
    bool IsOpen();
    void Close();

    const QString& GetLastErrorText() const { return m_strLastError; }
    const QString& GetSql() const { return m_strSql; }

    // The select test: the first seven characters equal "select " without regard to case.
    static bool IsSelectStatement(const QString& statement);
    // The text of a field value: empty, null, 32-bit integer, date and string convert;
    // every other tag empties text and gives false.
    static bool VariantToText(const CAdoVariant& value, QString& text);

private:
    IAdoRecordset& Rows();
    void KeepDescription(const CAdoException& error);

    std::shared_ptr<IAdoProvider> m_pProvider;
    std::shared_ptr<IAdoRecordset> m_pRecordset;
    std::shared_ptr<IAdoCommand> m_pCommand;
    QString m_strSql;
    QString m_strLastError;
};
