// Finds a shipped data file: in the start directory first, then in each fallback directory.
#pragma once

#include <QString>
#include <QStringList>

class CDataFileLocator
{
public:
    // startDir ends in one '/'; fallbackDirs are tried in order after it.
    CDataFileLocator(const QString& startDir, const QStringList& fallbackDirs);

    // The first existing startDir + name or fallback/name; startDir + name when
    // none exists, so that opening it fails as for a missing file.
    QString Find(const QString& name) const;

    // The directories a program started from anywhere looks in after its start
    // directory: the executable's own, then the installed data directory.
    static QStringList StandardFallbackDirs(const QString& installedDataDir);

private:
    QString m_strStartDir;
    QStringList m_fallbackDirs;
};
