#include "UserPrompt.h"

#include <QFileDialog>
#include <QPushButton>

namespace UserPrompt {

namespace {
Responder* g_pResponder = nullptr;

QString WithSuffix(QString path, const QString& suffix)
{
    // A name typed without an extension gets the default one, as the save
    // dialog would add it.
    if (!path.isEmpty() && !suffix.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += suffix.startsWith(u'.') ? suffix : u'.' + suffix;
    return path;
}
} // namespace

void SetResponder(Responder* responder) { g_pResponder = responder; }
Responder* CurrentResponder() { return g_pResponder; }

QString Caption() { return QStringLiteral("Quillet"); }

Answer AskYesNoCancel(QWidget* parent, const QString& text)
{
    if (g_pResponder)
        return g_pResponder->Ask({Request::YesNoCancel, text, {}, {}});
    const auto button = QMessageBox::question(
        parent, Caption(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

bool AskYesNo(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    if (g_pResponder)
        return g_pResponder->Ask({Request::YesNo, text, {}, {}}) == Answer::Yes;
    QMessageBox box(icon, Caption(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool Confirm(QWidget* parent, const QString& text, const QString& acceptText, QMessageBox::Icon icon)
{
    if (g_pResponder)
        return g_pResponder->Ask({Request::YesNo, text, {}, {}}) == Answer::Yes;
    QMessageBox box(icon, Caption(), text, QMessageBox::NoButton, parent);
    QPushButton* accept = box.addButton(acceptText, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == accept;
}

void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    if (g_pResponder) {
        g_pResponder->Shown({Request::Message, text, {}, {}});
        return;
    }
    QMessageBox box(icon, Caption(), text, QMessageBox::Ok, parent);
    box.exec();
}

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                        const QString& filter)
{
    if (g_pResponder)
        return g_pResponder->ChooseFile({Request::OpenFile, caption, dir, filter});
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filter, const QString& defaultSuffix)
{
    if (g_pResponder)
        return WithSuffix(g_pResponder->ChooseFile({Request::SaveFile, caption, proposed, filter}),
                          defaultSuffix);
    QFileDialog dialog(parent, caption, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = defaultSuffix;
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return WithSuffix(dialog.selectedFiles().constFirst(), defaultSuffix);
}

QString GetExistingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    if (g_pResponder)
        return g_pResponder->ChooseFile({Request::Directory, caption, dir, {}});
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

} // namespace UserPrompt
