// The SQLite backend of the data-access platform.
#pragma once

#include "AdoPlatform.h"

class CSqliteProvider : public IAdoProvider
{
public:
    std::shared_ptr<IAdoConnection> CreateConnection() override;
    std::shared_ptr<IAdoRecordset> CreateRecordset() override;
    std::shared_ptr<IAdoCommand> CreateCommand() override;
    // The system texts of the standard status codes this backend reports; none
    // for the data-access codes (those read "IDispatch error" or "Unknown error").
    QString MessageText(HRESULT code) override;
};
