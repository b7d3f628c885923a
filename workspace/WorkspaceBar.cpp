#include "WorkspaceBar.h"

#include <QTabBar>
#include <QTabWidget>

CWorkspaceBar::CWorkspaceBar(const QString& title, const QSize& defaultSize, QWidget* parent)
    : CDockingBar(title, defaultSize, parent)
    , m_pTabs(new QTabWidget)
{
    m_pTabs->setObjectName(QStringLiteral("workspaceTabs"));
    m_pTabs->setTabPosition(QTabWidget::South);
    m_pTabs->setDocumentMode(false);
    m_pTabs->setUsesScrollButtons(true);
    m_pTabs->setElideMode(Qt::ElideNone);
    m_pTabs->setIconSize(QSize(16, 16));
    // Without this the tab row's width would stop the bar from narrowing.
    m_pTabs->setMinimumSize(1, 1);
    SetClient(m_pTabs);
    connect(m_pTabs, &QTabWidget::currentChanged, this, &CWorkspaceBar::OnTabChanged);
}

CWorkspaceBar::~CWorkspaceBar()
{
    // The pages and the tabs go after this object has stopped being a workspace bar;
    // the tab control must not report its removals to it.
    disconnect(m_pTabs, nullptr, this, nullptr);
}

bool CWorkspaceBar::AddView(const QString& title, QWidget* view)
{
    if (!view)
        return false;
    const QString shortTitle = title.left(kMaxTitleLength);
    m_listPages.append(CPageRecord{view, shortTitle});
    const int index = m_pTabs->addTab(view, shortTitle);
    m_pTabs->setTabToolTip(index, shortTitle);
    if (index < m_listTabImages.size())
        m_pTabs->setTabIcon(index, m_listTabImages.at(index));
    // The first page added is the active page; adding more leaves it active.
    if (index == 0)
        m_nActiveIndex = 0;
    m_pTabs->setCurrentIndex(m_nActiveIndex);
    return true;
}

void CWorkspaceBar::SetActiveView(int index)
{
    if (index < 0 || index >= GetViewCount() || index == m_nActiveIndex)
        return;
    m_nActiveIndex = index;
    m_pTabs->setCurrentIndex(index);
    QWidget* view = m_listPages.at(index).pView;
    view->setFocus(Qt::OtherFocusReason);
    emit activeViewChanged(index);
}

QWidget* CWorkspaceBar::GetView(int index) const
{
    if (index < 0 || index >= GetViewCount())
        return nullptr;
    return m_listPages.at(index).pView;
}

QString CWorkspaceBar::GetViewTitle(int index) const
{
    if (index < 0 || index >= GetViewCount())
        return QString();
    return m_listPages.at(index).strTitle;
}

void CWorkspaceBar::SetTabImages(const QList<QIcon>& images)
{
    m_listTabImages = images;
    ApplyTabImages();
}

void CWorkspaceBar::ApplyTabImages()
{
    for (int i = 0; i < m_pTabs->count(); ++i)
        m_pTabs->setTabIcon(i, i < m_listTabImages.size() ? m_listTabImages.at(i) : QIcon());
}

void CWorkspaceBar::OnTabChanged(int index)
{
    // A click on a tab, or the tab control moving its selection itself, makes that page active.
    SetActiveView(index);
}
