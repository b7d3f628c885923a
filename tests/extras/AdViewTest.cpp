// The ad pane against a web server on 127.0.0.1: the address it reports after
// a page and after a failure, the bounds on a load, links, and the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <sys/stat.h>

#include "AdView.h"
#include "CannedHttpServer.h"
#include "RecordingLauncher.h"
#include "TestSupport.h"

namespace {

bool Loaded(CAdView* pane, const QString& location)
{
    return QuilletTest::WaitFor([&] { return !pane->IsLoading() && pane->LocationURL() == location; }, 60000);
}

} // namespace

TEST(AdViewTest, ReportsTheAddressOfAServedPageAndShowsItInItsCharset)
{
    const struct { QByteArray body; QByteArray type; QString text; } cases[] = {
        {"<html><body><p>Quillet \xe5\xb9\xbf\xe5\x91\x8a</p><script>document.write('ran')</script></body></html>",
         "text/html; charset=utf-8", QStringLiteral("Quillet 广告")},
        {"<html><head><meta charset=\"gb18030\"></head><body>\xb9\xe3\xb8\xe6 page</body></html>",
         "text/html", QStringLiteral("广告 page")},
    };
    for (const auto& c : cases) {
        CCannedHttpServer server(CCannedHttpServer::Page(c.body, c.type));
        ASSERT_TRUE(server.isListening());
        CAdView pane;
        QSignalSpy navigated(&pane, &CAdView::navigated);
        pane.Navigate(server.Url());
        ASSERT_TRUE(Loaded(&pane, server.Url())) << pane.LocationURL().toStdString();
        EXPECT_EQ(navigated.size(), 1);
        EXPECT_EQ(server.requests, 1);
        EXPECT_TRUE(pane.toPlainText().contains(c.text)) << pane.toPlainText().toStdString();
        EXPECT_FALSE(pane.toPlainText().contains(QStringLiteral("ran")));
    }
}

TEST(AdViewTest, FailedLoadsShowTheLocalErrorPageAndReportItsAddress)
{
    CCannedHttpServer notFound("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nConnection: close\r\n\r\ngone");
    CCannedHttpServer tooLarge("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                               QByteArray::number(CAdView::kMaxPageBytes + 1) + "\r\n\r\n<html>");
    CCannedHttpServer silent{QByteArray()};   // takes the connection, never answers
    CRefusedPort refused;
    ASSERT_TRUE(refused.IsBound());
    const QString addresses[] = {refused.Url(), notFound.Url(), tooLarge.Url(),
                                 silent.Url(), QStringLiteral("qrc:/no/such/page.html"),
                                 QStringLiteral("gopher://127.0.0.1/")};
    for (const QString& address : addresses) {
        SCOPED_TRACE(address.toStdString());
        CAdView pane;
        // Only the silent server may fail by the clock; every other load
        // fails for its own reason long before a timeout could end it.
        pane.SetTimeout(address == silent.Url() ? 50 : 10 * 60 * 1000);
        pane.Navigate(address);
        ASSERT_TRUE(Loaded(&pane, CAdView::ErrorPageAddress(address))) << pane.LocationURL().toStdString();
        // The editor view's height rule reads this.
        EXPECT_GT(pane.LocationURL().toLower().indexOf(QLatin1String("system32")), 0);
        EXPECT_TRUE(pane.toPlainText().contains(QStringLiteral("无法显示该网页")));
        if (address != silent.Url())
            EXPECT_FALSE(pane.toPlainText().contains(QStringLiteral("连接超时")));
    }
}

TEST(AdViewTest, ANewerAddressReplacesAPendingLoad)
{
    CCannedHttpServer silent{QByteArray()};
    CAdView pane;
    QSignalSpy navigated(&pane, &CAdView::navigated);
    pane.Navigate(silent.Url());
    ASSERT_TRUE(pane.IsLoading());
    pane.Navigate(QStringLiteral("qrc:/quillet/ad/index.html"));
    EXPECT_FALSE(pane.IsLoading());
    QCoreApplication::processEvents();
    EXPECT_EQ(pane.LocationURL(), "qrc:/quillet/ad/index.html");
    EXPECT_EQ(navigated.size(), 1) << "the dropped load showed its error page";
}

TEST(AdViewTest, LinksOpenInTheDesktopBrowserAndThePaneNeverTakesTheFocus)
{
    CRecordingLauncher desktop;
    CCannedHttpServer server(CCannedHttpServer::Page(
        "<html><body><p><a href=\"/more.html?x=1\">MORELINK</a> <a href=\"#top\">TOP</a></p></body></html>"));
    QWidget window;
    window.resize(500, 200);
    auto* editor = new QLineEdit(&window);
    editor->setGeometry(0, 120, 500, 30);
    auto* pane = new CAdView(&window);
    pane->setGeometry(0, 0, 500, 110);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    editor->setFocus();
    ASSERT_TRUE(QuilletTest::WaitFor([editor] { return editor->hasFocus(); }));

    pane->Navigate(server.Url());
    ASSERT_TRUE(Loaded(pane, server.Url()));
    const auto clickOn = [pane](const QString& word) {
        QTextCursor cursor = pane->document()->find(word);
        EXPECT_FALSE(cursor.isNull()) << word.toStdString();
        cursor.setPosition(cursor.selectionStart() + 2);
        const QPoint at = pane->cursorRect(cursor).center();
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    };
    clickOn(QStringLiteral("MORELINK"));
    EXPECT_EQ(desktop.opened, QStringList{server.Url(QStringLiteral("/more.html?x=1"))});
    clickOn(QStringLiteral("TOP"));
    EXPECT_EQ(desktop.opened.size(), 1) << "a link within the page left it";
    EXPECT_EQ(pane->LocationURL(), server.Url()) << "the pane followed the link";
    EXPECT_EQ(server.requests, 1);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(pane->focusPolicy(), Qt::NoFocus);
}

TEST(AdViewTest, LocalFilesAreReadOffTheInterfaceThreadOnlyWhenRegularAndWithinTheCap)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.html"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString page = dir.filePath(QStringLiteral("page.html"));
    // The style sheet and pictures name a device that never ends and a FIFO
    // nobody writes: the page shows without them.
    ASSERT_TRUE(QuilletTest::WriteFile(page, "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"/dev/zero\"></head>"
                                             "<body>FILE AD<img src=\"/dev/zero\"><img src=\"" +
                                                 QFile::encodeName(fifo) + "\"><img src=\"fifo.html\"></body></html>"));
    const QString large = dir.filePath(QStringLiteral("large.html"));
    ASSERT_TRUE(QuilletTest::WriteFile(large, QByteArray(CAdView::kMaxPageBytes + 1, ' ')));
    for (const QString& path : {QStringLiteral("/dev/zero"), fifo, large, dir.path(), page}) {
        SCOPED_TRACE(path.toStdString());
        const QString address = QUrl::fromLocalFile(path).toString();
        CAdView pane;
        pane.Navigate(address);
        EXPECT_TRUE(pane.IsLoading()) << "read on the interface thread";
        const QString expected = path == page ? address : CAdView::ErrorPageAddress(address);
        ASSERT_TRUE(Loaded(&pane, expected)) << pane.LocationURL().toStdString();
        EXPECT_EQ(pane.toPlainText().contains(QStringLiteral("FILE AD")), path == page);
        pane.resize(400, 100);
        pane.grab();   // lays the page out, pictures and all
    }
}
