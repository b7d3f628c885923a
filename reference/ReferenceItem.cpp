#include "ReferenceItem.h"

#include "ReferenceTreeCtrl.h"

CReferenceItem::CReferenceItem(const QString& title, qint32 id, qint32 kind)
    : QTreeWidgetItem(kType), m_strTitle(title), m_nId(id), m_nKind(kind)
{
}

QVariant CReferenceItem::data(int column, int role) const
{
    if (column != 0)
        return QTreeWidgetItem::data(column, role);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_strTitle;
    case Qt::DecorationRole: {
        const auto* tree = qobject_cast<const CReferenceTreeCtrl*>(treeWidget());
        return tree ? tree->Image(m_nKind) : QIcon();
    }
    case CReferenceTreeCtrl::kItemDataRole:
        return m_nId;
    case CReferenceTreeCtrl::kItemKindRole:
        return m_nKind;
    default:
        return QTreeWidgetItem::data(column, role);
    }
}

void CReferenceItem::setData(int column, int role, const QVariant& value)
{
    if (column == 0) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            m_strTitle = value.toString();
        else if (role == CReferenceTreeCtrl::kItemDataRole)
            m_nId = value.toInt();
        else if (role == CReferenceTreeCtrl::kItemKindRole)
            m_nKind = value.toInt();
    }
    // The base keeps its copy too and tells the tree of the change.
    QTreeWidgetItem::setData(column, role, value);
}
