// SPDX-License-Identifier: MIT
#include <QGuiApplication>
#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

#include "windowfixture.h"

// On a screen of twice the density the window must show its pictures'
// doubles pixel for pixel, not the 1x pictures enlarged.
namespace veltaro {
namespace {

constexpr int kScale = 2;

// Set while the program starts, before main makes the application object.
// (A test's ENVIRONMENT property cannot carry a second variable through
// the test discovery of this CMake version.)
const bool kDoubleDensity = qputenv("QT_SCALE_FACTOR", "2");

class HighDensityTest : public testing::WindowFixture {
protected:
    QImage grabDevicePixels() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(HighDensityTest, RunsOnADoubleDensityScreen)
{
    ASSERT_TRUE(kDoubleDensity);
    ASSERT_EQ(qApp->devicePixelRatio(), kScale);
    EXPECT_EQ(grabDevicePixels().size(), QSize(307, 168) * kScale);
}

// The opaque square of the double lands on the screen unchanged, and the
// pixels around it are the window face or the shadow, never a blend of
// them with the square's edge.
TEST_F(HighDensityTest, EmblemIsItsDoubleWithSharpEdges)
{
    const QImage picture = QImage(QStringLiteral(":/pictures/emblem@2x.gif")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(picture.size(), QSize(200, 200));
    const QImage screen = grabDevicePixels();
    const QPoint origin = QPoint(192, 16) * kScale;
    const QRect square(origin + QPoint(26, 26), QSize(148, 148));
    const QRgb face = window.palette().color(QPalette::Window).rgb();
    const QRgb shadow = window.Shape1->palette().color(QPalette::Window).rgb();
    int wrong = 0;
    for (int y = square.top() - 1; y <= square.bottom() + 1; ++y) {
        for (int x = square.left() - 1; x <= square.right() + 1; ++x) {
            const QRgb shown = screen.pixel(x, y) | 0xFF000000u;
            const bool ok = square.contains(x, y)
                                ? shown == (picture.pixel(x - origin.x(), y - origin.y()) | 0xFF000000u)
                                : shown == face || shown == shadow;
            if (!ok && ++wrong <= 5)
                ADD_FAILURE() << "device pixel " << x << ", " << y;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(HighDensityTest, WindowIconAndPointerComeFromTheDoubles)
{
    const QImage icon =
        window.windowIcon().pixmap(QSize(32, 32), kScale).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage doubled = QImage(QStringLiteral(":/pictures/veltaro@2x.ico")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(doubled.size(), QSize(64, 64));
    EXPECT_EQ(icon, doubled);

    const QCursor pointer = window.Label3->cursor();
    EXPECT_EQ(pointer.pixmap().size(), QSize(64, 64));
    EXPECT_EQ(pointer.pixmap().devicePixelRatio(), kScale);
    EXPECT_EQ(pointer.hotSpot(), QPoint(16, 16));
}

// The widest readout stays inside its black box, clear of the sunken edge.
TEST_F(HighDensityTest, ReadoutFiguresAreNotClipped)
{
    window.lbltemp->setText(QStringLiteral(" 255'C"));
    const QImage screen = grabDevicePixels();
    const QRect inside(QPoint(41, 33) * kScale, QPoint(154, 77) * kScale - QPoint(1, 1));
    QRect figures;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (screen.pixel(x, y) != qRgb(0, 0, 0))
                figures |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_FALSE(figures.isNull()) << "no figures drawn";
    EXPECT_GT(figures.left(), inside.left());
    EXPECT_LT(figures.right(), inside.right());
    EXPECT_GT(figures.top(), inside.top());
    EXPECT_LT(figures.bottom(), inside.bottom());
}

}  // namespace
}  // namespace veltaro
