// The narrow interface to the data-access platform: connection, result set, command.
// CAdoDatabase and CAdoResultSet see a backend only through these classes; every
// operation reports a failure by throwing CAdoException.
#pragma once

#include "AdoException.h"
#include "AdoVariant.h"

#include <QString>
#include <memory>

// Option and state values, with the platform's numbers.
namespace Ado {
constexpr long adStateClosed = 0;
constexpr long adStateOpen = 1;

constexpr long adOpenForwardOnly = 0;
constexpr long adOpenKeyset = 1;
constexpr long adOpenDynamic = 2;
constexpr long adOpenStatic = 3;

constexpr long adLockReadOnly = 1;
constexpr long adLockPessimistic = 2;
constexpr long adLockOptimistic = 3;
constexpr long adLockBatchOptimistic = 4;

constexpr long adUseServer = 2;
constexpr long adUseClient = 3;

constexpr long adOptionUnspecified = -1;
constexpr long adCmdText = 1;
constexpr long adCmdStoredProc = 4;
constexpr long adCmdUnknown = 8;
constexpr long adExecuteNoRecords = 128;
} // namespace Ado

class IAdoRecordset;

class IAdoConnection
{
public:
    virtual ~IAdoConnection() = default;
    // Returns the success status (0 for plain success); throws on failure.
    virtual HRESULT Open(const QString& connectionString, const QString& userId,
                         const QString& password, long options) = 0;
    virtual long State() = 0;
    virtual void Close() = 0;
    // Runs a statement; recordsAffected receives the count as a 32-bit integer
    // variant. The returned rows may be null (always so with adExecuteNoRecords).
    virtual std::shared_ptr<IAdoRecordset> Execute(const QString& text,
                                                   CAdoVariant* recordsAffected,
                                                   long options) = 0;
};

class IAdoRecordset
{
public:
    virtual ~IAdoRecordset() = default;
    virtual void SetCursorLocation(long location) = 0;
    // Positions the rows on the first record.
    virtual void Open(const QString& source, const std::shared_ptr<IAdoConnection>& connection,
                      long cursorType, long lockType, long options) = 0;
    virtual long RecordCount() = 0;   // -1 when the provider cannot tell
    virtual bool IsEOF() = 0;
    virtual void MoveNext() = 0;
    virtual void MoveFirst() = 0;
    virtual long State() = 0;
    virtual void Close() = 0;
    virtual CAdoVariant FieldValue(const QString& name) = 0;   // by name only
};

class IAdoCommand
{
public:
    virtual ~IAdoCommand() = default;
    virtual void SetActiveConnection(const std::shared_ptr<IAdoConnection>& connection) = 0;
    virtual void SetCommandText(const QString& text) = 0;
    virtual void SetCommandType(long type) = 0;
    // Runs the command; returns its row set object, possibly closed.
    virtual std::shared_ptr<IAdoRecordset> Execute(long options) = 0;
};

// Creates the platform objects and knows the message texts of its status codes.
class IAdoProvider
{
public:
    virtual ~IAdoProvider() = default;
    // Null when the object cannot be created.
    virtual std::shared_ptr<IAdoConnection> CreateConnection() = 0;
    virtual std::shared_ptr<IAdoRecordset> CreateRecordset() = 0;
    virtual std::shared_ptr<IAdoCommand> CreateCommand() = 0;
    // The system's message text for a status code, empty when there is none.
    virtual QString MessageText(HRESULT code) = 0;
};

namespace AdoProvider {
// The provider that CAdoDatabase and CAdoResultSet use unless given one: SQLite.
std::shared_ptr<IAdoProvider> Default();
} // namespace AdoProvider
