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
    const QList<CReferenceBranch> branches = ReadReferenceTree(database, table);
    if (branches.isEmpty())
        return;
    // The items are built off the tree and handed over in one insertion, so the
    // tree lays itself out once instead of once per entry.
    QList<QTreeWidgetItem*> top;
    top.reserve(branches.size());
    for (const CReferenceBranch& branch : branches) {
        QTreeWidgetItem* item = MakeItem(branch.entry);
        QList<QTreeWidgetItem*> children;
        children.reserve(branch.children.size());
        for (const CReferenceEntry& child : branch.children)
            children.append(MakeItem(child));
        item->addChildren(children);
        top.append(item);
    }
    const bool updates = tree->updatesEnabled();
    tree->setUpdatesEnabled(false);
    tree->addTopLevelItems(top);
    tree->setUpdatesEnabled(updates);
}
