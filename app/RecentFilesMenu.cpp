#include "RecentFilesMenu.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include "DocTemplate.h"
#include "core/RecentFileList.h"

namespace RecentFilesMenu {

void Fill(QMenu* menu, QAction* placeholder, CRecentFileList* recentFiles, CDocTemplate* docTemplate,
          QList<QAction*>& entries)
{
    for (QAction* a : std::as_const(entries))
        delete a;
    entries.clear();
    const QStringList files = recentFiles ? recentFiles->Files() : QStringList();
    placeholder->setVisible(files.isEmpty());
    placeholder->setEnabled(false);
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files.at(i))), menu);
        const QString file = files.at(i);
        QObject::connect(action, &QAction::triggered, docTemplate, [recentFiles, docTemplate, file] {
            if (!docTemplate->OpenDocumentFile(file) && recentFiles) {
                // A file that cannot be opened leaves the list.
                const qsizetype at = recentFiles->Files().indexOf(file);
                recentFiles->Remove(static_cast<int>(at));
            }
        });
        menu->insertAction(placeholder, action);
        entries << action;
    }
}

} // namespace RecentFilesMenu
