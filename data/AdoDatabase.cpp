#include "AdoDatabase.h"

#include "AdoErrorText.h"

#include <new>

CAdoDatabase::CAdoDatabase(std::shared_ptr<IAdoProvider> provider)
    : m_pProvider(std::move(provider))
{
    if (m_pProvider)
        m_pConnection = m_pProvider->CreateConnection();
}

CAdoDatabase::~CAdoDatabase()
{
    try {
        if (IsOpen())
            Close();
    } catch (...) {
        // A connection that cannot even say whether it is open is simply released.
    }
}

bool CAdoDatabase::Open(const QString& connectionString)
{
    try {
        if (IsOpen())
            Close();
        if (!connectionString.isEmpty())
            m_strConnection = connectionString;
        if (!m_pConnection)
            throw CAdoException(AdoStatus::Pointer);
        const HRESULT status = m_pConnection->Open(m_strConnection, QString(), QString(),
                                                   Ado::adOptionUnspecified);
        return status == AdoStatus::Ok;
    } catch (const CAdoException& error) {
        KeepError(error);
    } catch (const std::bad_alloc&) {
        KeepError(CAdoException(AdoStatus::OutOfMemory));
    }
    return false;
}

bool CAdoDatabase::IsOpen()
{
    if (!m_pConnection)
        return false;
    return m_pConnection->State() != Ado::adStateClosed;
}

void CAdoDatabase::Close()
{
    if (IsOpen())
        m_pConnection->Close();
}

bool CAdoDatabase::Execute(const QString& statement, qint32& recordsAffected)
{
    try {
        if (!m_pConnection)
            throw CAdoException(AdoStatus::Pointer);
        CAdoVariant count;
        // Whatever rows come back are released right away.
        m_pConnection->Execute(statement, &count, Ado::adExecuteNoRecords).reset();
        recordsAffected = count.Int32Payload();
        return true;
    } catch (const CAdoException& error) {
        KeepError(error);
    } catch (const std::bad_alloc&) {
        KeepError(CAdoException(AdoStatus::OutOfMemory));
    }
    return false;
}

void CAdoDatabase::KeepError(const CAdoException& error)
{
    const QString systemMessage = m_pProvider ? m_pProvider->MessageText(error.Code()) : QString();
    m_strLastError = AdoErrorText::DatabaseErrorText(m_strConnection, error, systemMessage);
}
