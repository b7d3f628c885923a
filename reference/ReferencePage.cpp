#include "ReferencePage.h"

#include "FillReferenceTree.h"
#include "QuilletEvent.h"
#include "ReferenceImages.h"
#include "ReferenceTables.h"
#include "ReferenceTreeCtrl.h"

#include <QVBoxLayout>

#include <utility>

CReferencePage::CReferencePage(int kind, QObject* target, QWidget* parent)
    : QWidget(parent),
      m_nKind(kind),
      m_pTree(new CReferenceTreeCtrl(ReferenceTables::TreeId(kind), this)),
      m_pTarget(target)
{
    // The tree covers the whole page at every size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pTree);
    m_pTree->SetImageList(ReferenceImages::ForKind(kind));
    connect(m_pTree, &CReferenceTreeCtrl::treeClicked, this, &CReferencePage::OnTreeClicked);
    connect(m_pTree, &CReferenceTreeCtrl::treeDoubleClicked, this,
            &CReferencePage::OnTreeDoubleClicked);
}

CReferencePage::~CReferencePage() = default;

QString CReferencePage::GetTableName() const
{
    return ReferenceTables::TableName(m_nKind);
}

void CReferencePage::Load(CAdoDatabase* database)
{
    if (database && window() != this && window()->isVisible() && !isVisible()) {
        m_pPendingDatabase = database;
        return;
    }
    FillReferenceTree(m_pTree, database, GetTableName());
}

void CReferencePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (CAdoDatabase* database = std::exchange(m_pPendingDatabase, nullptr))
        FillReferenceTree(m_pTree, database, GetTableName());
}

bool CReferencePage::CategorySelected() const
{
    const QTreeWidgetItem* item = CReferenceTreeCtrl::SelectedItem(m_pTree);
    return item && CReferenceTreeCtrl::ItemKind(item) == ReferenceTables::CategoryKind(m_nKind);
}

// The main frame reads the tree's selected item. A category only groups
// entries: with one selected, a click shows nothing and a double click inserts
// nothing (the tree itself opens or closes it).
void CReferencePage::OnTreeClicked()
{
    if (!CategorySelected())
        CQuilletEvent::Post(m_pTarget, QuilletEvent::PageSelection, m_nKind, 0, m_pTree);
}

void CReferencePage::OnTreeDoubleClicked()
{
    if (!CategorySelected())
        CQuilletEvent::Post(m_pTarget, QuilletEvent::InsertEntry, m_nKind, 0, m_pTree);
}
