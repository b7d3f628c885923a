// The SQLite backend's result set (all rows read on open) and command.
#pragma once

#include "AdoPlatform.h"
#include "SqliteConnection.h"

class CSqliteRecordset : public IAdoRecordset
{
public:
    CSqliteRecordset() = default;
    // An open result set over rows already read; closed when the rows have no columns.
    static std::shared_ptr<CSqliteRecordset> FromRows(SqliteRows rows);

    void SetCursorLocation(long location) override { m_nCursorLocation = location; }
    void Open(const QString& source, const std::shared_ptr<IAdoConnection>& connection,
              long cursorType, long lockType, long options) override;
    // Known for a client-side cursor and for static and keyset cursors; a
    // server-side forward-only or dynamic cursor cannot tell (-1).
    long RecordCount() override;
    bool IsEOF() override;
    void MoveNext() override;
    void MoveFirst() override;
    long State() override { return m_bOpen ? Ado::adStateOpen : Ado::adStateClosed; }
    void Close() override;
    CAdoVariant FieldValue(const QString& name) override;

private:
    void Take(SqliteRows rows);
    void RequireOpen() const;

    long m_nCursorLocation = Ado::adUseServer;
    long m_nCursorType = Ado::adOpenForwardOnly;
    bool m_bOpen = false;
    qsizetype m_nCurrent = 0;
    SqliteRows m_rows;
};

class CSqliteCommand : public IAdoCommand
{
public:
    void SetActiveConnection(const std::shared_ptr<IAdoConnection>& connection) override
    {
        m_pConnection = connection;
    }
    void SetCommandText(const QString& text) override { m_strText = text; }
    void SetCommandType(long type) override { m_nType = type; }
    // Runs the text as SQL; the result is a closed row set for a statement
    // without rows, an open one otherwise.
    std::shared_ptr<IAdoRecordset> Execute(long options) override;

private:
    std::shared_ptr<IAdoConnection> m_pConnection;
    QString m_strText;
    long m_nType = Ado::adCmdText;
};

// Narrows the platform connection to the SQLite one, or fails as the platform does.
CSqliteConnection& SqliteConnectionOf(const std::shared_ptr<IAdoConnection>& connection);
