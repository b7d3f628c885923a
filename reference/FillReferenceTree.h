// Fills a reference page's tree from its table in the reference database.
#pragma once

#include <QString>

class CAdoDatabase;
class CReferenceTreeCtrl;

// Appends the table's two-level tree (ReadReferenceTree) to tree: item text "b",
// image and selected image "e" from the tree's image list, item data "a" and
// the kind "e" (CReferenceTreeCtrl::kItemKindRole). The tree
// is not cleared first. No database, or a failure while reading, ends the fill
// silently with the items read so far.
void FillReferenceTree(CReferenceTreeCtrl* tree, CAdoDatabase* database, const QString& table);
