// "查找符号": a filter box over the symbols of the index (or over a given list
// of candidates), matching as the user types, best first; Enter or a double
// click chooses the selected line, Escape closes the dialog.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "SymbolIndex.h"

class QLineEdit;

// A declaration and its file, copied out of the index so that it outlives
// the index's next change.
struct CSymbolPlace {
    QString path;
    CSymbol symbol;
};
class QListWidget;

class CFindSymbolDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr std::size_t kMaxLines = 100;

    // Over every symbol of index.
    CFindSymbolDlg(const CSymbolIndex& index, QWidget* parent = nullptr);
    // Over the candidates only (the declarations a name may mean).
    CFindSymbolDlg(std::vector<CSymbolRef> candidates, const QString& title, QWidget* parent = nullptr);

    QLineEdit* FilterBox() const { return m_pFilter; }
    QListWidget* List() const { return m_pList; }
    // The line chosen, once the dialog was accepted.
    const std::optional<CSymbolPlace>& Chosen() const { return m_chosen; }

    // The text of one line: name, kind, the file relative to root and line.
    static QString LineText(const CSymbolPlace& place, const QString& root);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build(const QString& title);
    void Refill();
    void Choose();

    const CSymbolIndex* m_pIndex = nullptr;
    std::vector<CSymbolPlace> m_candidates;
    std::vector<CSymbolPlace> m_shown;
    std::optional<CSymbolPlace> m_chosen;
    QLineEdit* m_pFilter = nullptr;
    QListWidget* m_pList = nullptr;
};
