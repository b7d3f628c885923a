// The document's line breaks, its encoding on disk and reading it again.
#include "QuilletDoc.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "CodeEditCtrl.h"
#include "QuilletView.h"
#include "UserPrompt.h"

namespace {
int EolMode(FileEncoding::LineBreak lineBreak)
{
    using FileEncoding::LineBreak;
    return lineBreak == LineBreak::CrLf ? QsciScintillaBase::SC_EOL_CRLF
           : lineBreak == LineBreak::Cr ? QsciScintillaBase::SC_EOL_CR
                                        : QsciScintillaBase::SC_EOL_LF;
}

// The first line of editor whose text kind cannot carry, and the first
// character of it that is the cause; line -1 when there is none.
std::pair<int, QString> FirstUnencodable(CCodeEditCtrl* editor, FileEncoding::Kind kind)
{
    for (int line = 0; line < editor->lines(); ++line) {
        const QString text = editor->text(line);
        if (FileEncoding::Encode(text.toUtf8(), kind))
            continue;
        for (qsizetype i = 0; i < text.size(); i += text.at(i).isHighSurrogate() ? 2 : 1) {
            const QString ch = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
            if (!FileEncoding::Encode(ch.toUtf8(), kind))
                return {line, ch};
        }
        return {line, QString()};
    }
    return {-1, QString()};
}
} // namespace

void CQuilletDoc::ConvertLineBreaks(FileEncoding::LineBreak lineBreak)
{
    CCodeEditCtrl* editor = Editor();
    if (!editor)
        return;
    // Scintilla converts LF, CR and CR LF alike, and groups the conversion
    // into one undo action.
    editor->SendScintilla(QsciScintillaBase::SCI_CONVERTEOLS, static_cast<unsigned long>(EolMode(lineBreak)));
    m_format.lineBreak = lineBreak;
    ApplyLineBreak();
    emit formatChanged();
}

void CQuilletDoc::FollowLineBreakOfText()
{
    CCodeEditCtrl* editor = Editor();
    if (!editor)
        return;
    // Only the first line end is looked at: the same rule a file's line
    // break is read with, and as cheap on a large text as on a small one.
    const long end = editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, 0UL);
    if (end >= editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH))
        return;   // no line break: the one chosen stays
    using FileEncoding::LineBreak;
    const char first = static_cast<char>(editor->SendScintilla(QsciScintillaBase::SCI_GETCHARAT, end));
    const char second = static_cast<char>(editor->SendScintilla(QsciScintillaBase::SCI_GETCHARAT, end + 1));
    const LineBreak found = first == '\n' ? LineBreak::Lf : second == '\n' ? LineBreak::CrLf : LineBreak::Cr;
    if (found == m_format.lineBreak)
        return;
    m_format.lineBreak = found;
    ApplyLineBreak();
    emit formatChanged();
}

bool CQuilletDoc::SetEncoding(FileEncoding::Kind kind)
{
    using FileEncoding::Kind;
    CCodeEditCtrl* editor = Editor();
    if (!editor || kind == m_format.kind || (kind == Kind::Utf8 && m_format.kind == Kind::Utf8Bom))
        return editor != nullptr;
    // UTF-8 carries every character; GB18030 nearly all. A character it does
    // not carry is never dropped or replaced: the choice is refused.
    if (kind != Kind::Utf8 && !FileEncoding::Encode(editor->WholeText(), kind)) {
        const auto [line, ch] = FirstUnencodable(editor, kind);
        const QString what = ch.isEmpty() ? QString()
                                          : QStringLiteral("“%1”（U+%2）")
                                                .arg(ch, QString::number(ch.toUcs4().value(0), 16)
                                                             .rightJustified(4, u'0')
                                                             .toUpper());
        UserPrompt::ShowMessage(FirstView(),
                                QStringLiteral("文档第 %1 行的字符%2无法用 %3 表示，不能改用 %3 保存。")
                                    .arg(line + 1)
                                    .arg(what, FileEncoding::KindName(kind)));
        return false;
    }
    m_format.kind = kind;
    // The file on disk is not yet in the new encoding: there is a change to save.
    SetModifiedFlag(true);
    ScheduleRecovery();
    emit formatChanged();
    return true;
}

bool CQuilletDoc::Reload()
{
    if (m_strPathName.isEmpty() || !Editor())
        return false;
    const QString name = QDir::toNativeSeparators(m_strPathName);
    if (!QFileInfo(m_strPathName).isFile()) {
        UserPrompt::ShowMessage(FirstView(), QStringLiteral("%1\n\n文件已不存在，无法重新载入。").arg(name));
        return false;
    }
    if (IsModified() &&
        !UserPrompt::AskYesNo(FirstView(),
                              QStringLiteral("%1\n\n重新载入将丢弃尚未保存的改动。是否重新载入？").arg(name)))
        return false;
    return ReadAgainKeepingCaret();
}

bool CQuilletDoc::ReadAgainKeepingCaret()
{
    CCodeEditCtrl* editor = Editor();
    int line = 0, index = 0;
    if (editor)
        editor->getCursorPosition(&line, &index);
    if (editor && OnOpenDocument(m_strPathName)) {
        editor->setCursorPosition(std::min(line, editor->lines() - 1), 0);
        editor->ensureLineVisible(std::min(line, editor->lines() - 1));
        return true;
    }
    UserPrompt::ShowMessage(FirstView(),
                            QStringLiteral("%1\n\n打开文档失败。").arg(QDir::toNativeSeparators(m_strPathName)));
    return false;
}
