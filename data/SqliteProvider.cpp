#include "SqliteProvider.h"

#include "SqliteConnection.h"
#include "SqliteRecordset.h"

std::shared_ptr<IAdoConnection> CSqliteProvider::CreateConnection()
{
    return std::make_shared<CSqliteConnection>();
}

std::shared_ptr<IAdoRecordset> CSqliteProvider::CreateRecordset()
{
    return std::make_shared<CSqliteRecordset>();
}

std::shared_ptr<IAdoCommand> CSqliteProvider::CreateCommand()
{
    return std::make_shared<CSqliteCommand>();
}

QString CSqliteProvider::MessageText(HRESULT code)
{
    // The texts end in a line break as the system's message table gives them.
    switch (code) {
    case AdoStatus::Fail:
        return QStringLiteral("Unspecified error\r\n");
    case AdoStatus::Pointer:
        return QStringLiteral("Invalid pointer\r\n");
    case AdoStatus::OutOfMemory:
        return QStringLiteral("Not enough memory resources are available to complete this "
                              "operation.\r\n");
    case AdoStatus::InvalidArg:
        return QStringLiteral("The parameter is incorrect.\r\n");
    case AdoStatus::FileNotFound:
        return QStringLiteral("The system cannot find the file specified.\r\n");
    case AdoStatus::AccessDenied:
        return QStringLiteral("Access is denied.\r\n");
    case AdoStatus::LockViolation:
        return QStringLiteral("The process cannot access the file because another process has "
                              "locked a portion of the file.\r\n");
    case AdoStatus::DiskFull:
        return QStringLiteral("There is not enough space on the disk.\r\n");
    case AdoStatus::FileCorrupt:
        return QStringLiteral("The file or directory is corrupted and unreadable.\r\n");
    default:
        return {};
    }
}

namespace AdoProvider {

std::shared_ptr<IAdoProvider> Default()
{
    static const auto provider = std::make_shared<CSqliteProvider>();
    return provider;
}

} // namespace AdoProvider
