// The small readers of outside text: the command line, the toolbar's
// prototype text, connection strings, recovery copies and php's verdicts.
// None may crash, and what they give back must hold together.
#include <QString>
#include <QStringList>
#include <cstdlib>

#include "ConnectionString.h"
#include "core/ComboText.h"
#include "core/CommandLineInfo.h"
#include "core/FindHistory.h"
#include "core/PhpLintResult.h"
#include "core/RecoveryStore.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

bool IsFlag(const QString& arg) { return arg.size() >= 2 && arg.front() == u'-'; }

// Every argument is accounted for: each one that is not a flag (or that comes
// after "--") is a file, in order, and each flag either sets its switch or is
// kept as unknown; the first file is the file name.
void CheckCommandLine(const QStringList& args)
{
    const CCommandLineInfo info = CCommandLineInfo::Parse(args);
    Check(info.m_strFileName == info.m_fileNames.value(0));
    QStringList files;
    qsizetype flags = 0;
    bool ended = false;
    for (const QString& arg : args) {
        if (!ended && arg == u"--")
            ended = true;
        else if (!ended && IsFlag(arg))
            ++flags;
        else
            files << arg;
    }
    Check(info.m_unknownFlags.size() <= flags);
    for (const QString& flag : info.m_unknownFlags)
        Check(IsFlag(flag) && args.contains(flag));
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo) {
        Check(info.m_fileNames == files.mid(0, 1) && info.m_strPrinterName == files.value(1) &&
              !info.m_strPrinterName.isEmpty());
    } else {
        Check(info.m_fileNames == files);
        if (info.m_nShellCommand == CCommandLineInfo::FileOpen || info.m_nShellCommand == CCommandLineInfo::FilePrint)
            Check(!files.isEmpty() && !info.m_strFileName.isEmpty());
        if (info.m_nShellCommand == CCommandLineInfo::FileNew)
            Check(info.m_strFileName.isEmpty());
    }
}

// Items hold no ";" and start with no white space once the text is split;
// there is one per ";" and one more for a non-empty tail; each is part of the text.
void CheckComboText(const QString& text)
{
    const QStringList items = SplitComboText(text);
    if (text.indexOf(u';') <= 0) {
        Check(items == QStringList{text});
        return;
    }
    const qsizetype separators = text.count(u';');
    Check(items.size() == separators || items.size() == separators + 1);
    qsizetype total = 0;
    for (const QString& item : items) {
        Check(!item.contains(u';') && (item.isEmpty() || !item.front().isSpace()) && text.contains(item));
        total += item.size();
    }
    Check(total + separators <= text.size());
}

// Whatever path the template is filled with reads back from it exactly.
void CheckConnectionString(const QString& text)
{
    const QString file = ConnectionString::DatabaseFile(text);
    Check(file.size() <= text.size());
    if (!text.contains(QChar(u'\0')))
        Check(ConnectionString::DatabaseFile(ConnectionString::ForFile(text)) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);
    const QStringList args = text.split(QChar(u'\0'));

    CheckCommandLine(args);
    CheckComboText(text);
    CheckConnectionString(text);

    QStringList history = FindHistory::Clean(args);
    Check(history.size() <= FindHistory::kMaxEntries && !history.contains(QString()) &&
          history.removeDuplicates() == 0);

    const CPhpLintResult lint = ParsePhpLintOutput(text, static_cast<int>(size % 3));
    Check(lint.nLine >= 0);

    CRecoveredText copy;
    if (CRecoveryStore::Decode(bytes, copy)) {
        CRecoveredText again;
        Check(CRecoveryStore::Decode(CRecoveryStore::Encode(copy), again) && again.text == copy.text &&
              again.strPath == copy.strPath && again.strTitle == copy.strTitle);
    }
    return 0;
}
