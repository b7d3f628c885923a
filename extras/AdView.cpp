#include "AdView.h"

#include <algorithm>

#include <QFile>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>

#include <memory>

#include "DesktopLink.h"
#include "core/LocalPage.h"

namespace {

bool IsLocal(const QUrl& url)
{
    return url.scheme() == u"qrc" || url.isLocalFile();
}

QString LocalPath(const QUrl& url)
{
    return url.scheme() == u"qrc" ? u':' + url.path() : url.toLocalFile();
}

// One transparent pixel, shown for a picture the pane does not load.
QImage BlankPicture()
{
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    return blank;
}

// A page or picture of the program's own, or a local file: the program's
// resources are in memory, a file is read as LocalPage reads it.
LocalPage::Result ReadLocal(const QUrl& url, qint64 maxBytes)
{
    if (url.scheme() != u"qrc")
        return LocalPage::Read(url.toLocalFile(), maxBytes);
    LocalPage::Result result;
    QFile file(LocalPath(url));
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // Asking for the limit itself would set aside the whole limit (2 MB and
    // more) for a page of a few kilobytes, at every reload.
    result.bytes = file.read(std::min(file.size(), maxBytes) + 1);
    result.status = result.bytes.size() > maxBytes ? LocalPage::Result::TooLarge : LocalPage::Result::Read;
    if (result.status != LocalPage::Result::Read)
        result.bytes.clear();
    return result;
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
    connect(m_pTimeout, &QTimer::timeout, this, [this] {
        if (m_bFileReading) {
            ++m_nFileRead;   // whatever the reader brings later is dropped
            m_bFileReading = false;
            ShowErrorPage(m_strFileAddress, tr("读取文件超时。"));
            return;
        }
        AbortPending(tr("连接超时。"));
    });
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
    // A file still being read is superseded as well.
    ++m_nFileRead;
    m_bFileReading = false;
    m_pTimeout->stop();
    const QUrl url(address);
    if (url.isLocalFile()) {
        ReadFilePage(url.toLocalFile(), address);
        return;
    }
    if (IsLocal(url)) {
        ShowLocalPage(ReadLocal(url, kMaxPageBytes), address);
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

void CAdView::ReadFilePage(const QString& path, const QString& address)
{
    // A file may sit on a slow or hung file system: it is read on a thread of
    // its own, and the pane shows the result when it comes, if it still wants it.
    const quint64 read = ++m_nFileRead;
    m_bFileReading = true;
    m_strFileAddress = address;
    auto result = std::make_shared<LocalPage::Result>();
    QThread* reader = QThread::create([path, result] { *result = LocalPage::Read(path, kMaxPageBytes); });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, read, result, address] {
        if (read != m_nFileRead)
            return;   // superseded, or given up on
        m_bFileReading = false;
        m_pTimeout->stop();
        ShowLocalPage(*result, address);
    });
    reader->start();
    m_pTimeout->start(m_nTimeoutMs);
}

void CAdView::ShowLocalPage(const LocalPage::Result& page, const QString& address)
{
    if (page.status == LocalPage::Result::Read)
        ShowPage(page.bytes, address);
    else
        ShowErrorPage(address, page.status == LocalPage::Result::TooLarge ? tr("页面太大。") : tr("页面无法打开。"));
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
    // Whatever is refused is answered all the same, with an empty picture or
    // style sheet: given nothing, the document would open the named file
    // itself, a device or a FIFO included, and read it whole or wait on it.
    const QVariant refused = type == QTextDocument::ImageResource ? QVariant(BlankPicture()) : QVariant(QByteArray(""));
    const QUrl page(m_strLocation);
    const QUrl target = page.resolved(name);
    const bool sameKind = (target.scheme() == u"qrc" && page.scheme() == u"qrc") ||
                          (target.isLocalFile() && page.isLocalFile());
    if (!sameKind)
        return refused;
    // Read here, on the interface thread, as the document asks for it; only a
    // regular file is, which neither blocks nor runs on.
    const LocalPage::Result read = ReadLocal(target, kMaxPageBytes);
    if (read.status != LocalPage::Result::Read)
        return refused;
    if (type != QTextDocument::ImageResource)
        return read.bytes;
    // A picture that does not decode would be looked for again by name.
    QImage picture;
    return picture.loadFromData(read.bytes) ? QVariant(picture) : refused;
}
