#include "ContextHelpDlg.h"

#include "QuilletEvent.h"
#include "ReferenceText.h"
#include "SortedListItem.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kBackspace = 8;
constexpr int kListWidth = 200;
constexpr int kListHeight = 150;

bool IsWordCode(int code)
{
    return (code >= '0' && code <= '9') || (code >= 'a' && code <= 'z') ||
           (code >= 'A' && code <= 'Z') || code == '_';
}

bool IsListKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
           key == Qt::Key_PageDown;
}

} // namespace

CContextHelpDlg::CContextHelpDlg(QWidget* mainFrame)
    // A tool-tip window: frameless, above the editor and never activated, so the
    // editor, which hides the list when it loses the focus, keeps it.
    : QWidget(mainFrame, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_pMainFrame(mainFrame),
      m_pList(new QListWidget(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    QFont listFont = font();
    listFont.setPointSize(10);
    setFont(listFont);

    m_pList->setObjectName(QStringLiteral("list1000"));
    m_pList->setFocusPolicy(Qt::NoFocus);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSortingEnabled(true);
    // A vertical scroll bar only, as the list box of the dialog has.
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // A click selects a line and shows its prototypes; a double click puts
    // its name in. The list never takes the focus, so typing goes on.
    connect(m_pList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item)
            CQuilletEvent::Post(m_pMainFrame, QuilletEvent::ShowPrototypes, m_nCurrentKind,
                                item->data(Qt::UserRole).toInt());
    });
    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item)
            emit entryChosen();
    });

    // The list always covers the whole window.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pList);
    resize(kListWidth, kListHeight);
}

void CContextHelpDlg::FillContextListOnFirstUse(int kind, CAdoDatabase* referenceDb)
{
    if (!referenceDb) {
        FillContextList(kind, referenceDb);
        return;
    }
    m_nPendingKind = kind;
    m_pPendingDb = referenceDb;
}

void CContextHelpDlg::FillPending() const
{
    if (CAdoDatabase* db = std::exchange(m_pPendingDb, nullptr))
        const_cast<CContextHelpDlg*>(this)->FillContextList(m_nPendingKind, db);
}

void CContextHelpDlg::FillContextList(int kind, CAdoDatabase* referenceDb)
{
    m_pPendingDb = nullptr;
    if (kind == m_nCurrentKind)
        return;
    m_nCurrentKind = kind;
    m_pList->clear();
    m_extraItems.clear();
    m_extra.clear();
    m_bMembersOnly = false;

    const QList<CContextEntry> entries = ReadContextEntries(referenceDb, kind);
    std::vector<CSortedListItem*> items;
    items.reserve(entries.size());
    for (const CContextEntry& entry : entries)
        items.push_back(new CSortedListItem(entry.strName, entry.nId));
    // Sorted once here, each line then joins the sorted list at its end.
    std::stable_sort(items.begin(), items.end(),
                     [](const CSortedListItem* l, const CSortedListItem* r) { return *l < *r; });
    m_pList->setUpdatesEnabled(false);
    for (CSortedListItem* item : items)
        m_pList->addItem(item);
    m_pList->setUpdatesEnabled(true);
}

void CContextHelpDlg::ShowContextList(bool show)
{
    if (!m_bEnabled)
        return;
    if (show) {
        FillPending();
        m_strTypedPrefix.clear();
        ApplyExtraEntries();
    }
    if (show && m_pList->count() > 0)
        QWidget::show();
    else
        hide();
}

void CContextHelpDlg::HandleContextKey(int code, bool navigationKey)
{
    if (!m_bEnabled)
        return;
    if (navigationKey) {
        if (IsListKey(code)) {
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
            QCoreApplication::sendEvent(m_pList, &press);
        }
    } else if (IsWordCode(code) || code == kBackspace) {
        if (code == kBackspace)
            m_strTypedPrefix.chop(1);
        else
            m_strTypedPrefix.append(QChar(code));
        m_strTypedPrefix = m_strTypedPrefix.toLower();
        SelectFirstNotBelowPrefix();
    }
    PostPrototypesOrHide();
}

