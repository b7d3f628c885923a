// The editing comforts' commands: comment toggle, moving and duplicating
// lines (编辑), the document tabs and the display switches (查看), auto-close
// and the tab width (设置), with their settings read at start.
#pragma once

#include <QObject>

class CDocumentTabs;
class IFrameAccess;

class CEditingCommands : public QObject
{
    Q_OBJECT
public:
    explicit CEditingCommands(IFrameAccess* frame);

    CDocumentTabs* DocumentTabs() const { return m_pTabs; }

private:
    IFrameAccess* m_pFrame;
    CDocumentTabs* m_pTabs;
};
