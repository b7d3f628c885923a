#include "AdView.h"

#include <QDesktopServices>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>

CAdView::CAdView(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setFrameShape(QFrame::Box);
    // Links in the pane open in the desktop's browser, not in the pane.
    connect(this, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
        QDesktopServices::openUrl(url);
    });
}

QString CAdView::ErrorPageAddress(const QString& url)
{
    return QStringLiteral("res://system32/neterror.htm#") + url;
}

void CAdView::Navigate(const QString& address)
{
    const QUrl url(address);
    if (m_pPending) {
        m_pPending->abort();
        m_pPending = nullptr;
    }
    if (url.scheme() == u"qrc" || url.isLocalFile()) {
        const QString path = url.scheme() == u"qrc" ? u':' + url.path() : url.toLocalFile();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ShowErrorPage(address, tr("页面无法打开。"));
            return;
        }
        setHtml(QString::fromUtf8(file.readAll()));
        m_strLocation = address;
        emit navigated(m_strLocation);
        return;
    }
    if (url.scheme() != u"http" && url.scheme() != u"https") {
        ShowErrorPage(address, tr("无法识别的地址。"));
        return;
    }
    if (!m_pNetwork) {
        m_pNetwork = new QNetworkAccessManager(this);
        connect(m_pNetwork, &QNetworkAccessManager::finished, this, &CAdView::OnReplyFinished);
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(15000);
    m_pPending = m_pNetwork->get(request);
}

void CAdView::OnReplyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != m_pPending)
        return;   // an older load, superseded by a newer one
    m_pPending = nullptr;
    const QString address = reply->request().url().toString();
    if (reply->error() != QNetworkReply::NoError) {
        ShowErrorPage(address, reply->errorString());
        return;
    }
    setHtml(QString::fromUtf8(reply->readAll()));
    m_strLocation = reply->url().toString();
    emit navigated(m_strLocation);
}

void CAdView::ShowErrorPage(const QString& url, const QString& reason)
{
    setHtml(QStringLiteral("<p><b>%1</b></p><p>%2</p>")
                .arg(tr("无法显示该网页").toHtmlEscaped(), reason.toHtmlEscaped()));
    m_strLocation = ErrorPageAddress(url);
    emit navigated(m_strLocation);
}
