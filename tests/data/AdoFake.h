// A scripted stand-in for the data-access platform: it logs every call the layer
// makes and answers with what the test put into its script.
#pragma once

#include "AdoPlatform.h"

#include <QMap>
#include <QStringList>
#include <memory>
#include <optional>

struct FakeScript
{
    QStringList log;   // every platform call in order

    bool createConnection = true;
    bool createRecordset = true;
    bool createCommand = true;
    QMap<HRESULT, QString> messages;   // the system message table

    HRESULT openStatus = 0;
    std::optional<CAdoException> openFailure;
    std::optional<CAdoException> stateFailure;
    std::optional<CAdoException> executeFailure;
    CAdoVariant executeCount = CAdoVariant::FromInt32(0);

    long recordCount = -1;   // what RecordCount reports
    QList<QMap<QString, CAdoVariant>> rows;
    std::optional<CAdoException> recordsetOpenFailure;
    bool commandReturnsRows = true;
};

class FakeProvider : public IAdoProvider
{
public:
    explicit FakeProvider(std::shared_ptr<FakeScript> script) : m_script(std::move(script)) {}
    std::shared_ptr<IAdoConnection> CreateConnection() override;
    std::shared_ptr<IAdoRecordset> CreateRecordset() override;
    std::shared_ptr<IAdoCommand> CreateCommand() override;
    QString MessageText(HRESULT code) override { return m_script->messages.value(code); }

private:
    std::shared_ptr<FakeScript> m_script;
};
