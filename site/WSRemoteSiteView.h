// A page for a remote site: an empty tree that nothing fills. It is not
// among the workspace bar's pages.
#pragma once

#include <QWidget>

class QTreeWidget;

class CWSRemoteSiteView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kCtrlId = 112;

    explicit CWSRemoteSiteView(QWidget* parent = nullptr);

    QTreeWidget* GetTreeCtrl() const { return m_pTree; }

private:
    QTreeWidget* m_pTree;
};
