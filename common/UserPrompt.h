// Message boxes and file dialogs captioned "Quillet", answerable by tests through a responder.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace UserPrompt {

enum class Answer { Yes, No, Cancel };

// What the program asks; a test's responder sees one of these for every prompt.
struct Request
{
    enum Kind { YesNoCancel, YesNo, Message, OpenFile, SaveFile, Directory };
    Kind kind = Message;
    QString text;     // the message or question, or the dialog's caption
    QString dir;      // start directory or proposed file name for file dialogs
    QString filter;   // name filter for file dialogs
};

// Stands in for the user in tests: when installed, no dialog is shown and the
// responder's answer is taken instead.
class Responder
{
public:
    virtual ~Responder() = default;
    virtual Answer Ask(const Request& request) = 0;            // questions
    virtual void Shown(const Request& request) = 0;            // plain messages
    virtual QString ChooseFile(const Request& request) = 0;    // file dialogs; empty = cancelled
};

void SetResponder(Responder* responder);   // nullptr restores real dialogs
Responder* CurrentResponder();

// The application's title, the caption of every message box.
QString Caption();

Answer AskYesNoCancel(QWidget* parent, const QString& text);
bool AskYesNo(QWidget* parent, const QString& text,
              QMessageBox::Icon icon = QMessageBox::Question);
// A question whose answers are acceptText and 取消 (the default); a test's
// responder sees it as a yes-or-no question, Yes meaning acceptText.
bool Confirm(QWidget* parent, const QString& text, const QString& acceptText,
             QMessageBox::Icon icon = QMessageBox::Warning);
void ShowMessage(QWidget* parent, const QString& text,
                 QMessageBox::Icon icon = QMessageBox::Warning);
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                        const QString& filter);
QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filter, const QString& defaultSuffix);
QString GetExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);

} // namespace UserPrompt
