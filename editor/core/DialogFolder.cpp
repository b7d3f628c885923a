#include "DialogFolder.h"

#include <QDir>
#include <QFileInfo>

namespace DialogFolder {

namespace {
QString g_strLastUsed;

bool IsFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}
} // namespace

QString StartFolder(const QString& activeDocPath, const QString& lastUsed, const QString& home)
{
    if (!activeDocPath.isEmpty()) {
        const QString folder = QFileInfo(activeDocPath).absolutePath();
        if (IsFolder(folder))
            return folder;
    }
    if (IsFolder(lastUsed))
        return QFileInfo(lastUsed).absoluteFilePath();
    return home;
}

void Remember(const QString& chosenFile)
{
    if (!chosenFile.isEmpty())
        g_strLastUsed = QFileInfo(chosenFile).absolutePath();
}

QString LastUsed()
{
    return g_strLastUsed;
}

QString For(const QString& activeDocPath)
{
    return StartFolder(activeDocPath, g_strLastUsed, QDir::homePath());
}

} // namespace DialogFolder
