#include "SqliteRecordset.h"

namespace {
[[noreturn]] void Throw(HRESULT code, const char* description)
{
    throw CAdoException(code, CSqliteConnection::SourceName(), QString::fromLatin1(description));
}
} // namespace

CSqliteConnection& SqliteConnectionOf(const std::shared_ptr<IAdoConnection>& connection)
{
    auto* sqlite = dynamic_cast<CSqliteConnection*>(connection.get());
    if (!sqlite || sqlite->State() == Ado::adStateClosed)
        Throw(AdoStatus::InvalidConnection,
              "The connection cannot be used to perform this operation. It is either closed "
              "or invalid in this context.");
    return *sqlite;
}

std::shared_ptr<CSqliteRecordset> CSqliteRecordset::FromRows(SqliteRows rows)
{
    auto recordset = std::make_shared<CSqliteRecordset>();
    recordset->m_nCursorLocation = Ado::adUseClient;
    recordset->Take(std::move(rows));
    return recordset;
}

void CSqliteRecordset::Take(SqliteRows rows)
{
    m_rows = std::move(rows);
    m_bOpen = m_rows.hasColumns;
    m_nCurrent = 0;
}

void CSqliteRecordset::RequireOpen() const
{
    if (!m_bOpen)
        Throw(AdoStatus::ObjectClosed, "Operation is not allowed when the object is closed.");
}

void CSqliteRecordset::Open(const QString& source,
                            const std::shared_ptr<IAdoConnection>& connection, long cursorType,
                            long, long)
{
    if (m_bOpen)
        Throw(AdoStatus::Fail, "Operation is not allowed when the object is open.");
    CSqliteConnection& sqlite = SqliteConnectionOf(connection);
    m_nCursorType = cursorType;
    Take(sqlite.Run(source, nullptr));
}

long CSqliteRecordset::RecordCount()
{
    RequireOpen();
    const bool known = m_nCursorLocation == Ado::adUseClient || m_nCursorType == Ado::adOpenStatic
                       || m_nCursorType == Ado::adOpenKeyset;
    return known ? static_cast<long>(m_rows.rows.size()) : -1;
}

bool CSqliteRecordset::IsEOF()
{
    RequireOpen();
    return m_nCurrent >= m_rows.rows.size();
}

void CSqliteRecordset::MoveNext()
{
    RequireOpen();
    if (m_nCurrent >= m_rows.rows.size())
        Throw(AdoStatus::NoCurrentRecord,
              "Either BOF or EOF is True, or the current record has been deleted. Requested "
              "operation requires a current record.");
    ++m_nCurrent;
}

void CSqliteRecordset::MoveFirst()
{
    RequireOpen();
    m_nCurrent = 0;
}

void CSqliteRecordset::Close()
{
    RequireOpen();
    m_bOpen = false;
    m_rows = {};
    m_nCurrent = 0;
}

CAdoVariant CSqliteRecordset::FieldValue(const QString& name)
{
    RequireOpen();
    const qsizetype column = [&] {
        for (qsizetype c = 0; c < m_rows.names.size(); ++c)
            if (m_rows.names[c].compare(name, Qt::CaseInsensitive) == 0)
                return c;
        return qsizetype(-1);
    }();
    if (column < 0)
        Throw(AdoStatus::ItemNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    if (m_nCurrent >= m_rows.rows.size())
        Throw(AdoStatus::NoCurrentRecord,
              "Either BOF or EOF is True, or the current record has been deleted. Requested "
              "operation requires a current record.");
    return m_rows.rows[m_nCurrent][column];
}

std::shared_ptr<IAdoRecordset> CSqliteCommand::Execute(long)
{
    CSqliteConnection& sqlite = SqliteConnectionOf(m_pConnection);
    return CSqliteRecordset::FromRows(sqlite.Run(m_strText, nullptr));
}
