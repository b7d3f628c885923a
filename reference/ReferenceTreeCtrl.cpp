#include "ReferenceTreeCtrl.h"

#include <QHeaderView>
#include <QMouseEvent>

CReferenceTreeCtrl::CReferenceTreeCtrl(int controlId, QWidget* parent)
    : QTreeWidget(parent), m_nControlId(controlId)
{
    setObjectName(QStringLiteral("tree%1").arg(controlId));
    setProperty("controlId", controlId);
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);       // buttons and lines at the root
    setItemsExpandable(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);     // every row is one line of text beside a 16x16 image
}

qint32 CReferenceTreeCtrl::ItemData(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kItemDataRole).toInt() : 0;
}

qint32 CReferenceTreeCtrl::ItemKind(const QTreeWidgetItem* item)
{
    const QVariant kind = item ? item->data(0, kItemKindRole) : QVariant();
    return kind.isValid() ? kind.toInt() : -1;
}

QTreeWidgetItem* CReferenceTreeCtrl::SelectedItem(const QTreeWidget* tree)
{
    if (!tree)
        return nullptr;
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void CReferenceTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    // A new press starts a new click, whatever came before.
    m_bReleaseEndsDoubleClick = false;
    QTreeWidget::mousePressEvent(event);
}

void CReferenceTreeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The release that ends a double click is no click of its own.
    if (m_bReleaseEndsDoubleClick) {
        m_bReleaseEndsDoubleClick = false;
        return;
    }
    emit treeClicked();
}

void CReferenceTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_bReleaseEndsDoubleClick = true;
    emit treeDoubleClicked();
}
