// A tree of folders (and, when asked, files) read from disk one folder at a
// time: a folder is read when it is expanded, afresh at every expansion and
// away from the user-interface thread, and forgotten when it is collapsed.
// Without a root it lists the mounted volumes and the home folder.
#pragma once

#include <QIcon>
#include <QSet>
#include <QString>
#include <QTreeWidget>

class CFolderTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    // What an item stands for (item data, role kKindRole).
    enum ItemKind { PlaceholderItem = 0, DriveItem, FolderItem, FileItem };
    static constexpr int kKindRole = Qt::UserRole;
    // The number of the read that is to fill the item, 0 for none.
    static constexpr int kReadRole = Qt::UserRole + 1;

    explicit CFolderTreeCtrl(QWidget* parent = nullptr);

    // Without a root: the volumes. With one: that folder as the single
    // top-level item, expanded. showFiles non-zero lists files too.
    bool SetRoot(const QString& root = QString(), int showFiles = 0);
    // The root folder with a trailing "/"; empty in volume mode.
    const QString& GetRootPath() const { return m_strRootPath; }
    bool ShowsFiles() const { return m_nShowFiles != 0; }
    const QString& GetLastError() const { return m_strLastError; }

    // The full path of item, "/"-separated, without trailing separators.
    QString GetItemPath(const QTreeWidgetItem* item) const;
    // item names an existing regular file (links followed).
    bool IsFileItem(const QTreeWidgetItem* item) const;
    // item names an existing folder (links followed).
    bool IsFolderItem(const QTreeWidgetItem* item) const;
    static bool IsPlaceholder(const QTreeWidgetItem* item);

    // Forgets what the tree shows of folder item and gives it an expand
    // button: the folder is read afresh at its next expansion.
    void ForgetFolder(QTreeWidgetItem* item);
    // Removes item (and what is below it) from the tree.
    void DeleteItem(QTreeWidgetItem* item);
    // Whether a folder is being read.
    bool IsReading() const { return !m_setPending.isEmpty(); }
    // Reads folder item afresh, expanding it when it is collapsed; its other
    // entries stay in the tree until the new listing replaces them.
    void ReadAgain(QTreeWidgetItem* item);

    // Expands the folders from a top-level item down to path, waiting for
    // each read, then emits pathRevealed with the deepest item on the way
    // (path's own item when it is there). A later call or SetRoot replaces it.
    void RevealPath(const QString& path);

    static QString GetLeafName(const QString& path);
    static void SortNoCase(QStringList& names);

signals:
    // item's children have been replaced by what its folder holds now.
    void folderFilled(QTreeWidgetItem* item);
    // The end of RevealPath.
    void pathRevealed(QTreeWidgetItem* item);

protected:
    bool ListDrives();
    // Reads folder path in the background; item gets its entries when the
    // read ends, if it is still there and expanded.
    void FillFolder(QTreeWidgetItem* item, const QString& path);
    QTreeWidgetItem* AddPathItem(QTreeWidgetItem* parent, const QString& path, ItemKind kind);
    bool HasEntries(const QString& path) const;
    void OnItemExpanded(QTreeWidgetItem* item, bool expanded);

private:
    struct ReadResult;
    void FinishFill(const QPersistentModelIndex& index, quint64 serial, const ReadResult& result);
    QTreeWidgetItem* NewItem(const QString& text, ItemKind kind) const;
    static void AddPlaceholder(QTreeWidgetItem* item);
    void ForgetChildren(QTreeWidgetItem* item);
    void UpdateBusyCursor();
    // One step of RevealPath from item, a folder on the way to the path.
    void RevealFrom(QTreeWidgetItem* item);

    int m_nShowFiles = 0;
    QString m_strLastError;
    QString m_strRootPath;
    // The item images, read when the first item is made: a page that stays
    // empty never holds them.
    void LoadIcons() const;
    mutable QIcon m_iconDrive;
    mutable QIcon m_iconFolder;
    mutable QIcon m_iconOpenFolder;
    mutable QIcon m_iconFile;
    quint64 m_nLastRead = 0;
    QSet<quint64> m_setPending;
    QString m_strReveal;   // the path RevealPath is going to
};
