// Which site files open in an editor window and how a desktop program's
// command line is cut before a file is handed to it.
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

// The command line cut at its first field code (%f, %F, %u, %U, %1, ...),
// together with a quote that directly encloses it; "%%" is a percent sign and
// no field code. Everything from the cut on is dropped, trailing blanks too.
QString CutAtFieldCode(const QString& command);

// The Exec value of a desktop entry's [Desktop Entry] group (empty when it
// has none), with the entry format's escapes (\s \n \t \r \\) undone.
QString DesktopEntryExec(const QString& entryText);

} // namespace SiteOpenRules
