// The helper the write-fault test starts with the fault library preloaded:
// it sets up one operation, arms the library for the length of the
// operation only, and prints what the user was told and what state the
// program is left in, one "key: value" line each:
//   message: TEXT     a message shown to the user (one line per message)
//   modified: 0|1     the document is still modified (saves, recovery copy)
//   write_fault_child OPERATION FOLDER
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <cstdio>
#include <dlfcn.h>

#include "CodeEditCtrl.h"
#include "CodeEditDlg.h"
#include "CodeLibraryStore.h"
#include "CrashRecovery.h"
#include "DocTemplate.h"
#include "ModalScript.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "SettingsSync.h"
#include "SlotFontChoice.h"
#include "SnippetCommands.h"
#include "WSCodeBlockView.h"
#include "WriteFaultCases.h"
#include "core/FileSave.h"

namespace {
using namespace WriteFaultCases;

// Counting and failing start here; a helper started without the library
// runs the operation unharmed.
void Arm(bool on)
{
    using ArmFn = void (*)(int);
    static const auto arm = reinterpret_cast<ArmFn>(dlsym(RTLD_DEFAULT, "quillet_fault_arm"));
    if (arm)
        arm(on ? 1 : 0);
}

void Print(const char* key, const QString& value)
{
    std::printf("%s: %s\n", key, value.toUtf8().constData());
}

void PrintMessages(const CScriptedResponder& user)
{
    for (const QString& text : user.Texts(UserPrompt::Request::Message))
        Print("message", QString(text).replace(u'\n', u' '));
}

void UseFrames(CDocTemplate& docs)
{
    docs.SetFrameFactory([](CQuilletDoc* doc, CQuilletView* source) { return new CQuilletView(doc, source); });
}

void SetText(CQuilletDoc* doc, const QString& text)
{
    doc->Editor()->selectAll();
    doc->Editor()->ReplaceSelection(text.toUtf8());
}

int Save(const QString& op, const QString& dir)
{
    CDocTemplate docs;
    UseFrames(docs);
    CQuilletDoc* doc = docs.OpenDocumentFile(Page(dir));
    if (!doc)
        return 3;
    SetText(doc, Text(true, PageLines(op)));
    FileSave::SetBackupFolder(Backups(dir));
    CScriptedResponder user;
    Arm(true);
    doc->DoFileSave();
    Arm(false);
    PrintMessages(user);
    Print("modified", QString::number(doc->IsModified()));
    return 0;
}

int RecoveryCopy(const QString& dir)
{
    CDocTemplate docs;
    UseFrames(docs);
    CCrashRecovery recovery(&docs, RecoveryFolder(dir), nullptr);
    if (!recovery.Start())
        return 3;
    CQuilletDoc* doc = docs.NewDocument();
    SetText(doc, Text(false, kCopyLines));
    recovery.WriteAll();
    SetText(doc, Text(true, kCopyLines));
    CScriptedResponder user;
    Arm(true);
    recovery.WriteAll();
    Arm(false);
    // A failure noticed by the writer reaches the user through the event loop.
    QApplication::processEvents();
    PrintMessages(user);
    Print("modified", QString::number(doc->IsModified()));
    return 0;
}

int Settings()
{
    const CChosenFont font = NewFont();
    CScriptedResponder user;
    Arm(true);
    {
        QSettings settings;
        StoreSlotFont(settings, kStyleSlot, font);
        SettingsSync::Commit(settings, nullptr);
    }
    Arm(false);
    PrintMessages(user);
    return 0;
}

int LibraryWrite(const QString& dir)
{
    CCodeLibraryStore store(StartDir(dir), QStringList());
    store.OpenDatabases();
    QWidget owner;
    auto* page = new CWSCodeBlockView(nullptr, &owner);
    page->SetDatabaseSource([&store](int kind) { return store.GetDatabase(kind); });
    CSnippetCommands commands(&store, page, &owner);
    page->FillCodeList();
    CScriptedResponder user;
    CModalScript script([](QDialog* dialog) {
        auto* dlg = qobject_cast<CCodeEditDlg*>(dialog);
        if (!dlg)
            return dialog->reject();
        dlg->TitleField()->setText(kSnippetTitle);
        dlg->ContentField()->setPlainText(kSnippetText);
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    });
    Arm(true);
    commands.OnNewCode();
    Arm(false);
    PrintMessages(user);
    return 0;
}

int LibraryNew(const QString& dir)
{
    CCodeLibraryStore store(StartDir(dir), QStringList());
    store.OpenDatabases();
    CScriptedResponder user;
    user.files = {NewLibrary(dir)};
    Arm(true);
    store.OnNewCodeLib(nullptr);
    Arm(false);
    PrintMessages(user);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Fennroth"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    const QString op = args.at(1), dir = args.at(2);
    int rc = 2;
    if (op.startsWith(QLatin1String("save-")))
        rc = Save(op, dir);
    else if (op == QLatin1String("recovery-copy"))
        rc = RecoveryCopy(dir);
    else if (op == QLatin1String("settings"))
        rc = Settings();
    else if (op == QLatin1String("library-write"))
        rc = LibraryWrite(dir);
    else if (op == QLatin1String("library-new"))
        rc = LibraryNew(dir);
    std::fflush(stdout);
    return rc;
}
