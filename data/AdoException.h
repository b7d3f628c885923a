// A failure of the data-access platform: status code, and the error object's source and description.
#pragma once

#include <QString>
#include <exception>
#include <optional>

using HRESULT = qint32;

// Status codes in the HRESULT form that the layer and its backends use.
namespace AdoStatus {
constexpr HRESULT Ok = 0;
constexpr HRESULT Fail = static_cast<HRESULT>(0x80004005);           // unspecified error
constexpr HRESULT Pointer = static_cast<HRESULT>(0x80004003);        // invalid pointer
constexpr HRESULT OutOfMemory = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT InvalidArg = static_cast<HRESULT>(0x80070057);
constexpr HRESULT FileNotFound = static_cast<HRESULT>(0x80070002);
constexpr HRESULT AccessDenied = static_cast<HRESULT>(0x80070005);
constexpr HRESULT LockViolation = static_cast<HRESULT>(0x80070021);
constexpr HRESULT DiskFull = static_cast<HRESULT>(0x80070070);
constexpr HRESULT FileCorrupt = static_cast<HRESULT>(0x80070570);
constexpr HRESULT IntegrityViolation = static_cast<HRESULT>(0x80040E2F);  // constraint refused
constexpr HRESULT CantConvertValue = static_cast<HRESULT>(0x80040E07);
constexpr HRESULT ItemNotFound = static_cast<HRESULT>(0x800A0CC1);        // no such field
constexpr HRESULT NoCurrentRecord = static_cast<HRESULT>(0x800A0BCD);     // at end of rows
constexpr HRESULT ObjectClosed = static_cast<HRESULT>(0x800A0E78);
constexpr HRESULT InvalidConnection = static_cast<HRESULT>(0x800A0E7D);
} // namespace AdoStatus

class CAdoException : public std::exception
{
public:
    // A failure without an error object (source and description absent).
    explicit CAdoException(HRESULT code);
    CAdoException(HRESULT code, const QString& source, const QString& description);

    HRESULT Code() const { return m_nCode; }
    bool HasErrorInfo() const { return m_bHasErrorInfo; }
    // Source and description of the error object; null strings when there is none.
    const QString& Source() const { return m_strSource; }
    const QString& Description() const { return m_strDescription; }

    const char* what() const noexcept override { return m_what.constData(); }

private:
    HRESULT m_nCode;
    bool m_bHasErrorInfo;
    QString m_strSource;
    QString m_strDescription;
    QByteArray m_what;
};
