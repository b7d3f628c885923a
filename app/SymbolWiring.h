// Joins the site symbol index to the main frame: keeps it reading the open
// site (the LocalSite page's folder), the files saved or opened, and the
// active document a moment after typing stops; shows the active document's
// outline on the "符号" page and follows its caret there.
#pragma once

#include <QObject>
#include <QPointer>

#include "ContextHelpDlg.h"

class CCodeEditCtrl;
class CDocTemplate;
class CQuilletDoc;
class CSymbolIndex;
class CSymbolNavigation;
class CWSLocalSiteView;
class CWSSymbolView;
class IFrameAccess;
class QTimer;

class CSymbolWiring : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTypingPauseMs = 600;
    static constexpr int kMaxTypedBytes = 2 * 1024 * 1024;

    // Builds the index and the page on frame, which owns this object.
    CSymbolWiring(IFrameAccess* frame, CDocTemplate* docTemplate);

    CSymbolIndex* Index() const { return m_pIndex; }
    CWSSymbolView* Page() const { return m_pPage; }
    CSymbolNavigation* Navigation() const { return m_pNavigation; }
    // The path the active document is indexed under (empty for an untitled one).
    QString ActivePath() const;
    // The context-help list's entries of the user's code at the active editor's caret.
    QList<CContextHelpDlg::CExtraEntry> ContextEntries(bool* membersOnly);

private:
    void CheckSiteRoot();
    void OnActiveEditorChanged();
    void RefreshOutline();
    void IndexTypedText();
    void GoToLine(int line);

    IFrameAccess* m_pFrame;
    CDocTemplate* m_pDocTemplate;
    CSymbolIndex* m_pIndex;
    CWSSymbolView* m_pPage = nullptr;
    CSymbolNavigation* m_pNavigation;
    QPointer<CCodeEditCtrl> m_pEditor;
    QPointer<CQuilletDoc> m_pDoc;   // m_pEditor's document
    QPointer<CWSLocalSiteView> m_pSite;
    QTimer* m_pTyping;
    bool m_bRefreshPending = false;
    // The site's functions as context-help entries, made again after a change of the index.
    QList<CContextHelpDlg::CExtraEntry> m_functionEntries;
    bool m_bFunctionsStale = true;
};
