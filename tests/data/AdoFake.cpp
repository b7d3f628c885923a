#include "AdoFake.h"

namespace {

class FakeRecordset : public IAdoRecordset
{
public:
    explicit FakeRecordset(std::shared_ptr<FakeScript> s, bool open = false)
        : m_s(std::move(s)), m_bOpen(open) {}

    void SetCursorLocation(long location) override
    {
        m_s->log << QStringLiteral("Recordset.CursorLocation=%1").arg(location);
    }
    void Open(const QString& source, const std::shared_ptr<IAdoConnection>& connection,
              long cursorType, long lockType, long options) override
    {
        m_s->log << QStringLiteral("Recordset.Open(%1,%2,%3,%4,%5)")
                        .arg(source, connection ? QStringLiteral("conn") : QStringLiteral("none"))
                        .arg(cursorType).arg(lockType).arg(options);
        if (m_s->recordsetOpenFailure)
            throw *m_s->recordsetOpenFailure;
        m_bOpen = true;
        m_nCurrent = 0;
    }
    long RecordCount() override
    {
        m_s->log << QStringLiteral("Recordset.RecordCount");
        return m_s->recordCount;
    }
    bool IsEOF() override { return m_nCurrent >= m_s->rows.size(); }
    void MoveNext() override
    {
        m_s->log << QStringLiteral("Recordset.MoveNext");
        if (IsEOF())
            throw CAdoException(AdoStatus::NoCurrentRecord, QStringLiteral("fake"),
                                QStringLiteral("no current record"));
        ++m_nCurrent;
    }
    void MoveFirst() override
    {
        m_s->log << QStringLiteral("Recordset.MoveFirst");
        m_nCurrent = 0;
    }
    long State() override { return m_bOpen ? Ado::adStateOpen : Ado::adStateClosed; }
    void Close() override
    {
        m_s->log << QStringLiteral("Recordset.Close");
        m_bOpen = false;
    }
    CAdoVariant FieldValue(const QString& name) override
    {
        if (IsEOF() || !m_s->rows[m_nCurrent].contains(name))
            throw CAdoException(AdoStatus::ItemNotFound, QStringLiteral("fake"),
                                QStringLiteral("no field ") + name);
        return m_s->rows[m_nCurrent].value(name);
    }

private:
    std::shared_ptr<FakeScript> m_s;
    bool m_bOpen;
    qsizetype m_nCurrent = 0;
};

class FakeConnection : public IAdoConnection
{
public:
    explicit FakeConnection(std::shared_ptr<FakeScript> s) : m_s(std::move(s)) {}

    HRESULT Open(const QString& connectionString, const QString& userId,
                 const QString& password, long options) override
    {
        m_s->log << QStringLiteral("Connection.Open(%1,%2,%3,%4)")
                        .arg(connectionString, userId, password).arg(options);
        if (m_s->openFailure)
            throw *m_s->openFailure;
        m_bOpen = true;
        return m_s->openStatus;
    }
    long State() override
    {
        if (m_s->stateFailure)
            throw *m_s->stateFailure;
        return m_bOpen ? Ado::adStateOpen : Ado::adStateClosed;
    }
    void Close() override
    {
        m_s->log << QStringLiteral("Connection.Close");
        m_bOpen = false;
    }
    std::shared_ptr<IAdoRecordset> Execute(const QString& text, CAdoVariant* recordsAffected,
                                           long options) override
    {
        m_s->log << QStringLiteral("Connection.Execute(%1,%2)").arg(text).arg(options);
        if (m_s->executeFailure)
            throw *m_s->executeFailure;
        if (recordsAffected)
            *recordsAffected = m_s->executeCount;
        return std::make_shared<FakeRecordset>(m_s, true);
    }

private:
    std::shared_ptr<FakeScript> m_s;
    bool m_bOpen = false;
};

class FakeCommand : public IAdoCommand
{
public:
    explicit FakeCommand(std::shared_ptr<FakeScript> s) : m_s(std::move(s)) {}
    void SetActiveConnection(const std::shared_ptr<IAdoConnection>& connection) override
    {
        m_s->log << (connection ? QStringLiteral("Command.ActiveConnection=conn")
                                : QStringLiteral("Command.ActiveConnection=none"));
    }
    void SetCommandText(const QString& text) override
    {
        m_s->log << QStringLiteral("Command.CommandText=") + text;
    }
    void SetCommandType(long type) override
    {
        m_s->log << QStringLiteral("Command.CommandType=%1").arg(type);
    }
    std::shared_ptr<IAdoRecordset> Execute(long options) override
    {
        m_s->log << QStringLiteral("Command.Execute(%1)").arg(options);
        if (m_s->executeFailure)
            throw *m_s->executeFailure;
        if (!m_s->commandReturnsRows)
            return nullptr;
        return std::make_shared<FakeRecordset>(m_s, true);
    }

private:
    std::shared_ptr<FakeScript> m_s;
};

} // namespace

std::shared_ptr<IAdoConnection> FakeProvider::CreateConnection()
{
    return m_script->createConnection ? std::make_shared<FakeConnection>(m_script) : nullptr;
}

std::shared_ptr<IAdoRecordset> FakeProvider::CreateRecordset()
{
    return m_script->createRecordset ? std::make_shared<FakeRecordset>(m_script) : nullptr;
}

std::shared_ptr<IAdoCommand> FakeProvider::CreateCommand()
{
    return m_script->createCommand ? std::make_shared<FakeCommand>(m_script) : nullptr;
}
