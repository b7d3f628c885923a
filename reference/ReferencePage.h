// A reference page of the workspace bar: one reference table shown as a tree.
// A click in the tree posts the page-selection message and a double click the
// insert-entry message to the message target, each with the page's kind and
// its tree as the control; not while a category row is selected.
#pragma once

#include <QPointer>
#include <QWidget>

class CAdoDatabase;
class CReferenceTreeCtrl;
class QLineEdit;

class CReferencePage : public QWidget
{
    Q_OBJECT

public:
    // kind: ReferenceKind PHP, CSS, Html or JavaScript. target receives the posted
    // messages (the main frame); it may be given later with SetMessageTarget.
    CReferencePage(int kind, QObject* target = nullptr, QWidget* parent = nullptr);
    ~CReferencePage() override;

    int GetKind() const { return m_nKind; }
    QString GetTableName() const;
    CReferenceTreeCtrl* GetTreeCtrl() const { return m_pTree; }
    QLineEdit* FilterBox() const { return m_pFilter; }
    // Shows only the entries matching text (see SymbolMatch) and the categories holding them.
    void ApplyFilter(const QString& text);

    void SetMessageTarget(QObject* target) { m_pTarget = target; }
    QObject* GetMessageTarget() const { return m_pTarget; }

    // The page's loader: fills its tree from its table of database (none:
    // nothing). A page hidden behind another tab of a window that is up is
    // filled when it is first shown: until then its tree costs no memory.
    void Load(CAdoDatabase* database);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnTreeClicked();
    void OnTreeDoubleClicked();
    // The tree's selected item is a category row, not an entry.
    bool CategorySelected() const;

    int m_nKind;
    CReferenceTreeCtrl* m_pTree;
    QLineEdit* m_pFilter = nullptr;
    CAdoDatabase* m_pPendingDatabase = nullptr;   // the fill waiting for the page to show
    QPointer<QObject> m_pTarget;
};
