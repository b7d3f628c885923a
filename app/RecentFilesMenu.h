// The File menu's recent files: one entry per file of the list, put before
// the placeholder, which shows (greyed) only while the list is empty.
#pragma once

#include <QList>

class CDocTemplate;
class CRecentFileList;
class QAction;
class QMenu;

namespace RecentFilesMenu {

// Replaces entries (deleted) with the list's files as they are now; choosing
// one opens it, and a file that cannot be opened leaves the list.
void Fill(QMenu* menu, QAction* placeholder, CRecentFileList* recentFiles, CDocTemplate* docTemplate,
          QList<QAction*>& entries);

} // namespace RecentFilesMenu
