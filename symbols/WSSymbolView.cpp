#include "WSSymbolView.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "SymbolIcons.h"

CWSSymbolView::CWSSymbolView(QWidget* parent) : QWidget(parent), m_pTree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("CWSSymbolView"));
    m_pTree->setObjectName(QStringLiteral("symbolTree"));
    m_pTree->setHeaderHidden(true);
    m_pTree->setColumnCount(1);
    m_pTree->setUniformRowHeights(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pTree);
    // A click (not a selection made by the caret) goes to the item's line.
    connect(m_pTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            emit lineChosen(item->data(0, kLineRole).toInt());
    });
    connect(m_pTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item && !m_bSelecting)
            emit lineChosen(item->data(0, kLineRole).toInt());
    });
}

void CWSSymbolView::SetOutline(const std::vector<CSymbol>& outline)
{
    if (outline == m_shown && m_pTree->topLevelItemCount() > 0)
        return;
    m_shown = outline;
    m_pTree->setUpdatesEnabled(false);
    m_pTree->clear();
    QTreeWidgetItem* type = nullptr;
    int typeEnd = 0;
    for (const CSymbol& s : outline) {
        if (s.kind == SymbolKind::Namespace)
            continue;
        const bool member = s.IsMember() && type && s.line <= typeEnd;
        QString text = QString::fromStdString(s.name);
        if (s.kind == SymbolKind::Function || s.kind == SymbolKind::Method)
            text += QStringLiteral("(%1)").arg(QString::fromStdString(s.params));
        else if (s.kind == SymbolKind::Property)
            text.prepend(u'$');
        auto* item = member ? new QTreeWidgetItem(type) : new QTreeWidgetItem(m_pTree);
        item->setText(0, text);
        item->setIcon(0, SymbolIcons::Icon(s.kind));
        item->setData(0, kLineRole, s.line);
        item->setData(0, kEndLineRole, s.endLine);
        QString tip = QString::fromUtf8(SymbolKinds::DisplayName(s.kind)) + u' ' + text;
        if (!s.returnType.empty())
            tip += QStringLiteral(": ") + QString::fromStdString(s.returnType);
        if (!s.doc.empty())
            tip += u'\n' + QString::fromStdString(s.doc);
        item->setToolTip(0, tip);
        if (s.IsType()) {
            type = item;
            typeEnd = s.endLine;
        }
    }
    m_pTree->expandAll();
    m_pTree->setUpdatesEnabled(true);
}

void CWSSymbolView::SelectLine(int line)
{
    QTreeWidgetItem* best = nullptr;
    for (QTreeWidgetItemIterator it(m_pTree); *it; ++it) {
        const int from = (*it)->data(0, kLineRole).toInt();
        const int to = (*it)->data(0, kEndLineRole).toInt();
        if (from <= line && line <= to)
            best = *it;   // later items lie inside earlier ones or after them
    }
    if (best == m_pTree->currentItem() && (!best || best->isSelected()))
        return;
    m_bSelecting = true;
    const QSignalBlocker block(m_pTree);
    if (best) {
        m_pTree->setCurrentItem(best);
        m_pTree->scrollToItem(best);
    } else {
        m_pTree->clearSelection();
        m_pTree->setCurrentItem(nullptr);
    }
    m_pTree->viewport()->update();
    m_bSelecting = false;
}
