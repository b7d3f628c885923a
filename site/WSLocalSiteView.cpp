#include "WSLocalSiteView.h"

#include <QVBoxLayout>

#include "CommandIds.h"
#include "LocalSiteTreeCtrl.h"

CWSLocalSiteView::CWSLocalSiteView(QWidget* parent) : QWidget(parent), m_pTree(new CLocalSiteTreeCtrl(this))
{
    setObjectName(QStringLiteral("CWSLocalSiteView"));
    // The tree covers the whole page at every size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pTree);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OnItemDoubleClicked(item); });
}

void CWSLocalSiteView::OnItemDoubleClicked(QTreeWidgetItem* item)
{
    // A folder opens or closes as in any tree; a file is opened by the frame.
    if (item && item->isSelected() && m_pTree->IsFileItem(item))
        emit commandRequested(Cmd::SiteOpenFile);
}