void CContextHelpDlg::ApplyExtraEntries()
{
    bool membersOnly = false;
    QList<CExtraEntry> entries = m_extraSource ? m_extraSource(&membersOnly) : QList<CExtraEntry>();
    if (entries == m_extra && membersOnly == m_bMembersOnly)
        return;
    m_pList->setUpdatesEnabled(false);
    m_pList->setSortingEnabled(false);
    for (QListWidgetItem* item : std::as_const(m_extraItems))
        delete item;
    m_extraItems.clear();
    if (membersOnly != m_bMembersOnly)
        for (int row = 0; row < m_pList->count(); ++row)
            m_pList->item(row)->setHidden(membersOnly);
    m_extra = std::move(entries);
    m_bMembersOnly = membersOnly;
    for (qsizetype k = 0; k < m_extra.size(); ++k) {
        auto* item = new CSortedListItem(m_extra[k].name, qint32(-(k + 1)));
        item->setToolTip(m_extra[k].prototype);
        m_pList->addItem(item);
        m_extraItems << item;
    }
    m_pList->setSortingEnabled(true);
    m_pList->sortItems();
    m_pList->setUpdatesEnabled(true);
}

QString CContextHelpDlg::ExtraPrototype(qint32 id) const
{
    const qsizetype k = -qsizetype(id) - 1;
    return k >= 0 && k < m_extra.size() ? m_extra[k].prototype : QString();
}

void CContextHelpDlg::SelectFirstNotBelowPrefix()
{
    const QByteArray prefix = m_strTypedPrefix.toUtf8();
    for (int row = 0; row < m_pList->count(); ++row) {
        QListWidgetItem* item = m_pList->item(row);
        if (!item->isHidden() && CSortedListItem::KeyOf(*item) >= prefix) {
            m_pList->setCurrentItem(item);
            m_pList->scrollToItem(item);
            return;
        }
    }
    // No name is that far on: the selection stays where it was.
}

void CContextHelpDlg::PostPrototypesOrHide()
{
    if (m_strTypedPrefix.isEmpty()) {
        hide();
        return;
    }
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    if (selected.isEmpty())
        return;   // no entry to show the prototypes of
    CQuilletEvent::Post(m_pMainFrame, QuilletEvent::ShowPrototypes, m_nCurrentKind,
                        selected.first()->data(Qt::UserRole).toInt());
}

void CContextHelpDlg::SetContextHelpEnabled(bool enabled)
{
    if (!enabled)
        hide();
    m_bEnabled = enabled;
}

bool CContextHelpDlg::IsContextHelpEnabled() const
{
    return m_bEnabled;
}

QString CContextHelpDlg::GetSelectedName() const
{
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

int CContextHelpDlg::CurrentKind() const
{
    FillPending();
    return m_nCurrentKind;
}

QString CContextHelpDlg::TypedPrefix() const
{
    return m_strTypedPrefix;
}

QListWidget* CContextHelpDlg::List() const
{
    FillPending();
    return m_pList;
}

bool CContextHelpDlg::IsListVisible() const
{
    return isVisible();
}

void CContextHelpDlg::PassKey(int key)
{
    HandleContextKey(key, true);
}

void CContextHelpDlg::PassChar(int ch)
{
    HandleContextKey(ch, false);
}

void CContextHelpDlg::ShowList()
{
    ShowContextList(true);
}

void CContextHelpDlg::HideList()
{
    ShowContextList(false);
}

void CContextHelpDlg::MoveList(const QRect& screenRect)
{
    setGeometry(screenRect);
}

QString CContextHelpDlg::CurrentEntryText() const
{
    return GetSelectedName();
}

void CContextHelpDlg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        emit listShown(true);
}

void CContextHelpDlg::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit listShown(false);
}
