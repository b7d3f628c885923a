#include "FolderTreeCtrl.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QStorageInfo>
#include <QStyle>
#include <QThread>

#include <memory>

#include "core/FolderListing.h"

struct CFolderTreeCtrl::ReadResult
{
    FolderListing::Listing listing;
};

CFolderTreeCtrl::CFolderTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { OnItemExpanded(item, true); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { OnItemExpanded(item, false); });
}

bool CFolderTreeCtrl::SetRoot(const QString& root, int showFiles)
{
    clear();
    m_strReveal.clear();
    m_nShowFiles = showFiles;
    if (root.isEmpty()) {
        if (!ListDrives())
            return false;
        m_strRootPath.clear();
        return true;
    }
    const QString clean = FolderListing::WithoutTrailingSeparators(root);
    m_strRootPath = clean.endsWith(u'/') ? clean : clean + u'/';
    QTreeWidgetItem* top = AddPathItem(nullptr, m_strRootPath, FolderItem);
    AddPlaceholder(top);
    expandItem(top);   // reads the folder
    return true;
}

bool CFolderTreeCtrl::ListDrives()
{
    clear();
    // The root first, then the home folder, then every other volume.
    QStringList paths = {QStringLiteral("/"), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            paths << volume.rootPath();
    QStringList seen;
    for (const QString& path : std::as_const(paths)) {
        const QString clean = FolderListing::WithoutTrailingSeparators(QDir::cleanPath(path));
        if (clean.isEmpty() || seen.contains(clean))
            continue;
        seen << clean;
        // A volume is not read here, where a slow one would hold up the
        // window: its expand button goes once a read finds it empty.
        AddPlaceholder(AddPathItem(nullptr, clean, DriveItem));
    }
    return true;
}

void CFolderTreeCtrl::LoadIcons() const
{
    if (!m_iconFolder.isNull())
        return;
    const QFileIconProvider icons;
    m_iconDrive = icons.icon(QFileIconProvider::Drive);
    m_iconFolder = icons.icon(QFileIconProvider::Folder);
    m_iconFile = icons.icon(QFileIconProvider::File);
    m_iconOpenFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
}

QTreeWidgetItem* CFolderTreeCtrl::NewItem(const QString& text, ItemKind kind) const
{
    LoadIcons();
    auto* item = new QTreeWidgetItem(QStringList(text));
    item->setData(0, kKindRole, kind);
    item->setIcon(0, kind == DriveItem ? m_iconDrive : kind == FolderItem ? m_iconFolder : m_iconFile);
    return item;
}

QTreeWidgetItem* CFolderTreeCtrl::AddPathItem(QTreeWidgetItem* parent, const QString& path, ItemKind kind)
{
    const QString clean = FolderListing::WithoutTrailingSeparators(path);
    QTreeWidgetItem* item = NewItem(parent ? GetLeafName(clean) : clean, kind);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    return item;
}

void CFolderTreeCtrl::AddPlaceholder(QTreeWidgetItem* item)
{
    auto* placeholder = new QTreeWidgetItem(QStringList(QString()));
    placeholder->setData(0, kKindRole, PlaceholderItem);
    // Only there for the expand button: nothing to select or act on.
    placeholder->setFlags(Qt::ItemIsEnabled);
    item->addChild(placeholder);
}

bool CFolderTreeCtrl::IsPlaceholder(const QTreeWidgetItem* item)
{
    return item && item->data(0, kKindRole).toInt() == PlaceholderItem;
}

bool CFolderTreeCtrl::HasEntries(const QString& path) const
{
    return FolderListing::HasEntries(path, m_nShowFiles != 0);
}

QString CFolderTreeCtrl::GetLeafName(const QString& path)
{
    return FolderListing::GetLeafName(path);
}

void CFolderTreeCtrl::SortNoCase(QStringList& names)
{
    FolderListing::SortNoCase(names);
}

QString CFolderTreeCtrl::GetItemPath(const QTreeWidgetItem* item) const
{
    QStringList parts;
    for (const QTreeWidgetItem* i = item; i; i = i->parent())
        parts.prepend(i->text(0));
    if (parts.isEmpty())
        return QString();
    QString path = parts.takeFirst();
    for (const QString& part : std::as_const(parts))
        path = FolderListing::Join(path, part);
    return FolderListing::WithoutTrailingSeparators(path);
}

bool CFolderTreeCtrl::IsFileItem(const QTreeWidgetItem* item) const
{
    return item && !IsPlaceholder(item) && QFileInfo(GetItemPath(item)).isFile();
}

bool CFolderTreeCtrl::IsFolderItem(const QTreeWidgetItem* item) const
{
    return item && !IsPlaceholder(item) && QFileInfo(GetItemPath(item)).isDir();
}

void CFolderTreeCtrl::ForgetChildren(QTreeWidgetItem* item)
{
    item->setData(0, kReadRole, 0);
    qDeleteAll(item->takeChildren());
}

void CFolderTreeCtrl::ForgetFolder(QTreeWidgetItem* item)
{
    if (item->isExpanded()) {
        collapseItem(item);   // the collapse forgets it
        return;
    }
    ForgetChildren(item);
    AddPlaceholder(item);
}

void CFolderTreeCtrl::DeleteItem(QTreeWidgetItem* item)
{
    delete item;
}

void CFolderTreeCtrl::OnItemExpanded(QTreeWidgetItem* item, bool expanded)
{
    const int kind = item->data(0, kKindRole).toInt();
    LoadIcons();
    if (kind == FolderItem)
        item->setIcon(0, expanded ? m_iconOpenFolder : m_iconFolder);
    if (expanded) {
        FillFolder(item, GetItemPath(item));
    } else {
        ForgetChildren(item);
        AddPlaceholder(item);
    }
}

void CFolderTreeCtrl::FillFolder(QTreeWidgetItem* item, const QString& path)
{
    const quint64 serial = ++m_nLastRead;
    item->setData(0, kReadRole, serial);
    m_setPending.insert(serial);
    UpdateBusyCursor();
    const QPersistentModelIndex index(indexFromItem(item));
    const bool showFiles = m_nShowFiles != 0;
    auto result = std::make_shared<ReadResult>();
    // The thread belongs to nobody: it ends and deletes itself even when the
    // tree has gone in the meantime.
    QThread* thread = QThread::create([result, path, showFiles] {
        result->listing = FolderListing::ReadFolder(path, showFiles);
    });
    connect(thread, &QThread::finished, this, [this, index, serial, result] { FinishFill(index, serial, *result); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void CFolderTreeCtrl::FinishFill(const QPersistentModelIndex& index, quint64 serial, const ReadResult& result)
{
    m_setPending.remove(serial);
    UpdateBusyCursor();
    QTreeWidgetItem* item = index.isValid() ? itemFromIndex(index) : nullptr;
    // Collapsed, re-read or gone since: this read is no longer wanted.
    if (!item || item->data(0, kReadRole).toULongLong() != serial || !item->isExpanded())
        return;
    item->setData(0, kReadRole, 0);
    setUpdatesEnabled(false);
    qDeleteAll(item->takeChildren());
    QList<QTreeWidgetItem*> children;
    children.reserve(result.listing.folders.size() + result.listing.files.size());
    for (const FolderListing::Folder& folder : result.listing.folders) {
        QTreeWidgetItem* child = NewItem(folder.name, FolderItem);
        if (folder.hasEntries)
            AddPlaceholder(child);
        children << child;
    }
    for (const QString& file : result.listing.files)
        children << NewItem(file, FileItem);
    item->addChildren(children);
    setUpdatesEnabled(true);
    emit folderFilled(item);
    // item may have gone in a slot of folderFilled.
    if (!m_strReveal.isEmpty() && index.isValid())
        if (QTreeWidgetItem* filled = itemFromIndex(index))
            RevealFrom(filled);
}

void CFolderTreeCtrl::ReadAgain(QTreeWidgetItem* item)
{
    if (item->isExpanded())
        FillFolder(item, GetItemPath(item));
    else
        expandItem(item);   // reads it
}

namespace {
// Whether path is folder or lies inside it.
bool IsWithin(const QString& path, const QString& folder)
{
    if (path == folder)
        return true;
    return path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}
} // namespace

void CFolderTreeCtrl::RevealPath(const QString& path)
{
    m_strReveal = FolderListing::WithoutTrailingSeparators(path);
    // The closest top-level item: the home folder rather than the root.
    QTreeWidgetItem* best = nullptr;
    qsizetype bestLength = -1;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = topLevelItem(i);
        const QString topPath = GetItemPath(top);
        if (IsWithin(m_strReveal, topPath) && topPath.size() > bestLength) {
            best = top;
            bestLength = topPath.size();
        }
    }
    if (best)
        RevealFrom(best);
    else
        m_strReveal.clear();
}

void CFolderTreeCtrl::RevealFrom(QTreeWidgetItem* item)
{
    while (item) {
        const QString itemPath = GetItemPath(item);
        if (!IsWithin(m_strReveal, itemPath))
            return;   // a read elsewhere in the tree
        if (itemPath != m_strReveal) {
            if (!item->isExpanded()) {
                expandItem(item);   // continued when the read ends
                return;
            }
            if (item->data(0, kReadRole).toULongLong() != 0)
                return;   // being read
            const QString rest = m_strReveal.mid(itemPath.endsWith(u'/') ? itemPath.size() : itemPath.size() + 1);
            const QString name = rest.section(u'/', 0, 0);
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < item->childCount() && !next; ++i)
                if (!IsPlaceholder(item->child(i)) && item->child(i)->text(0) == name)
                    next = item->child(i);
            if (next) {
                item = next;
                continue;
            }
        }
        m_strReveal.clear();
        emit pathRevealed(item);
        return;
    }
}

void CFolderTreeCtrl::UpdateBusyCursor()
{
    if (m_setPending.isEmpty())
        viewport()->unsetCursor();
    else
        viewport()->setCursor(Qt::BusyCursor);
}
