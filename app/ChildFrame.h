// An editor window inside the main frame: always maximised, one view.
#pragma once

#include <QMdiSubWindow>

class CQuilletView;

class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit CChildFrame(CQuilletView* view, QWidget* parent = nullptr);

    CQuilletView* View() const { return m_pView; }
    // Shows the window maximised, whatever the caller asked for.
    void ActivateFrame();
    // The window's title: the document's, numbered when it has several windows.
    void UpdateTitle();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CQuilletView* m_pView;
    bool m_bShown = false;
};
