// The tree control of a reference page: its image list, and a notification for
// every left click and double click in it, on an entry or not.
#pragma once

#include <QIcon>
#include <QList>
#include <QTreeWidget>

class CReferenceTreeCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    // An item's data: the entry's id, column "a".
    static constexpr int kItemDataRole = Qt::UserRole;
    // The entry's kind, column "e", which also chose its image.
    static constexpr int kItemKindRole = Qt::UserRole + 1;

    explicit CReferenceTreeCtrl(int controlId, QWidget* parent = nullptr);

    int GetControlId() const { return m_nControlId; }

    // Image i is drawn for entries of kind i; kinds beyond the list show no image.
    void SetImageList(const QList<QIcon>& images) { m_listImages = images; }
    const QList<QIcon>& GetImageList() const { return m_listImages; }
    QIcon Image(int index) const { return m_listImages.value(index); }

    // The entry id of item, 0 for none.
    static qint32 ItemData(const QTreeWidgetItem* item);
    // The entry kind of item, -1 for none or an item that has no kind.
    static qint32 ItemKind(const QTreeWidgetItem* item);
    // The selected item of a tree, nullptr when nothing is selected.
    static QTreeWidgetItem* SelectedItem(const QTreeWidget* tree);

signals:
    // A left click anywhere in the tree (the first click of a double click included).
    void treeClicked();
    // A left double click anywhere in the tree.
    void treeDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_nControlId;
    QList<QIcon> m_listImages;
    bool m_bReleaseEndsDoubleClick = false;
};
