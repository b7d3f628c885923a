#include "SiteTestSupport.h"

#include <QDirIterator>
#include <QFile>

namespace SiteTest {

bool MakeTree(const QString& root, const QStringList& entries)
{
    QDir dir(root);
    for (const QString& entry : entries) {
        if (entry.endsWith(u'/')) {
            if (!dir.mkpath(entry))
                return false;
            continue;
        }
        const QString path = dir.filePath(entry);
        dir.mkpath(QFileInfo(path).path());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(entry.toUtf8()) != entry.toUtf8().size())
            return false;
    }
    return true;
}

QString FindInTrash(const QString& name)
{
    QDirIterator it(QDir::homePath(), {name}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QLatin1String("/Trash/files/")))
            return path;
    }
    return QString();
}

QStringList Listing(const QString& dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace SiteTest
