// The frame's editing commands beyond cut, copy and paste: redo, select all,
// find and replace, go to line, the PHP syntax check and the indentation setting.
#pragma once

#include <QObject>

class CFindReplaceDlg;
class CPhpSyntaxCheck;
class IFrameAccess;

class CEditCommands : public QObject
{
    Q_OBJECT
public:
    // Registers the commands on frame, which owns this object.
    explicit CEditCommands(IFrameAccess* frame);

    CFindReplaceDlg* FindDialog() const { return m_pFindDlg; }
    CPhpSyntaxCheck* SyntaxCheck() const { return m_pSyntaxCheck; }

private:
    void OnGoToLine();
    void OnCheckSyntax();
    void ShowStatus(const QString& text);

    IFrameAccess* m_pFrame;
    CFindReplaceDlg* m_pFindDlg;
    CPhpSyntaxCheck* m_pSyntaxCheck;
};
