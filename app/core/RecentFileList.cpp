#include "RecentFileList.h"

#include <QFileInfo>

namespace {
const char* const kSection = "Recent File List";

QString Normalised(const QString& path)
{
    const QFileInfo info(path);
    return info.isAbsolute() ? info.absoluteFilePath() : path;
}
} // namespace

void CRecentFileList::Add(const QString& path)
{
    const QString file = Normalised(path);
    if (file.isEmpty())
        return;
    m_files.removeAll(file);
    m_files.prepend(file);
    while (m_files.size() > m_nSize)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

void CRecentFileList::ReadList(QSettings& settings)
{
    m_files.clear();
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= m_nSize; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty() && !m_files.contains(file))
            m_files << file;
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const
{
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= m_nSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_files.size())
            settings.setValue(key, m_files.at(i - 1));
        else
            settings.remove(key);
    }
    settings.endGroup();
}
