#include "WorkspaceFrame.h"

#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

WorkspaceFrame::WorkspaceFrame()
    : frame(std::make_unique<QMainWindow>())
{
    frame->setCentralWidget(new QPlainTextEdit);
    workspaceAction = new QAction(QStringLiteral("工作空间"), frame.get());
    for (const QString& title : WorkspacePage::Titles())
        pageActions.append(new QAction(title, frame.get()));
    menu = new QMenu(frame.get());
    FillWorkspaceMenu(menu, pageActions, workspaceAction);
    bar = CreateWorkspaceBar(frame.get(), {}, menu);
    BindWorkspaceCommands(bar, workspaceAction, pageActions);
    frame->setGeometry(40, 40, 700, 460);
    frame->show();
    Shown();
}

WorkspaceFrame::~WorkspaceFrame()
{
    menu->hide();
}

bool WorkspaceFrame::Shown() const
{
    return QTest::qWaitForWindowExposed(frame.get());
}
