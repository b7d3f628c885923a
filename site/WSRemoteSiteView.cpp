#include "WSRemoteSiteView.h"

#include <QTreeWidget>
#include <QVBoxLayout>

CWSRemoteSiteView::CWSRemoteSiteView(QWidget* parent) : QWidget(parent), m_pTree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("CWSRemoteSiteView"));
    m_pTree->setProperty("ctrlId", kCtrlId);
    m_pTree->setHeaderHidden(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pTree);
}
