#include "AdView.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringDecoder>
#include <QTimer>

#include "DesktopLink.h"

namespace {

bool IsLocal(const QUrl& url)
{
    return url.scheme() == u"qrc" || url.isLocalFile();
}

QString LocalPath(const QUrl& url)
{
    return url.scheme() == u"qrc" ? u':' + url.path() : url.toLocalFile();
}

} // namespace

CAdView::CAdView(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setFrameShape(QFrame::Box);
    // The editor below keeps the keyboard: the pane is read by eye and mouse.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(this, &QTextBrowser::anchorClicked, this, &CAdView::OnLinkClicked);

    m_pTimeout = new QTimer(this);
    m_pTimeout->setSingleShot(true);
    connect(m_pTimeout, &QTimer::timeout, this, [this] { AbortPending(tr("连接超时。")); });
}

QString CAdView::ErrorPageAddress(const QString& url)
{
    return QStringLiteral("res://system32/neterror.htm#") + url;
}

void CAdView::Navigate(const QString& address)
{
    if (m_pPending) {
        // Superseded: its finishing must not show anything.
        QNetworkReply* old = std::exchange(m_pPending, nullptr);
        old->abort();
    }
    m_pTimeout->stop();
    const QUrl url(address);
    if (IsLocal(url)) {
        QFile file(LocalPath(url));
        if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPageBytes) {
            ShowErrorPage(address, tr("页面无法打开。"));
            return;
        }
        ShowPage(file.readAll(), address);
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
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(m_nTimeoutMs);
    m_strFailure.clear();
    m_pPending = m_pNetwork->get(request);
    QNetworkReply* reply = m_pPending;
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64 total) {
        if (reply == m_pPending && (received > kMaxPageBytes || total > kMaxPageBytes))
            AbortPending(tr("页面太大。"));
    });
    m_pTimeout->start(m_nTimeoutMs);
}

void CAdView::AbortPending(const QString& reason)
{
    if (!m_pPending)
        return;
    m_strFailure = reason;
    m_pPending->abort();   // finishes the reply, which shows the error page
}

void CAdView::OnReplyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != m_pPending)
        return;   // an older load, superseded by a newer one
    m_pPending = nullptr;
    m_pTimeout->stop();
    const QString address = reply->request().url().toString();
    if (!m_strFailure.isEmpty() || reply->error() != QNetworkReply::NoError) {
        ShowErrorPage(address, m_strFailure.isEmpty() ? reply->errorString() : m_strFailure);
        return;
    }
    const QByteArray bytes = reply->read(kMaxPageBytes + 1);
    if (bytes.size() > kMaxPageBytes) {
        ShowErrorPage(address, tr("页面太大。"));
        return;
    }
    ShowPage(bytes, reply->url().toString());
}

void CAdView::ShowPage(const QByteArray& bytes, const QString& location)
{
    // The page's own charset declaration when it has one, else UTF-8.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    m_strLocation = location;
    setHtml(decoder.decode(bytes));
    emit navigated(m_strLocation);
}

void CAdView::ShowErrorPage(const QString& url, const QString& reason)
{
    m_strLocation = ErrorPageAddress(url);
    setHtml(QStringLiteral("<p><b>%1</b></p><p>%2</p>")
                .arg(tr("无法显示该网页").toHtmlEscaped(), reason.toHtmlEscaped()));
    emit navigated(m_strLocation);
}

void CAdView::OnLinkClicked(const QUrl& url)
{
    const QUrl target = QUrl(m_strLocation).resolved(url);
    // Only web addresses leave the pane; a link within the page goes nowhere.
    if ((target.scheme() == u"http" || target.scheme() == u"https") && !url.toString().startsWith(u'#'))
        DesktopLink::Open(target.toString());
}

QVariant CAdView::loadResource(int type, const QUrl& name)
{
    Q_UNUSED(type);
    const QUrl page(m_strLocation);
    const QUrl target = page.resolved(name);
    const bool sameKind = (target.scheme() == u"qrc" && page.scheme() == u"qrc") ||
                          (target.isLocalFile() && page.isLocalFile());
    if (!sameKind)
        return {};
    QFile file(LocalPath(target));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPageBytes)
        return {};
    return file.readAll();
}
