#include "OpenFailureNotice.h"

#include <QMessageBox>

#include "UserPrompt.h"

QString COpenFailureNotice::Text(const QStringList& failed)
{
    constexpr int kListed = 10;
    QString text = QStringLiteral("打开文档失败。\n\n") + failed.mid(0, kListed).join(u'\n');
    if (failed.size() > kListed)
        text += QStringLiteral("\n……等 %1 个文件").arg(failed.size());
    return text;
}

void COpenFailureNotice::Report(QWidget* parent, const QStringList& failed)
{
    if (failed.isEmpty())
        return;
    if (m_pBox) {
        m_failed += failed;
        m_pBox->setText(Text(m_failed));
        return;
    }
    if (UserPrompt::CurrentResponder()) {
        UserPrompt::ShowMessage(parent, Text(failed));
        return;
    }
    m_failed = failed;
    QMessageBox box(QMessageBox::Warning, UserPrompt::Caption(), Text(m_failed), QMessageBox::Ok, parent);
    m_pBox = &box;
    box.exec();
    m_pBox = nullptr;
    m_failed.clear();
}
