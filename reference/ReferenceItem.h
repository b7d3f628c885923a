// An entry of a reference tree that keeps its title, id and kind in itself and
// draws the image of its kind from its tree's image list, instead of holding
// each as a separate role value: a page's thousands of entries then cost less
// than half the memory.
#pragma once

#include <QTreeWidgetItem>

class CReferenceItem : public QTreeWidgetItem
{
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    CReferenceItem(const QString& title, qint32 id, qint32 kind);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;

private:
    QString m_strTitle;
    qint32 m_nId;
    qint32 m_nKind;
};
