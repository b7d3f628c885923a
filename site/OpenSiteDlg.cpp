#include "OpenSiteDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FolderTreeCtrl.h"
#include "core/SiteMemory.h"

COpenSiteDlg::COpenSiteDlg(QWidget* parent, const QString& startFolder)
    : QDialog(parent), m_pTree(new CFolderTreeCtrl(this)), m_pPath(new QLineEdit(this))
{
    setObjectName(QStringLiteral("openSiteDlg"));
    setWindowTitle(QStringLiteral("打开站点"));
    m_pTree->setObjectName(QStringLiteral("openSiteTree"));
    m_pTree->setProperty("ctrlId", kTreeId);
    m_pPath->setObjectName(QStringLiteral("openSitePath"));
    auto* pathLabel = new QLabel(QStringLiteral("文件夹(&D):"), this);
    pathLabel->setBuddy(m_pPath);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COpenSiteDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COpenSiteDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pathLabel);
    layout->addWidget(m_pPath);
    layout->addWidget(m_pTree);
    layout->addWidget(buttons);
    resize(360, 420);
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, &COpenSiteDlg::OnSelectionChanged);
    connect(m_pTree, &CFolderTreeCtrl::pathRevealed, this, &COpenSiteDlg::OnPathRevealed);
    m_pTree->SetRoot(QString(), 0);
    if (!startFolder.isEmpty()) {
        m_pPath->setText(startFolder);
        m_pTree->RevealPath(startFolder);
    }
    // A path pasted at once replaces the start folder.
    m_pPath->selectAll();
    m_pPath->setFocus();
}

void COpenSiteDlg::OnSelectionChanged()
{
    QTreeWidgetItem* item = m_pTree->selectedItems().value(0);
    m_pPath->setText(item && !CFolderTreeCtrl::IsPlaceholder(item) ? m_pTree->GetItemPath(item) : QString());
}

void COpenSiteDlg::OnPathRevealed(QTreeWidgetItem* item)
{
    // What the user typed meanwhile stays.
    if (m_pPath->isModified())
        return;
    const bool hadFocus = m_pPath->hasFocus();
    m_pTree->setCurrentItem(item);
    m_pTree->expandItem(item);   // what the folder holds is in view
    m_pTree->scrollToItem(item);
    if (hadFocus)
        m_pPath->selectAll();
}

void COpenSiteDlg::accept()
{
    const QString path = SiteMemory::FromTyped(m_pPath->text());
    if (path.isEmpty() || !QFileInfo(path).isDir()) {
        m_pPath->setFocus();
        m_pPath->selectAll();
        return;   // stays open, without a word
    }
    m_strSitePath = path;
    QDialog::accept();
}
