// The "LocalSite" page of the workspace bar: the site folder as a tree of
// folders and files. A double click on a file asks for command 32800 (open).
#pragma once

#include <QWidget>

class CLocalSiteTreeCtrl;
class QTreeWidgetItem;

class CWSLocalSiteView : public QWidget
{
    Q_OBJECT
public:
    explicit CWSLocalSiteView(QWidget* parent = nullptr);

    CLocalSiteTreeCtrl* GetTreeCtrl() const { return m_pTree; }

signals:
    // A command for the frame; connect it queued, so that it is posted.
    void commandRequested(int id);

private:
    void OnItemDoubleClicked(QTreeWidgetItem* item);

    CLocalSiteTreeCtrl* m_pTree;
};
