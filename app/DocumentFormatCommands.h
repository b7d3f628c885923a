// The active document's 重新载入, 换行符 and 编码 commands of the 文件 menu,
// and the status bar pane that names its encoding and line break.
#pragma once

#include <QObject>
#include <functional>

class CQuilletDoc;
class IFrameAccess;

class CDocumentFormatCommands : public QObject
{
    Q_OBJECT
public:
    // Registers the commands on frame, which owns this object.
    explicit CDocumentFormatCommands(IFrameAccess* frame);

private:
    CQuilletDoc* ActiveDoc() const;
    // Runs what on the active document, then gives the focus back to its editor.
    void OnActiveDoc(const std::function<void(CQuilletDoc*)>& what);
    // Shows the active document's format in the status bar, once the
    // current event is handled.
    void RequestShowFormat();
    void ShowFormat();

    IFrameAccess* m_pFrame;
    bool m_bShowPending = false;
};
