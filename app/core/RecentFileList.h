// The four most recently opened or saved files, kept in "Recent File List".
#pragma once

#include <QSettings>
#include <QStringList>

class CRecentFileList
{
public:
    explicit CRecentFileList(int size = 4) : m_nSize(size) {}

    // Puts path at the head; an entry already in the list moves up, and the
    // oldest falls out when the list is full.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return m_files; }

    // "File1".."FileN" in the section "Recent File List", entry 1 the newest.
    void ReadList(QSettings& settings);
    void WriteList(QSettings& settings) const;

private:
    int m_nSize;
    QStringList m_files;
};
