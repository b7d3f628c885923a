// The site folder opened last, kept in the settings store so that the next
// start opens it again and the open-site dialog starts there; and a folder
// path as the user types or pastes it.
#pragma once

#include <QString>

class QSettings;

namespace SiteMemory {

// Section "Settings", value "LastSite": the folder's full path.
inline constexpr const char* kLastSiteKey = "Settings/LastSite";

// The stored site when it is still a folder; empty otherwise.
QString LastSite(const QSettings& settings);
void Remember(QSettings& settings, const QString& folder);
// Where the open-site dialog starts: the last site, else the home folder.
QString StartFolder(const QSettings& settings);

// text as a folder path: blanks and one pair of enclosing quotes dropped, a
// file: address made a path, "~" made the home folder, a relative path taken
// from the home folder, "." and ".." resolved, trailing "/" dropped.
// Empty text stays empty.
QString FromTyped(const QString& text);

} // namespace SiteMemory
