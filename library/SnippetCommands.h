// The snippet commands "新建", "编辑" and "删除" of the CodeBlock page, and the
// enabling rules of its four commands.
#pragma once

#include <QObject>
#include <QPointer>

class CCodeLibraryStore;
class CWSCodeBlockView;
class QWidget;

class CSnippetCommands : public QObject
{
    Q_OBJECT

public:
    // The dialogs and messages are owned by owner (the main frame).
    CSnippetCommands(CCodeLibraryStore* store, CWSCodeBlockView* page, QWidget* owner);

    // "插入": a line is selected and the user library is open.
    bool CanInsert() const;
    // "新建": the user library is open.
    bool CanCreate() const;
    // "编辑", "删除": a line is selected, the user library is open and the line's
    // id is not 0; a standard library's line counts too, and is then ignored.
    bool CanChange() const;

    // A change the user library refuses is reported and the list shows what
    // the library holds. Editing a snippet that another program removed does
    // nothing; deleting one asks first, as for any, then takes its line away.
    void OnNewCode();
    void OnEditCode();
    void OnDeleteCode();

    static QString DeleteQuestion();

private:
    // The selected line's data when it is a user library's snippet, else 0.
    quint32 SelectedUserSnippet() const;
    void ReportRefused();

    CCodeLibraryStore* m_pStore;
    QPointer<CWSCodeBlockView> m_pPage;
    QPointer<QWidget> m_pOwner;
};
