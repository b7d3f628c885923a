// The small web pane across the top of every editor view: shows a page and
// reports the address it is showing. Links open in the desktop's browser;
// the pane never takes the keyboard focus and runs no script.
#pragma once

#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
namespace LocalPage { struct Result; }

class CAdView : public QTextBrowser
{
    Q_OBJECT
public:
    // A load that has not finished by then shows the error page.
    static constexpr int kTimeoutMs = 5000;
    void SetTimeout(int ms) { m_nTimeoutMs = ms; }
    // The most a page may weigh; a larger one shows the error page.
    static constexpr qint64 kMaxPageBytes = 2 * 1024 * 1024;

    explicit CAdView(QWidget* parent = nullptr);

    // Loads address: pages of the program (qrc:) at once, files (file:) on a
    // thread of their own, web pages through the network. A failed load shows
    // an error page of ours.
    void Navigate(const QString& address);
    // The address of the page shown now.
    QString LocationURL() const { return m_strLocation; }
    // True while a web page is being fetched or a file read.
    bool IsLoading() const { return m_pPending != nullptr || m_bFileReading; }

    // The address of the error page shown for url. Like the error pages of
    // the platform's browser, its address names "system32" after its first
    // character, which is what the editor view's height rule looks for.
    static QString ErrorPageAddress(const QString& url);

signals:
    void navigated(const QString& location);

protected:
    // Images and style sheets only from the program's own pages, or from
    // files beside a file page; nothing from the network or elsewhere.
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void OnReplyFinished(QNetworkReply* reply);
    void OnLinkClicked(const QUrl& url);
    void AbortPending(const QString& reason);
    void ReadFilePage(const QString& path, const QString& address);
    void ShowLocalPage(const LocalPage::Result& page, const QString& address);
    void ShowPage(const QByteArray& bytes, const QString& location);
    void ShowErrorPage(const QString& url, const QString& reason);

    QNetworkAccessManager* m_pNetwork = nullptr;
    QNetworkReply* m_pPending = nullptr;
    QTimer* m_pTimeout = nullptr;
    QString m_strFailure;   // why the pending load was cut short
    QString m_strLocation;
    int m_nTimeoutMs = kTimeoutMs;
    // The file read now, counted so that a superseded read shows nothing.
    quint64 m_nFileRead = 0;
    bool m_bFileReading = false;
    QString m_strFileAddress;
};
