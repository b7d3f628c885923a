#include "SiteOpenRules.h"

namespace SiteOpenRules {

std::optional<QString> Extension(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= 0 || dot < slash)
        return std::nullopt;
    return path.sliced(dot + 1);
}

bool OpensInEditor(const QString& path, const QString& extensions)
{
    const std::optional<QString> ext = Extension(path);
    return ext && extensions.contains(*ext, Qt::CaseSensitive);
}

} // namespace SiteOpenRules
