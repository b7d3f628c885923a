#include "WorkspaceSetup.h"

#include "CommandIds.h"
#include "WorkspaceBar.h"
#include "WorkspaceImages.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>

namespace WorkspacePage {

namespace {
constexpr int kCommands[Count] = {Cmd::ViewPagePHP,        Cmd::ViewPageCSS,       Cmd::ViewPageHtml,
                                  Cmd::ViewPageJavaScript, Cmd::ViewPageCodeBlock, Cmd::ViewPageLocalSite};
} // namespace

const QStringList& Titles()
{
    static const QStringList titles = {QStringLiteral("PHP"),        QStringLiteral("CSS"),
                                       QStringLiteral("Html"),       QStringLiteral("JavaScript"),
                                       QStringLiteral("CodeBlock"),  QStringLiteral("LocalSite")};
    return titles;
}

int CommandOf(int index)
{
    return index >= 0 && index < Count ? kCommands[index] : 0;
}

int FromCommand(int command)
{
    for (int i = 0; i < Count; ++i)
        if (kCommands[i] == command)
            return i;
    return -1;
}

} // namespace WorkspacePage

CWorkspaceBar* CreateWorkspaceBar(QMainWindow* frame, const QList<QWidget*>& pages, QMenu* menu)
{
    auto* bar = new CWorkspaceBar(QStringLiteral("Workspace"), QSize(220, 200), frame);
    bar->setObjectName(QStringLiteral("workspaceBar"));
    bar->SetButtonImages(WorkspaceImages::CaptionButtonImages());
    bar->SetTabImages(WorkspaceImages::TabImages());
    const QStringList& titles = WorkspacePage::Titles();
    for (int i = 0; i < WorkspacePage::Count; ++i) {
        QWidget* page = i < pages.size() ? pages.at(i) : nullptr;
        if (!page) {
            page = new QWidget;
            page->setObjectName(QStringLiteral("placeholderPage"));
        }
        bar->AddView(titles.at(i), page);
    }
    bar->SetMenu(menu);
    frame->addDockWidget(Qt::LeftDockWidgetArea, bar);
    return bar;
}

void FillWorkspaceMenu(QMenu* menu, const QList<QAction*>& pageActions, QAction* workspaceAction)
{
    for (QAction* action : pageActions)
        menu->addAction(action);
    menu->addSeparator();
    menu->addAction(workspaceAction);
}

void BindWorkspaceCommands(CWorkspaceBar* bar, QAction* workspaceAction, const QList<QAction*>& pageActions)
{
    workspaceAction->setCheckable(true);
    workspaceAction->setChecked(bar->IsShown());
    QObject::connect(workspaceAction, &QAction::triggered, bar, [bar] { bar->setVisible(!bar->IsShown()); });
    // Triggering a checkable action flips its mark before the bar has moved, and the
    // bar can also be hidden without the action; the mark always comes back from the bar.
    QObject::connect(workspaceAction, &QAction::triggered, bar,
                     [bar, workspaceAction] { workspaceAction->setChecked(bar->IsShown()); });
    QObject::connect(bar, &CDockingBar::shownChanged, workspaceAction, &QAction::setChecked);

    QList<QPointer<QAction>> pages;
    for (QAction* action : pageActions)
        pages.append(action);
    const auto markActivePage = [bar, pages] {
        for (int i = 0; i < pages.size(); ++i)
            if (pages.at(i))
                pages.at(i)->setChecked(i == bar->GetActiveIndex());
    };
    for (int i = 0; i < pageActions.size(); ++i) {
        QAction* action = pageActions.at(i);
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, bar, [bar, i, markActivePage] {
            bar->SetActiveView(i);
            markActivePage();
        });
    }
    QObject::connect(bar, &CWorkspaceBar::activeViewChanged, bar, markActivePage);
    markActivePage();
}
