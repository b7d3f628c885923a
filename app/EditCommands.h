// The frame's editing commands beyond cut, copy and paste: redo, select all,
// find and replace, go to line, the PHP syntax check and the indentation setting.
#pragma once

#include <QObject>

#include "core/PhpLintResult.h"

class CFindReplaceDlg;
class CPhpSyntaxCheck;
class IFrameAccess;
class QsciScintilla;

class CEditCommands : public QObject
{
    Q_OBJECT
public:
    // Registers the commands on frame, which owns this object.
    explicit CEditCommands(IFrameAccess* frame);

    // The find and replace dialog, made when first asked for.
    CFindReplaceDlg* FindDialog();
    CPhpSyntaxCheck* SyntaxCheck() const { return m_pSyntaxCheck; }

private:
    void OnGoToLine();
    void OnCheckSyntax();
    void ShowStatus(const QString& text);
    // The syntax check's verdict in the message pane until the text changes,
    // and as the tooltip of the error line's mark.
    void ShowVerdict(QsciScintilla* editor, const CPhpLintResult& result);

    IFrameAccess* m_pFrame;
    CFindReplaceDlg* m_pFindDlg = nullptr;
    CPhpSyntaxCheck* m_pSyntaxCheck;
    QMetaObject::Connection m_verdictWatch;
};
