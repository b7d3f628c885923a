#include "OpenSiteDlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "FolderTreeCtrl.h"

COpenSiteDlg::COpenSiteDlg(QWidget* parent) : QDialog(parent), m_pTree(new CFolderTreeCtrl(this))
{
    setObjectName(QStringLiteral("openSiteDlg"));
    setWindowTitle(QStringLiteral("打开站点"));
    m_pTree->setObjectName(QStringLiteral("openSiteTree"));
    m_pTree->setProperty("ctrlId", kTreeId);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COpenSiteDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COpenSiteDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTree);
    layout->addWidget(buttons);
    resize(320, 380);
    m_pTree->SetRoot(QString(), 0);
    m_pTree->setFocus();
}

void COpenSiteDlg::accept()
{
    const QList<QTreeWidgetItem*> selected = m_pTree->selectedItems();
    QTreeWidgetItem* item = selected.value(0);
    if (!item || !m_pTree->IsFolderItem(item))
        return;   // stays open, without a word
    m_strSitePath = m_pTree->GetItemPath(item);
    QDialog::accept();
}
