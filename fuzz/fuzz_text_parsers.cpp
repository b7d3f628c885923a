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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);

    const QStringList args = text.split(QChar(u'\0'));
    const CCommandLineInfo info = CCommandLineInfo::Parse(args);
    (void)info;

    for (const QString& item : SplitComboText(text))
        if (item.size() > text.size())
            std::abort();

    const QString file = ConnectionString::DatabaseFile(text);
    if (file.size() > text.size())
        std::abort();

    if (FindHistory::Clean(args).size() > FindHistory::kMaxEntries)
        std::abort();

    const CPhpLintResult lint = ParsePhpLintOutput(text, static_cast<int>(size % 3));
    if (lint.nLine < 0)
        std::abort();

    CRecoveredText copy;
    if (CRecoveryStore::Decode(bytes, copy)) {
        CRecoveredText again;
        if (!CRecoveryStore::Decode(CRecoveryStore::Encode(copy), again) || again.text != copy.text ||
            again.strPath != copy.strPath)
            std::abort();
    }
    return 0;
}
