#include "AdoException.h"

CAdoException::CAdoException(HRESULT code)
    : m_nCode(code), m_bHasErrorInfo(false)
{
    m_what = QByteArray("data access failure 0x")
             + QByteArray::number(static_cast<quint32>(code), 16);
}

CAdoException::CAdoException(HRESULT code, const QString& source, const QString& description)
    : m_nCode(code), m_bHasErrorInfo(true), m_strSource(source), m_strDescription(description)
{
    m_what = QByteArray("data access failure 0x")
             + QByteArray::number(static_cast<quint32>(code), 16) + ": " + description.toUtf8();
}
