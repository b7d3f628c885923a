#include "DocumentFormatCommands.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "DocTemplate.h"
#include "FrameAccess.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "StatusIndicators.h"

CDocumentFormatCommands::CDocumentFormatCommands(IFrameAccess* frame) : QObject(frame->Window()), m_pFrame(frame)
{
    using FileEncoding::Kind;
    using FileEncoding::LineBreak;
    CCommandMap& commands = frame->CommandMap();
    commands.On(Cmd::FileReload, [this] { OnActiveDoc([](CQuilletDoc* doc) { doc->Reload(); }); },
                [this](CCmdUI& ui) {
                    const CQuilletDoc* doc = ActiveDoc();
                    ui.enabled = doc && !doc->GetPathName().isEmpty();
                });
    const std::pair<int, LineBreak> lineBreaks[] = {
        {Cmd::LineBreakCrLf, LineBreak::CrLf}, {Cmd::LineBreakLf, LineBreak::Lf}, {Cmd::LineBreakCr, LineBreak::Cr}};
    for (const auto& [id, lineBreak] : lineBreaks) {
        commands.On(id, [this, lineBreak] {
            OnActiveDoc([lineBreak](CQuilletDoc* doc) { doc->ConvertLineBreaks(lineBreak); });
        }, [this, lineBreak](CCmdUI& ui) {
            const CQuilletDoc* doc = ActiveDoc();
            ui.enabled = doc != nullptr;
            ui.checked = doc && doc->GetFormat().lineBreak == lineBreak;
        });
    }
    // A file read with a byte-order mark keeps it: it is UTF-8 all the same.
    const std::pair<int, Kind> kinds[] = {{Cmd::EncodingUtf8, Kind::Utf8}, {Cmd::EncodingGb18030, Kind::Gb18030}};
    for (const auto& [id, kind] : kinds) {
        commands.On(id, [this, kind] { OnActiveDoc([kind](CQuilletDoc* doc) { doc->SetEncoding(kind); }); },
                    [this, kind](CCmdUI& ui) {
                        const CQuilletDoc* doc = ActiveDoc();
                        const Kind now = doc ? doc->GetFormat().kind : Kind::Latin1;
                        ui.enabled = doc != nullptr;
                        ui.checked = now == kind || (kind == Kind::Utf8 && now == Kind::Utf8Bom);
                    });
    }

    if (auto* area = frame->Window()->findChild<QMdiArea*>())
        connect(area, &QMdiArea::subWindowActivated, this, &CDocumentFormatCommands::RequestShowFormat);
    CDocTemplate* docs = frame->DocTemplate();
    connect(docs, &CDocTemplate::documentAdded, this, [this](CQuilletDoc* doc) {
        connect(doc, &CQuilletDoc::formatChanged, this, &CDocumentFormatCommands::RequestShowFormat);
        RequestShowFormat();
    });
    connect(docs, &CDocTemplate::documentRemoved, this, &CDocumentFormatCommands::RequestShowFormat);
}

CQuilletDoc* CDocumentFormatCommands::ActiveDoc() const
{
    CQuilletView* view = m_pFrame->ActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CDocumentFormatCommands::OnActiveDoc(const std::function<void(CQuilletDoc*)>& what)
{
    CQuilletView* view = m_pFrame->ActiveView();
    CQuilletDoc* doc = view ? view->GetDocument() : nullptr;
    if (!doc)
        return;
    what(doc);
    // A question or message took the focus; the user goes on typing where he was.
    view->Editor()->setFocus(Qt::OtherFocusReason);
    m_pFrame->RequestUpdate();
}

void CDocumentFormatCommands::RequestShowFormat()
{
    if (m_bShowPending)
        return;
    m_bShowPending = true;
    QTimer::singleShot(0, this, &CDocumentFormatCommands::ShowFormat);
}

void CDocumentFormatCommands::ShowFormat()
{
    m_bShowPending = false;
    const CQuilletDoc* doc = ActiveDoc();
    if (CStatusIndicators* panes = m_pFrame->StatusPanes())
        panes->SetFormatText(doc ? FileEncoding::FormatName(doc->GetFormat()) : QString());
    m_pFrame->RequestUpdate();
}
