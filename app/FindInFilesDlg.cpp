#include "FindInFilesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "UserPrompt.h"
#include "core/FindHistory.h"

CFindInFilesDlg::CFindInFilesDlg(const QString& folder, const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("在文件中查找"));
    m_pText = new QComboBox(this);
    m_pText->setEditable(true);
    m_pText->setInsertPolicy(QComboBox::NoInsert);
    m_pText->setMinimumContentsLength(30);
    m_pText->addItems(FindHistory::Stored());
    m_pText->setEditText(text);
    m_pPatterns = new QLineEdit(CFileSearchOptions::DefaultPatterns(), this);
    m_pFolder = new QLineEdit(folder, this);
    auto* browse = new QPushButton(QStringLiteral("浏览..."), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString dir = UserPrompt::GetExistingDirectory(this, QStringLiteral("选择文件夹"), m_pFolder->text());
        if (!dir.isEmpty())
            m_pFolder->setText(dir);
    });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_pFolder);
    folderRow->addWidget(browse);
    m_pMatchCase = new QCheckBox(QStringLiteral("区分大小写"), this);
    m_pWholeWord = new QCheckBox(QStringLiteral("全字匹配"), this);
    m_pRegExp = new QCheckBox(QStringLiteral("正则表达式"), this);
    auto* options = new QHBoxLayout;
    for (QCheckBox* c : {m_pMatchCase, m_pWholeWord, m_pRegExp})
        options->addWidget(c);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFindInFilesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("查找内容:"), m_pText);
    form->addRow(QString(), options);
    form->addRow(QStringLiteral("文件类型:"), m_pPatterns);
    form->addRow(QStringLiteral("文件夹:"), folderRow);
    form->addRow(buttons);
    m_pText->setFocus();
    m_pText->lineEdit()->selectAll();
}

CFileSearchOptions CFindInFilesDlg::Options() const
{
    CFileSearchOptions o;
    o.strText = m_pText->currentText();
    o.bMatchCase = m_pMatchCase->isChecked();
    o.bWholeWord = m_pWholeWord->isChecked();
    o.bRegExp = m_pRegExp->isChecked();
    o.strPatterns = m_pPatterns->text();
    return o;
}

QString CFindInFilesDlg::Folder() const
{
    return m_pFolder->text().trimmed();
}

void CFindInFilesDlg::accept()
{
    // Bad input is said here, while it can still be mended.
    const CFileSearchOptions o = Options();
    QString problem;
    if (o.strText.isEmpty())
        problem = QStringLiteral("请填入要查找的内容。");
    else if (const QRegularExpression re = FileSearch::BuildExpression(o); !re.isValid())
        problem = QStringLiteral("正则表达式有误：%1").arg(re.errorString());
    else if (!QFileInfo(Folder()).isDir())
        problem = QStringLiteral("找不到文件夹：%1").arg(Folder());
    if (!problem.isEmpty()) {
        UserPrompt::ShowMessage(this, problem);
        return;
    }
    FindHistory::Remember(o.strText);
    QDialog::accept();
}
