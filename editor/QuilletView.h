// An editor view: the ad pane across the top, the editor control below it,
// the edit commands, the context menu and printing.
#pragma once

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "CommandMap.h"

class CAdView;
class CCodeEditCtrl;
class CQuilletDoc;
class QPrinter;

class CQuilletView : public QWidget, public CCmdTarget
{
    Q_OBJECT
public:
    // The pane's address: the user's setting, else the shipped page's,
    // deciphered.
    static QString AdAddress();
    static constexpr int kAdTimerMs = 60000;

    // source: a view of the same document whose text this view shares.
    CQuilletView(CQuilletDoc* doc, CQuilletView* source, QWidget* parent = nullptr);
    ~CQuilletView() override;

    CQuilletDoc* GetDocument() const;
    CCodeEditCtrl* Editor() const { return m_pEditor; }
    CAdView* AdPane() const { return m_pAdView; }
    int AdPaneHeight() const { return m_nAdPaneHeight; }
    QMenu* ContextMenu() const { return m_pContextMenu; }

    // The timer tick: the pane's height follows its address, then it reloads.
    void OnAdTimer();
    // Insert (32792): the context-help list's entry replaces the typed word.
    void OnEditInsert();

    // WM_USER+4 from the main frame: the entry's text replaces the selection
    // (one step to undo), leaving the clipboard as it was.
    void InsertEntryText(int kind, qint32 id);

    // Prints the text on printer, every page it needs (or the printer's page range).
    void PrintTo(QPrinter& printer) const;
    void OnFilePrint();
    void OnFilePrintPreview();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void LayoutPanes();
    void ShowContextMenu(const QPoint& globalPos);
    void RegisterCommands();

    // Guarded: a window that is not closed through its frame may outlive its
    // document, which then must not be told of the window going.
    QPointer<CQuilletDoc> m_pDoc;
    CAdView* m_pAdView = nullptr;
    CCodeEditCtrl* m_pEditor = nullptr;
    QMenu* m_pContextMenu = nullptr;
    QString m_strAdAddress;
    int m_nAdPaneHeight = 66;
    int m_nAdTimer = 0;
};
