// The caption button's look follows the real mouse: flat, raised under the cursor,
// sunken while pressed; the painted border and icon follow the look.
#include "CaptionButton.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

namespace {

using Look = CCaptionButton::Look;

struct ButtonHost {
    ButtonHost()
    {
        host.setGeometry(60, 60, 120, 60);
        button = new CCaptionButton(&host);
        button->setGeometry(20, 20, 12, 12);
        other = new QWidget(&host);
        other->setGeometry(70, 20, 30, 30);
        host.show();
        exposed = QTest::qWaitForWindowExposed(&host);
    }

    QRgb Pixel(int x, int y) const { return button->grab().toImage().pixel(x, y); }

    QWidget host;
    CCaptionButton* button = nullptr;
    QWidget* other = nullptr;
    bool exposed = false;
};

QRgb Rgb(const QColor& c)
{
    return c.rgb();
}

// An icon that is transparent but for one red pixel at (3, 3).
QIcon MarkerIcon()
{
    QImage image(13, 13, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(3, 3, Qt::red);
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

TEST(CaptionButton, FlatUntilHoveredRaisedOnHoverSunkenWhilePressed)
{
    ButtonHost h;
    ASSERT_TRUE(h.exposed);
    CCaptionButton* b = h.button;
    const QPalette& pal = b->palette();
    QSignalSpy clicked(b, &QAbstractButton::clicked);

    QTest::mouseMove(h.other, QPoint(5, 5));
    EXPECT_EQ(b->CurrentLook(), Look::Flat);
    EXPECT_EQ(h.Pixel(0, 0), Rgb(pal.button().color()));
    EXPECT_EQ(h.Pixel(11, 11), Rgb(pal.button().color()));

    QTest::mouseMove(b, QPoint(6, 6));
    EXPECT_TRUE(b->IsHot());
    EXPECT_EQ(b->CurrentLook(), Look::Raised);
    EXPECT_EQ(h.Pixel(0, 0), Rgb(pal.light().color()));
    EXPECT_EQ(h.Pixel(11, 11), Rgb(pal.dark().color()));

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_TRUE(b->IsHeld());
    EXPECT_EQ(b->CurrentLook(), Look::Sunken);
    EXPECT_EQ(h.Pixel(0, 0), Rgb(pal.dark().color()));
    EXPECT_EQ(h.Pixel(11, 11), Rgb(pal.light().color()));

    // Held but dragged off: no hover border, not pushed in.
    QTest::mouseMove(b, QPoint(40, 6));
    EXPECT_TRUE(b->IsHeld());
    EXPECT_EQ(b->CurrentLook(), Look::Flat);
    EXPECT_EQ(h.Pixel(0, 0), Rgb(pal.button().color()));

    // Back over it, still held: pushed in again.
    QTest::mouseMove(b, QPoint(5, 5));
    EXPECT_EQ(b->CurrentLook(), Look::Sunken);

    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(b->IsHeld());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(b->CurrentLook(), Look::Raised);

    QTest::mouseMove(h.other, QPoint(5, 5));
    EXPECT_FALSE(b->IsHot());
    EXPECT_EQ(b->CurrentLook(), Look::Flat);
    EXPECT_EQ(h.Pixel(0, 0), Rgb(pal.button().color()));
}

TEST(CaptionButton, ReleasedOffTheButtonIsNoClick)
{
    ButtonHost h;
    ASSERT_TRUE(h.exposed);
    QSignalSpy clicked(h.button, &QAbstractButton::clicked);
    QTest::mouseMove(h.button, QPoint(6, 6));
    QTest::mousePress(h.button, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseMove(h.button, QPoint(60, 6));
    QTest::mouseRelease(h.button, Qt::LeftButton, {}, QPoint(60, 6));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(h.button->IsHeld());
    EXPECT_EQ(h.button->CurrentLook(), Look::Flat);
}

TEST(CaptionButton, ButtonThatIsNotFlatAlwaysShowsItsBorder)
{
    ButtonHost h;
    ASSERT_TRUE(h.exposed);
    h.button->SetFlat(false);
    const QPalette& pal = h.button->palette();
    QTest::mouseMove(h.other, QPoint(5, 5));
    EXPECT_EQ(h.button->CurrentLook(), Look::Raised);
    EXPECT_EQ(h.Pixel(0, 0), Rgb(pal.light().color()));
    EXPECT_EQ(h.Pixel(11, 11), Rgb(pal.shadow().color()));
    QTest::mousePress(h.button, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(h.button->CurrentLook(), Look::Sunken);
    EXPECT_EQ(h.Pixel(0, 0), Rgb(pal.shadow().color()));
    QTest::mouseRelease(h.button, Qt::LeftButton, {}, QPoint(6, 6));
}

TEST(CaptionButton, IconMovesOnePixelWhilePushedIn)
{
    ButtonHost h;
    ASSERT_TRUE(h.exposed);
    h.button->SetIcon(MarkerIcon(), 13, 13);
    EXPECT_EQ(h.button->IconSize(), QSize(13, 13));
    EXPECT_EQ(h.Pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_NE(h.Pixel(4, 4), qRgb(255, 0, 0));
    QTest::mouseMove(h.button, QPoint(6, 6));
    QTest::mousePress(h.button, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(h.Pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_NE(h.Pixel(3, 3), qRgb(255, 0, 0));
    QTest::mouseRelease(h.button, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(h.Pixel(3, 3), qRgb(255, 0, 0));
}
