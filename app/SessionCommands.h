// 设置 → 启动时恢复上次的文件: at the end of a run the open files (each with
// its caret line), the active one and the site are kept; the next start
// opens them again.
#pragma once

#include <QObject>

class IFrameAccess;

class CSessionCommands : public QObject
{
    Q_OBJECT
public:
    // Registers the setting's command on frame, which owns this object.
    explicit CSessionCommands(IFrameAccess* frame);

    // Opens what the last run kept, when the setting is on: files gone since
    // are left out, with one line in the status bar. How many files opened.
    static int Restore(IFrameAccess* frame);

private:
    // Keeps the open files, when the setting is on.
    void Save();

    IFrameAccess* m_pFrame;
};
