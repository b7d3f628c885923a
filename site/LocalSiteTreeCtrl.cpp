#include "LocalSiteTreeCtrl.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include "CommandIds.h"
#include "core/SiteFileOps.h"

CLocalSiteTreeCtrl::CLocalSiteTreeCtrl(QWidget* parent) : CFolderTreeCtrl(parent)
{
    setObjectName(QStringLiteral("localSiteTree"));
    setProperty("ctrlId", kCtrlId);
}

CLocalSiteTreeCtrl::~CLocalSiteTreeCtrl()
{
    // The open menu is a child destroyed after this: its goodbye must not
    // reach a tree that is no longer one.
    if (m_pMenu)
        m_pMenu->disconnect(this);
}

QList<int> CLocalSiteTreeCtrl::MenuItems(int menuId)
{
    if (menuId == kFileMenu)
        return {Cmd::SiteOpenFile, Cmd::SiteDeleteFile};
    if (menuId == kFolderMenu)
        return {Cmd::SiteNewFile, 0, Cmd::SiteNewFolder, Cmd::SiteDeleteFolder, 0, Cmd::SiteFindInFolder};
    if (menuId == kNoSiteMenu)
        return {Cmd::OpenSite};
    return {};
}

int CLocalSiteTreeCtrl::MenuFor(const QTreeWidgetItem* item) const
{
    if (!item)
        return topLevelItemCount() == 0 ? kNoSiteMenu : 0;
    if (IsPlaceholder(item))
        return 0;
    // The site folder itself always gets the folder menu.
    const bool entry = SiteFileOps::EntryExists(GetItemPath(item)) && !IsFolderItem(item);
    return item->parent() && entry ? kFileMenu : kFolderMenu;
}

void CLocalSiteTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        CFolderTreeCtrl::mousePressEvent(event);
        return;
    }
    event->accept();
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (IsPlaceholder(item))
        return;
    if (item)
        setCurrentItem(item);
    ShowMenu(item, event->globalPosition().toPoint());
}

void CLocalSiteTreeCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    // A right click was handled at the press. The menu key opens the menu of
    // the current item beside it.
    event->accept();
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    QTreeWidgetItem* item = currentItem();
    if (item && !IsPlaceholder(item) && item->isSelected())
        ShowMenu(item, viewport()->mapToGlobal(visualItemRect(item).center()));
    else if (topLevelItemCount() == 0)
        ShowMenu(nullptr, viewport()->mapToGlobal(QPoint(0, 0)));
}

void CLocalSiteTreeCtrl::ShowMenu(QTreeWidgetItem* item, const QPoint& globalPos)
{
    const int menuId = MenuFor(item);
    if (!menuId || !m_actionLookup)
        return;
    if (m_pMenu)
        m_pMenu->close();
    auto* menu = new QMenu(this);
    menu->setObjectName(menuId == kFileMenu     ? QStringLiteral("LocalSiteFile")
                        : menuId == kFolderMenu ? QStringLiteral("LocalSiteFolder")
                                                : QStringLiteral("LocalSiteNone"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int id : MenuItems(menuId)) {
        if (id == 0) {
            menu->addSeparator();
        } else if (QAction* action = m_actionLookup(id)) {
            // Only a regular file opens: a pipe would hold up the editor, a
            // dangling link names nothing.
            if (id == Cmd::SiteOpenFile && !IsFileItem(item)) {
                QAction* shown = menu->addAction(action->text());
                shown->setData(id);
                shown->setEnabled(false);
            } else {
                menu->addAction(action);
            }
        }
    }
    m_pMenu = menu;
    m_nMenuId = menuId;
    connect(menu, &QObject::destroyed, this, [this, menu] {
        if (m_pMenu == menu) {
            m_pMenu = nullptr;
            m_nMenuId = 0;
        }
    });
    menu->popup(globalPos);
}
