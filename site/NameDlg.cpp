#include "NameDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CNameDlg::CNameDlg(int mode, QWidget* parent)
    : QDialog(parent), m_pLabel(new QLabel(QStringLiteral("新文件夹名:"), this)), m_pEdit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("nameDlg"));
    setWindowTitle(QStringLiteral("Dialog"));
    m_pLabel->setProperty("ctrlId", kLabelId);
    m_pEdit->setProperty("ctrlId", kNameId);
    m_pLabel->setBuddy(m_pEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pLabel, 0, 0);
    layout->addWidget(m_pEdit, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    m_pEdit->setMinimumWidth(200);
    m_pEdit->setFocus();
    SetMode(mode);
}

QString CNameDlg::CaptionFor(int mode)
{
    switch (mode) {
    case NewFile: return QStringLiteral("新建文件");
    case NewFolder: return QStringLiteral("新建文件夹");
    case RenameFile: return QStringLiteral("文件重命名");
    case RenameFolder: return QStringLiteral("文件夹重命名");
    default: return QStringLiteral("对话框参数错误!");
    }
}

QString CNameDlg::LabelFor(int mode)
{
    switch (mode) {
    case NewFile:
    case RenameFile: return QStringLiteral("新文件名:");
    case NewFolder:
    case RenameFolder: return QStringLiteral("新文件夹名:");
    default: return QStringLiteral("对话框参数错误!");
    }
}

void CNameDlg::SetMode(int mode)
{
    m_nMode = mode;
    m_strLabel = LabelFor(mode);
    m_pLabel->setText(m_strLabel);
    setWindowTitle(CaptionFor(mode));
}

QString CNameDlg::GetName() const
{
    return m_pEdit->text();
}

void CNameDlg::SetName(const QString& name)
{
    m_pEdit->setText(name);
}
