// Which site files open in an editor window.
#pragma once

#include <QString>

#include <optional>

namespace SiteOpenRules {

// The extensions whose files open in an editor window.
inline constexpr const char* kSiteExtensions = "php,html,htm,js,css,inc";

// The text after the last "." of path's file name; none when the file name
// has no dot. "name." has the empty extension.
std::optional<QString> Extension(const QString& path);

// Whether path opens in an editor window: it has an extension and that
// extension occurs in extensions as a substring, letter case counting
// (so "s", "ht" and the empty extension of "name." do, "PHP" and "txt" do not).
bool OpensInEditor(const QString& path, const QString& extensions = QString::fromLatin1(kSiteExtensions));

} // namespace SiteOpenRules
