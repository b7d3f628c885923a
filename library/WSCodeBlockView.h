// The "CodeBlock" page of the workspace bar: the snippets of both code libraries
// in one list sorted without regard to case, with the snippet context menu.
#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

class CAdoDatabase;
class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;

class CWSCodeBlockView : public QWidget
{
    Q_OBJECT

public:
    // The page's kind in the posted messages, and its list's control id.
    static constexpr int kKind = 4;
    static constexpr int kListId = 106;
    // Positions of the context menu's items (separators at 1 and 5).
    static constexpr int kMenuInsert = 0;
    static constexpr int kMenuNew = 2;
    static constexpr int kMenuEdit = 3;
    static constexpr int kMenuDelete = 4;
    static constexpr int kMenuImport = 6;

    // Gives the database of a kind (2 standard library, 3 user library) or null.
    using DatabaseSource = std::function<CAdoDatabase*(int kind)>;

    // target receives the posted messages (the main frame).
    explicit CWSCodeBlockView(QObject* target = nullptr, QWidget* parent = nullptr);
    ~CWSCodeBlockView() override;

    void SetMessageTarget(QObject* target) { m_pTarget = target; }
    void SetDatabaseSource(DatabaseSource source) { m_fnDatabase = std::move(source); }
    // The commands the context menu's items run, by command id; an item is
    // enabled only while its command is. Without them the items run nothing.
    void SetCommandActions(const QHash<int, QAction*>& commands) { m_commands = commands; }

    // Empties the list and reads the titles of the standard library, then of the
    // user library (its lines' data with bit 31 set). Each library that fails to
    // read keeps the lines read before the failure.
    void FillCodeList();

    QListWidget* GetCodeList() const { return m_pList; }
    QMenu* GetContextMenu() const { return m_pMenu; }

    // Adds a line that the list sorts into place.
    QListWidgetItem* AddEntry(const QString& title, quint32 itemData);
    // Leaves no line selected.
    void ClearSelection();

    // The selected line of a code list, nullptr for none.
    static QListWidgetItem* SelectedItem(const QListWidget* list);
    // A line's data: the snippet id, bit 31 set for the user library; 0 for none.
    static quint32 ItemData(const QListWidgetItem* item);

    // Greys "插入", "编辑" and "删除" without a selection and every item whose
    // command is disabled, after the commands' states were brought up to date.
    void UpdateContextMenu();

signals:
    // The context menu is about to open: the commands' states are wanted now.
    void contextMenuOpening();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QAction* AddMenuItem(const QString& text, int command);

    QListWidget* m_pList;
    QMenu* m_pMenu;
    QPointer<QObject> m_pTarget;
    DatabaseSource m_fnDatabase;
    QHash<int, QAction*> m_commands;
};
