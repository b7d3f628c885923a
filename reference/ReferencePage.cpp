#include "ReferencePage.h"

#include "FillReferenceTree.h"
#include "QuilletEvent.h"
#include "ReferenceImages.h"
#include "ReferenceTables.h"
#include "ReferenceTreeCtrl.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "SymbolMatch.h"

namespace {
// Shows the entries under item that match filter (all for an empty one) and
// the categories holding any; true when item itself stays shown.
bool ShowMatching(QTreeWidgetItem* item, const std::string& filter)
{
    if (item->childCount() == 0) {
        const bool shown = filter.empty() || SymbolMatch::Score(item->text(0).toStdString(), filter) > 0;
        item->setHidden(!shown);
        return shown;
    }
    bool any = false;
    for (int k = 0; k < item->childCount(); ++k)
        any = ShowMatching(item->child(k), filter) || any;
    item->setHidden(!any && !filter.empty());
    if (!filter.empty() && any)
        item->setExpanded(true);
    return any || filter.empty();
}
} // namespace
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
    // A filter box above the tree narrows it to the entries that match what is typed.
    m_pFilter = new QLineEdit(this);
    m_pFilter->setObjectName(QStringLiteral("referenceFilter"));
    m_pFilter->setPlaceholderText(QStringLiteral("筛选"));
    m_pFilter->setClearButtonEnabled(true);
    layout->addWidget(m_pFilter);
    layout->addWidget(m_pTree);
    connect(m_pFilter, &QLineEdit::textChanged, this, &CReferencePage::ApplyFilter);
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
    if (!m_pFilter->text().isEmpty())
        ApplyFilter(m_pFilter->text());
}

void CReferencePage::ApplyFilter(const QString& text)
{
    const std::string filter = text.trimmed().toStdString();
    m_pTree->setUpdatesEnabled(false);
    for (int k = 0; k < m_pTree->topLevelItemCount(); ++k)
        ShowMatching(m_pTree->topLevelItem(k), filter);
    m_pTree->setUpdatesEnabled(true);
}

void CReferencePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (CAdoDatabase* database = std::exchange(m_pPendingDatabase, nullptr)) {
        FillReferenceTree(m_pTree, database, GetTableName());
        if (!m_pFilter->text().isEmpty())
            ApplyFilter(m_pFilter->text());
    }
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
