#include "DataFileLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

CDataFileLocator::CDataFileLocator(const QString& startDir, const QStringList& fallbackDirs)
    : m_strStartDir(startDir), m_fallbackDirs(fallbackDirs)
{
}

QString CDataFileLocator::Find(const QString& name) const
{
    const QString inStartDir = m_strStartDir + name;
    if (QFileInfo(inStartDir).isFile())
        return inStartDir;
    for (const QString& dir : m_fallbackDirs) {
        if (dir.isEmpty())
            continue;
        const QString candidate = QDir(dir).filePath(name);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return inStartDir;
}

QStringList CDataFileLocator::StandardFallbackDirs(const QString& installedDataDir)
{
    QStringList dirs;
    if (QCoreApplication::instance())
        dirs << QCoreApplication::applicationDirPath();
    if (!installedDataDir.isEmpty())
        dirs << installedDataDir;
    return dirs;
}
