// The small web pane across the top of every editor view: shows a page and
// reports the address it is showing.
#pragma once

#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

class CAdView : public QTextBrowser
{
    Q_OBJECT
public:
    explicit CAdView(QWidget* parent = nullptr);

    // Loads address: pages of the program (qrc:, file:) at once, web pages
    // through the network. A failed load shows an error page of ours.
    void Navigate(const QString& address);
    // The address of the page shown now.
    QString LocationURL() const { return m_strLocation; }

    // The address of the error page shown for url. Like the error pages of
    // the platform's browser, its address names "system32" after its first
    // character, which is what the editor view's height rule looks for.
    static QString ErrorPageAddress(const QString& url);

signals:
    void navigated(const QString& location);

private:
    void OnReplyFinished(QNetworkReply* reply);
    void ShowErrorPage(const QString& url, const QString& reason);

    QNetworkAccessManager* m_pNetwork = nullptr;
    QNetworkReply* m_pPending = nullptr;
    QString m_strLocation;
};
