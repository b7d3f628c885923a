#include "FillReferenceTree.h"

#include "ReferenceItem.h"
#include "ReferenceTreeCtrl.h"
#include "ReferenceTreeReader.h"

namespace {

QTreeWidgetItem* MakeItem(const CReferenceEntry& entry)
{
    return new CReferenceItem(entry.strTitle, entry.nId, entry.nKind);
}

} // namespace

void FillReferenceTree(CReferenceTreeCtrl* tree, CAdoDatabase* database, const QString& table)
{
    if (!tree || !database)
        return;
    // The items are built off the tree, each as its row is read, and handed
    // over in one insertion, so the tree lays itself out once instead of once
    // per entry.
    QList<QTreeWidgetItem*> top;
    ReadReferenceTree(
        database, table, [&](CReferenceEntry&& entry) { top.append(MakeItem(entry)); },
        [&](CReferenceEntry&& child) { top.last()->addChild(MakeItem(child)); });
    if (top.isEmpty())
        return;
    const bool updates = tree->updatesEnabled();
    tree->setUpdatesEnabled(false);
    tree->addTopLevelItems(top);
    tree->setUpdatesEnabled(updates);
}
