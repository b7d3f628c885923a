// 站点 → 预览 and 停止预览: runs the site (or the active file's folder) on
// PHP's development server, opens the active file's address in the browser
// and shows what the server writes in the 服务器输出 pane.
#pragma once

#include <QObject>
#include <QString>

class CPreviewServer;
class CServerOutputPane;
class IFrameAccess;

class CPreviewCommands : public QObject
{
    Q_OBJECT
public:
    // Registers the commands on frame, which owns this object (and the
    // server: it ends with the frame).
    explicit CPreviewCommands(IFrameAccess* frame);

    CPreviewServer* Server() const { return m_pServer; }
    CServerOutputPane* Pane();

    void OnPreview();
    void OnStopPreview();

private:
    void OnReady();
    void OpenAddress(const QString& file);
    void Say(const QString& message);

    IFrameAccess* m_pFrame;
    CPreviewServer* m_pServer;
    CServerOutputPane* m_pPane = nullptr;
    // The file whose address opens once the server answers.
    QString m_strPendingFile;
    bool m_bOpenPending = false;
};
