// The "符号" page of the workspace bar: the outline of the active document
// (types with their members, functions, constants) in file order, each with
// its kind's image. A click asks to go to the line; the item holding the
// caret is selected as the caret moves, without taking the focus.
#pragma once

#include <QWidget>
#include <vector>

#include "Symbol.h"

class QTreeWidget;
class QTreeWidgetItem;

class CWSSymbolView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kLineRole = Qt::UserRole;
    static constexpr int kEndLineRole = Qt::UserRole + 1;

    explicit CWSSymbolView(QWidget* parent = nullptr);

    // Shows outline (none: an empty page); the same outline again keeps the
    // tree as it is, opened branches and scroll place too.
    void SetOutline(const std::vector<CSymbol>& outline);
    // Selects the innermost item whose lines hold line.
    void SelectLine(int line);
    QTreeWidget* Tree() const { return m_pTree; }

signals:
    void lineChosen(int line);

private:
    QTreeWidget* m_pTree;
    std::vector<CSymbol> m_shown;
    bool m_bSelecting = false;
};
