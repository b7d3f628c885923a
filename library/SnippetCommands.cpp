#include "SnippetCommands.h"

#include "CodeEditDlg.h"
#include "CodeLibraryRows.h"
#include "CodeLibrarySql.h"
#include "CodeLibraryStore.h"
#include "UserPrompt.h"
#include "WSCodeBlockView.h"

#include <QListWidget>

using CodeLibraryRows::Write;
using CodeLibrarySql::kUserLibFlag;

namespace {

qint32 SnippetId(quint32 itemData)
{
    return static_cast<qint32>(itemData & ~kUserLibFlag);
}

} // namespace

CSnippetCommands::CSnippetCommands(CCodeLibraryStore* store, CWSCodeBlockView* page, QWidget* owner)
    : QObject(owner), m_pStore(store), m_pPage(page), m_pOwner(owner)
{
}

QString CSnippetCommands::DeleteQuestion()
{
    return QStringLiteral("确定要删除这一段代码吗?");
}

bool CSnippetCommands::CanInsert() const
{
    return m_pPage && CWSCodeBlockView::SelectedItem(m_pPage->GetCodeList()) && m_pStore->IsUserLibOpen();
}

bool CSnippetCommands::CanCreate() const
{
    return m_pPage && m_pStore->IsUserLibOpen();
}

bool CSnippetCommands::CanChange() const
{
    if (!CanInsert())
        return false;
    const quint32 data = CWSCodeBlockView::ItemData(CWSCodeBlockView::SelectedItem(m_pPage->GetCodeList()));
    return SnippetId(data) != 0;
}

quint32 CSnippetCommands::SelectedUserSnippet() const
{
    if (!m_pPage)
        return 0;
    const quint32 data = CWSCodeBlockView::ItemData(CWSCodeBlockView::SelectedItem(m_pPage->GetCodeList()));
    return (data & kUserLibFlag) ? data : 0;
}

void CSnippetCommands::ReportRefused()
{
    UserPrompt::ShowMessage(m_pOwner, CCodeLibraryStore::WriteFailedText());
}

void CSnippetCommands::OnNewCode()
{
    if (!m_pPage || !m_pStore->GetDatabase(CCodeLibraryStore::UserLib))
        return;
    CCodeEditDlg dlg(m_pOwner);
    if (dlg.exec() != QDialog::Accepted || !m_pPage)
        return;
    const Write written = CodeLibraryRows::InsertSnippet(
        m_pStore->GetDatabase(CCodeLibraryStore::UserLib), dlg.GetTitle(), dlg.GetContent());
    m_pPage->FillCodeList();
    m_pPage->ClearSelection();
    if (written != Write::Done)
        ReportRefused();
}

void CSnippetCommands::OnEditCode()
{
    const quint32 data = SelectedUserSnippet();
    CAdoDatabase* userLib = m_pStore->GetDatabase(CCodeLibraryStore::UserLib);
    if (!data || !userLib)
        return;
    const qint32 id = SnippetId(data);
    CodeLibraryRows::CSnippet snippet;
    switch (CodeLibraryRows::ReadSnippet(userLib, id, snippet)) {
    case CodeLibraryRows::Lookup::Failed:
        return;
    case CodeLibraryRows::Lookup::Missing:
        return;   // another program removed it: nothing to edit
    case CodeLibraryRows::Lookup::Found:
        break;
    }
    CCodeEditDlg dlg(m_pOwner);
    dlg.SetTitle(snippet.strTitle);
    dlg.SetContent(snippet.strText);
    if (dlg.exec() != QDialog::Accepted || !m_pPage)
        return;
    userLib = m_pStore->GetDatabase(CCodeLibraryStore::UserLib);
    switch (CodeLibraryRows::UpdateSnippet(userLib, id, dlg.GetTitle(), dlg.GetContent())) {
    case Write::Done:
        // The line moves to where its new title sorts, with its old data.
        if (SelectedUserSnippet() == data) {
            delete CWSCodeBlockView::SelectedItem(m_pPage->GetCodeList());
            m_pPage->AddEntry(dlg.GetTitle(), data);
        } else {
            m_pPage->FillCodeList();
        }
        m_pPage->ClearSelection();
        break;
    case Write::Missing:
        m_pPage->FillCodeList();   // removed while the dialog was open
        break;
    case Write::Refused:
        ReportRefused();
        break;
    }
}

void CSnippetCommands::OnDeleteCode()
{
    const quint32 data = SelectedUserSnippet();
    CAdoDatabase* userLib = m_pStore->GetDatabase(CCodeLibraryStore::UserLib);
    if (!data || !userLib)
        return;
    const qint32 id = SnippetId(data);
    if (!UserPrompt::AskYesNo(m_pOwner, DeleteQuestion(), QMessageBox::Warning) || !m_pPage)
        return;
    switch (CodeLibraryRows::DeleteSnippet(m_pStore->GetDatabase(CCodeLibraryStore::UserLib), id)) {
    case Write::Done:
    case Write::Missing:   // another program removed it first: its line goes too
        if (SelectedUserSnippet() == data)
            delete CWSCodeBlockView::SelectedItem(m_pPage->GetCodeList());
        else
            m_pPage->FillCodeList();
        m_pPage->ClearSelection();
        break;
    case Write::Refused:
        ReportRefused();
        break;
    }
}
