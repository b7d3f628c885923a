// The deferred load of the reference pages, run when the splash window's timer
// has fired: each page's loader fills its tree from the reference database.
#pragma once

#include <functional>

class CAdoDatabase;
class QWidget;

// Loads the pages at tabs PHP (0), Html (2), CSS (1) and JavaScript (3), in that
// order. viewAt gives the workspace bar's page at a tab (CWorkspaceBar::GetView);
// a tab whose view is no reference page is passed over. referenceDatabase is asked
// once per page (the store's GetDatabase(1)); it may give nullptr, and then that
// page stays empty.
void LoadReferencePages(const std::function<QWidget*(int tab)>& viewAt,
                        const std::function<CAdoDatabase*()>& referenceDatabase);
