#include "AdoResultSet.h"

CAdoResultSet::CAdoResultSet(std::shared_ptr<IAdoProvider> provider)
    : m_pProvider(std::move(provider))
{
    if (m_pProvider) {
        m_pRecordset = m_pProvider->CreateRecordset();
        m_pCommand = m_pProvider->CreateCommand();
    }
}

CAdoResultSet::~CAdoResultSet()
{
    try {
        Close();
    } catch (...) {
        // Released below whatever state it is in.
    }
    m_pRecordset.reset();
    m_pCommand.reset();
    m_strSql.clear();
}

IAdoRecordset& CAdoResultSet::Rows()
{
    if (!m_pRecordset)
        throw CAdoException(AdoStatus::Pointer);
    return *m_pRecordset;
}

void CAdoResultSet::KeepDescription(const CAdoException& error)
{
    m_strLastError = error.Description();
}

bool CAdoResultSet::Open(const std::shared_ptr<IAdoConnection>& connection,
                         const QString& statement, long cursorType, long lockType,
                         long cursorLocation)
{
    try {
        Close();
        if (!statement.isEmpty())
            m_strSql = statement;
        IAdoRecordset& rows = Rows();
        rows.SetCursorLocation(cursorLocation);
        rows.Open(m_strSql, connection, cursorType, lockType, Ado::adCmdUnknown);
        return true;
    } catch (const CAdoException& error) {
        KeepDescription(error);
        throw;
    }
}

bool CAdoResultSet::Execute(const std::shared_ptr<IAdoConnection>& connection,
                            const QString& statement)
{
    try {
        Close();
        if (!statement.isEmpty())
            m_strSql = statement;
        if (IsSelectStatement(m_strSql)) {
            Rows().Open(m_strSql, connection, Ado::adOpenDynamic, Ado::adLockBatchOptimistic,
                        Ado::adOptionUnspecified);
        } else {
            if (!m_pCommand)
                throw CAdoException(AdoStatus::Pointer);
            m_pCommand->SetActiveConnection(connection);
            m_pCommand->SetCommandText(m_strSql);
            m_pCommand->SetCommandType(Ado::adCmdStoredProc);
            // adCmdText makes the command run the text as plain SQL.
            m_pRecordset = m_pCommand->Execute(Ado::adCmdText);
        }
        return m_pRecordset != nullptr;
    } catch (const CAdoException& error) {
        KeepDescription(error);
        throw;
    }
}

qint32 CAdoResultSet::GetRecordCount()
{
    IAdoRecordset& rows = Rows();
    const long count = rows.RecordCount();
    if (count != -1)
        return static_cast<qint32>(count);
    // The provider cannot tell: walk the rows and go back to the first one.
    qint32 walked = 0;
    if (!rows.IsEOF())
        rows.MoveFirst();
    while (!rows.IsEOF()) {
        ++walked;
        rows.MoveNext();
    }
    if (walked > 0)
        rows.MoveFirst();
    return walked;
}

bool CAdoResultSet::GetFieldValue(const QString& fieldName, qint32& value)
{
    const CAdoVariant field = Rows().FieldValue(fieldName);
    // Meant for integer columns: only null is special, the tag is not checked.
    value = field.Tag() == VarTag::Null ? 0 : field.Int32Payload();
    return true;
}

bool CAdoResultSet::GetFieldValue(const QString& fieldName, QString& value)
{
    return VariantToText(Rows().FieldValue(fieldName), value);
}

void CAdoResultSet::MoveNext()
{
    Rows().MoveNext();
}

bool CAdoResultSet::IsOpen()
{
    if (!m_pRecordset)
        return false;
    return m_pRecordset->State() != Ado::adStateClosed;
}

void CAdoResultSet::Close()
{
    if (IsOpen())
        m_pRecordset->Close();
}

bool CAdoResultSet::IsSelectStatement(const QString& statement)
{
    return statement.left(7).compare(u"select ", Qt::CaseInsensitive) == 0;
}

bool CAdoResultSet::VariantToText(const CAdoVariant& value, QString& text)
{
    switch (value.Tag()) {
    case VarTag::Empty:
    case VarTag::Null:
        text.clear();
        return true;
    case VarTag::I4:
        text = QString::number(value.Int32Payload());
        return true;
    case VarTag::Date:
        text = value.DatePayload().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return true;
    case VarTag::String:
        text = value.StringPayload();
        return true;
    default:
        text.clear();
        return false;
    }
}
