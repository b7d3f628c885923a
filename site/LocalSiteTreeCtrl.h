// The tree of the LocalSite page: a right click selects the item under the
// mouse and opens the file menu (142) or the folder menu (148) with the
// frame's commands. Empty space opens nothing while a site is shown, and a
// menu with "打开站点" while none is.
#pragma once

#include <QList>
#include <functional>

#include "FolderTreeCtrl.h"

class QAction;
class QMenu;

class CLocalSiteTreeCtrl : public CFolderTreeCtrl
{
    Q_OBJECT
public:
    static constexpr int kCtrlId = 111;
    static constexpr int kFileMenu = 142;     // "LocalSiteFile"
    static constexpr int kFolderMenu = 148;   // "LocalSiteFolder"
    static constexpr int kNoSiteMenu = 1;     // "LocalSiteNone": the page without a site

    explicit CLocalSiteTreeCtrl(QWidget* parent = nullptr);
    ~CLocalSiteTreeCtrl() override;

    // The command ids of a menu in order, 0 for a separator.
    static QList<int> MenuItems(int menuId);
    // Where the menus find the commands' actions (the frame's).
    void SetActionLookup(std::function<QAction*(int)> lookup) { m_actionLookup = std::move(lookup); }

    // Which menu a right click on item opens: 142 for an entry on disk that
    // is not a folder (a pipe or a dangling link too), 148 for the site
    // folder and any other item; on no item, 1 while no site is shown,
    // otherwise 0 for none.
    int MenuFor(const QTreeWidgetItem* item) const;
    // The menu opened last, while it is open.
    QMenu* OpenMenu() const { return m_pMenu; }
    int OpenMenuId() const { return m_nMenuId; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowMenu(QTreeWidgetItem* item, const QPoint& globalPos);

    std::function<QAction*(int)> m_actionLookup;
    QMenu* m_pMenu = nullptr;
    int m_nMenuId = 0;
};
