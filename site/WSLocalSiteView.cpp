#include "WSLocalSiteView.h"

#include <QEvent>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "CommandIds.h"
#include "LocalSiteTreeCtrl.h"
#include "core/SiteMemory.h"

CWSLocalSiteView::CWSLocalSiteView(QWidget* parent)
    : QWidget(parent), m_pTree(new CLocalSiteTreeCtrl(this)), m_pOpenSite(nullptr)
{
    setObjectName(QStringLiteral("CWSLocalSiteView"));
    // The tree covers the whole page at every size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pTree);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OnItemDoubleClicked(item); });
    // An entry made or found by a command is selected once its folder is read.
    connect(m_pTree, &CFolderTreeCtrl::pathRevealed, this, [this](QTreeWidgetItem* item) {
        m_pTree->setCurrentItem(item);
        m_pTree->scrollToItem(item);
    });

    // The button sits in the middle of the empty tree.
    m_pOpenSite = new QPushButton(QStringLiteral("打开站点..."), m_pTree->viewport());
    m_pOpenSite->setObjectName(QStringLiteral("openSiteButton"));
    m_pOpenSite->setStatusTip(QStringLiteral("打开本地站点文件夹"));
    connect(m_pOpenSite, &QPushButton::clicked, this, [this] { emit commandRequested(Cmd::OpenSite); });
    m_pTree->viewport()->installEventFilter(this);
    QAbstractItemModel* model = m_pTree->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &CWSLocalSiteView::UpdateOpenSiteButton);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CWSLocalSiteView::UpdateOpenSiteButton);
    connect(model, &QAbstractItemModel::modelReset, this, &CWSLocalSiteView::UpdateOpenSiteButton);
    UpdateOpenSiteButton();
}

CWSLocalSiteView::~CWSLocalSiteView()
{
    // The tree is destroyed after this and empties its model on the way:
    // nothing of that may reach a page that is no longer one.
    m_pTree->model()->disconnect(this);
    m_pTree->viewport()->removeEventFilter(this);
}

void CWSLocalSiteView::OpenSite(const QString& folder)
{
    m_pTree->SetRoot(folder, 1);
    QSettings settings;
    SiteMemory::Remember(settings, m_pTree->GetItemPath(m_pTree->topLevelItem(0)));
}

void CWSLocalSiteView::OpenLastSite()
{
    const QString last = SiteMemory::LastSite(QSettings());
    if (!last.isEmpty())
        m_pTree->SetRoot(last, 1);
}

void CWSLocalSiteView::UpdateOpenSiteButton()
{
    const bool empty = m_pTree->topLevelItemCount() == 0;
    m_pOpenSite->setVisible(empty);
    if (empty) {
        m_pOpenSite->adjustSize();
        const QSize viewport = m_pTree->viewport()->size();
        m_pOpenSite->move((viewport.width() - m_pOpenSite->width()) / 2,
                          qMin(viewport.height() / 3, qMax(0, viewport.height() - m_pOpenSite->height())));
    }
}

bool CWSLocalSiteView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pTree->viewport() && event->type() == QEvent::Resize)
        UpdateOpenSiteButton();
    return QWidget::eventFilter(watched, event);
}

void CWSLocalSiteView::OnItemDoubleClicked(QTreeWidgetItem* item)
{
    // A folder opens or closes as in any tree; a file is opened by the frame.
    if (item && item->isSelected() && m_pTree->IsFileItem(item))
        emit commandRequested(Cmd::SiteOpenFile);
}
