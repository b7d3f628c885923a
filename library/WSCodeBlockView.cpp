#include "WSCodeBlockView.h"

#include "CodeLibraryRows.h"
#include "CodeLibrarySql.h"
#include "CodeLibraryStore.h"
#include "CommandIds.h"
#include "QuilletEvent.h"
#include "SortedListItem.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

CWSCodeBlockView::CWSCodeBlockView(QObject* target, QWidget* parent)
    : QWidget(parent), m_pList(new QListWidget(this)), m_pMenu(new QMenu(this)), m_pTarget(target)
{
    setObjectName(QStringLiteral("codeBlockPage"));
    m_pList->setObjectName(QStringLiteral("list%1").arg(kListId));
    m_pList->setProperty("controlId", kListId);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSortingEnabled(true);
    // The list always covers the whole page.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pList);
    setFocusProxy(m_pList);

    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item)
            CQuilletEvent::Post(m_pTarget, QuilletEvent::InsertEntry, kKind, 0, m_pList);
    });
    connect(m_pList, &QListWidget::itemSelectionChanged, this,
            [this] { CQuilletEvent::Post(m_pTarget, QuilletEvent::PageSelection, kKind, 0, m_pList); });

    // Menu 141, "CodeBlock".
    m_pMenu->setTitle(QStringLiteral("CodeBlock"));
    AddMenuItem(QStringLiteral("插入"), Cmd::InsertCode);
    m_pMenu->addSeparator();
    AddMenuItem(QStringLiteral("新建"), Cmd::NewCode);
    AddMenuItem(QStringLiteral("编辑"), Cmd::EditCode);
    AddMenuItem(QStringLiteral("删除"), Cmd::DeleteCode);
    m_pMenu->addSeparator();
    AddMenuItem(QStringLiteral("导入"), Cmd::ImportCode);
}

CWSCodeBlockView::~CWSCodeBlockView() = default;

QAction* CWSCodeBlockView::AddMenuItem(const QString& text, int command)
{
    QAction* item = m_pMenu->addAction(text);
    item->setData(command);
    connect(item, &QAction::triggered, this, [this, command] {
        // The command goes to the main frame.
        if (QAction* action = m_commands.value(command))
            action->trigger();
    });
    return item;
}

void CWSCodeBlockView::FillCodeList()
{
    m_pList->clear();
    CAdoDatabase* stdLib = m_fnDatabase ? m_fnDatabase(CCodeLibraryStore::StdLib) : nullptr;
    CAdoDatabase* userLib = m_fnDatabase ? m_fnDatabase(CCodeLibraryStore::UserLib) : nullptr;
    m_pList->setUpdatesEnabled(false);
    for (const auto& entry : CodeLibraryRows::ReadTitles(stdLib, 0))
        AddEntry(entry.strTitle, entry.nItemData);
    for (const auto& entry : CodeLibraryRows::ReadTitles(userLib, CodeLibrarySql::kUserLibFlag))
        AddEntry(entry.strTitle, entry.nItemData);
    m_pList->setUpdatesEnabled(true);
}

QListWidgetItem* CWSCodeBlockView::AddEntry(const QString& title, quint32 itemData)
{
    auto* item = new CSortedListItem(title, QVariant::fromValue(itemData));
    m_pList->addItem(item);
    return item;
}

void CWSCodeBlockView::ClearSelection()
{
    m_pList->clearSelection();
    m_pList->setCurrentItem(nullptr);
}

QListWidgetItem* CWSCodeBlockView::SelectedItem(const QListWidget* list)
{
    if (!list)
        return nullptr;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

quint32 CWSCodeBlockView::ItemData(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toUInt() : 0;
}

void CWSCodeBlockView::UpdateContextMenu()
{
    emit contextMenuOpening();
    const bool selected = SelectedItem(m_pList) != nullptr;
    const QList<QAction*> items = m_pMenu->actions();
    for (int position = 0; position < items.size(); ++position) {
        QAction* item = items.at(position);
        if (item->isSeparator())
            continue;
        const bool needsSelection =
            position == kMenuInsert || position == kMenuEdit || position == kMenuDelete;
        QAction* command = m_commands.value(item->data().toInt());
        item->setEnabled((selected || !needsSelection) && (!command || command->isEnabled()));
    }
}

void CWSCodeBlockView::contextMenuEvent(QContextMenuEvent* event)
{
    UpdateContextMenu();
    // Shown without waiting: the chosen command runs from the event loop.
    m_pMenu->popup(event->globalPos());
    event->accept();
}
