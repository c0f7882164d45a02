// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QImage>
#include <QTest>

#include <set>

#include <gtest/gtest.h>

#include "windowfixture.h"

namespace veltaro {
namespace {

class FrmmainLayoutTest : public testing::WindowFixture {
protected:
    QImage grabClientArea() { return window.grab().toImage(); }
    QRgb face() const { return window.palette().color(QPalette::Window).rgb(); }
    QRgb shadow() const { return window.Shape1->palette().color(QPalette::Window).rgb(); }
};

struct ElementCase {
    const char* name;
    QRect geometry;
};

class ElementGeometryTest : public FrmmainLayoutTest, public ::testing::WithParamInterface<ElementCase> {};

// Positions and sizes in pixels of the 96 DPI design.
TEST_P(ElementGeometryTest, SitsWhereTheDesignPutsIt)
{
    auto* element = window.findChild<QWidget*>(GetParam().name);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->geometry(), GetParam().geometry);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Elements, ElementGeometryTest,
    ::testing::Values(
        ElementCase{"txtsign", QRect(224, 168, 65, 19)},
        ElementCase{"Label3", QRect(56, 104, 81, 25)},
        ElementCase{"Image1", QRect(192, 16, 100, 100)},
        ElementCase{"lblProcessorName", QRect(-1, 151, 313, 21)},
        ElementCase{"lbltemp", QRect(40, 32, 115, 46)},
        ElementCase{"Shape1", QRect(216, 40, 73, 73)}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(FrmmainLayoutTest, WindowHasAFixedClientAreaAndOnlyACloseButton)
{
    EXPECT_EQ(window.minimumSize(), QSize(307, 168));
    EXPECT_EQ(window.maximumSize(), QSize(307, 168));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(FrmmainLayoutTest, Label8FitsItsOneLineAndKeepsItsCorner)
{
    EXPECT_EQ(window.Label8->pos(), QPoint(32, 128));
    EXPECT_EQ(window.Label8->height(), 13);
    EXPECT_NEAR(window.Label8->width(), window.Label8->fontMetrics().horizontalAdvance(window.Label8->text()), 1);
}

// The author's label keeps its designed size, so the name must fit it.
TEST_F(FrmmainLayoutTest, AuthorNameFitsItsFixedLabel)
{
    const QFontMetrics metrics = window.Label3->fontMetrics();
    EXPECT_LE(metrics.horizontalAdvance(window.Label3->text()), window.Label3->width());
    EXPECT_LE(metrics.height(), window.Label3->height());
}

TEST_F(FrmmainLayoutTest, FontsKeepTheirSizeInDesignPixels)
{
    const QFont readout = window.lbltemp->font();
    EXPECT_EQ(readout.pixelSize(), 37);  // 27.75 pt at 96 DPI
    EXPECT_TRUE(readout.bold());
    EXPECT_EQ(readout.family(), QStringLiteral("Times New Roman"));

    const QFont author = window.Label3->font();
    EXPECT_EQ(author.pixelSize(), 16);  // 12 pt
    EXPECT_TRUE(author.bold());
    EXPECT_TRUE(author.underline());

    EXPECT_EQ(window.Label8->fontMetrics().height(), 13);
    // Whichever face the system gives for it, it keeps the design's size.
    EXPECT_EQ(QFontInfo(readout).pixelSize(), 37);
    EXPECT_EQ(QFontInfo(author).pixelSize(), 16);
}

// Texts from the machine (the processor's name) and the author's texts are
// shown as they are: a label that took them for markup would restyle the
// window, or load the files an image tag names.
TEST_F(FrmmainLayoutTest, LabelsShowMarkupLiterally)
{
    const QString markup = QStringLiteral("<b>AMD</b> <img src=\"/etc/hostname\"> &amp; <i>x</i>");
    for (QLabel* label :
         std::initializer_list<QLabel*>{window.lblProcessorName, window.lbltemp, window.Label3, window.Label8}) {
        SCOPED_TRACE(label->objectName().toStdString());
        label->setText(markup);
        EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(markup));
    }
}

TEST_F(FrmmainLayoutTest, OnlyTheTextFieldTakesTheFocus)
{
    EXPECT_NE(window.txtsign->focusPolicy(), Qt::NoFocus);
    for (QWidget* label : {static_cast<QWidget*>(window.lbltemp), static_cast<QWidget*>(window.lblProcessorName),
                           static_cast<QWidget*>(window.Label8), static_cast<QWidget*>(window.Label3)})
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();
}

// The Menu key or Shift+F10 asks the focused field for its menu, whose
// Copy would hand out the family code.
TEST_F(FrmmainLayoutTest, TextFieldOpensNoMenu)
{
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QCoreApplication::sendEvent(window.txtsign, &request);
    QWidget* menu = QApplication::activePopupWidget();
    EXPECT_EQ(menu, nullptr);
    if (menu != nullptr)
        menu->close();
}

TEST_F(FrmmainLayoutTest, ReadoutIsABlackBoxWithASunkenEdge)
{
    const QImage image = grabClientArea();
    EXPECT_NE(image.pixel(40, 32), face()) << "top-left edge";
    EXPECT_NE(image.pixel(40, 32), qRgb(0, 0, 0));
    EXPECT_NE(image.pixel(154, 77), qRgb(0, 0, 0)) << "bottom-right edge";
    for (const QPoint inside : {QPoint(41, 33), QPoint(153, 76), QPoint(41, 76), QPoint(153, 33), QPoint(97, 55)})
        EXPECT_EQ(image.pixel(inside), qRgb(0, 0, 0)) << inside.x() << "," << inside.y();
}

// The figures are centred in the box whatever their count.
TEST_F(FrmmainLayoutTest, ReadoutFiguresAreGreenAndCentred)
{
    for (const QString& caption : {QStringLiteral(" 40'C"), QStringLiteral(" 255'C")}) {
        SCOPED_TRACE(caption.toStdString());
        window.lbltemp->setText(caption);
        const QImage image = grabClientArea();
        int left = image.width();
        int right = -1;
        for (int y = 33; y < 77; ++y) {
            for (int x = 41; x < 154; ++x) {
                if (image.pixel(x, y) == qRgb(0, 255, 0)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        ASSERT_GE(right, 0) << "no green figures";
        // The leading blank takes its width on the left of the figures.
        const int blank = window.lbltemp->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        const int leftMargin = left - 41;
        const int rightMargin = 153 - right;
        EXPECT_NEAR(leftMargin - blank, rightMargin, 4);
    }
}

// The rows of ink of the Windows face at the same texts, measured on
// docs/screenshot-windows.png (client area from 3, 22 of the picture): a
// Windows label draws its text from the top of its box. The faces' fonts
// differ, so the rows may too, by a little.
TEST_F(FrmmainLayoutTest, LabelTextSitsAtTheHeightTheWindowsFaceDrawsIt)
{
    window.lbltemp->setText(QStringLiteral(" 51'C"));
    window.lblProcessorName->setText(QStringLiteral("CPU: Simulated AMD Family 10h Processor"));
    const QImage image = grabClientArea();
    const struct {
        QLabel* label;
        int firstRow;
        int lastRow;
    } rows[] = {{window.lbltemp, 42, 65}, {window.Label3, 107, 118}, {window.lblProcessorName, 154, 164}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label->objectName().toStdString());
        const QRect inside = row.label->contentsRect().translated(row.label->pos()) & image.rect();
        const QRgb background = row.label->palette().color(QPalette::Window).rgb();
        std::set<int> inked;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                if (image.pixel(x, y) != background)
                    inked.insert(y);
            }
        }
        ASSERT_FALSE(inked.empty());
        EXPECT_NEAR(*inked.begin(), row.firstRow, 2);
        EXPECT_NEAR(*inked.rbegin(), row.lastRow, 2);
    }
}

TEST_F(FrmmainLayoutTest, ProcessorBarRunsAlongTheWholeBottomEdge)
{
    const QImage image = grabClientArea();
    const QRgb cyan = qRgb(192, 255, 255);
    for (int x = 0; x < 307; ++x) {
        ASSERT_NE(image.pixel(x, 151), cyan) << "top border line at x " << x;
        ASSERT_NE(image.pixel(x, 151), face()) << "top border line at x " << x;
        for (int y = 152; y < 168; ++y)
            ASSERT_EQ(image.pixel(x, y), cyan) << x << "," << y;
    }
    EXPECT_EQ(image.pixel(150, 150), face());
}

TEST_F(FrmmainLayoutTest, TextFieldCountsAsVisibleButIsWhollyOutOfSight)
{
    window.show();
    EXPECT_TRUE(window.txtsign->isVisible());
    EXPECT_GE(window.txtsign->geometry().top(), window.height());
}

TEST_F(FrmmainLayoutTest, EmblemShowsTheFaceThroughItsMarginAndTheShadowBeyondIt)
{
    const QImage image = grabClientArea();
    ASSERT_NE(face(), shadow());
    // Transparent margin of the emblem, left of and above its square.
    for (const QPoint margin : {QPoint(193, 17), QPoint(204, 60), QPoint(240, 28), QPoint(200, 110)})
        EXPECT_EQ(image.pixel(margin), face()) << margin.x() << "," << margin.y();
    // The band right of the square (x 279..288) and below it (y 103..112).
    for (const QPoint band : {QPoint(279, 40), QPoint(288, 100), QPoint(283, 112), QPoint(216, 103), QPoint(250, 112)})
        EXPECT_EQ(image.pixel(band), shadow()) << band.x() << "," << band.y();
    // The emblem's opaque square covers the shadow's upper left part, and
    // beyond the shadow the face shows again.
    EXPECT_NE(image.pixel(240, 60), shadow());
    EXPECT_NE(image.pixel(278, 102), shadow());
    EXPECT_EQ(image.pixel(289, 60), face());
    EXPECT_EQ(image.pixel(250, 113), face());
}

TEST_F(FrmmainLayoutTest, EnvelopePointerOverTheAuthorOnly)
{
    const QCursor pointer = window.Label3->cursor();
    EXPECT_EQ(pointer.shape(), Qt::BitmapCursor);
    EXPECT_EQ(pointer.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(pointer.hotSpot(), QPoint(16, 16));
    for (QWidget* element : {static_cast<QWidget*>(&window), static_cast<QWidget*>(window.lbltemp),
                             static_cast<QWidget*>(window.Label8), static_cast<QWidget*>(window.Image1)})
        EXPECT_EQ(element->cursor().shape(), Qt::ArrowCursor) << element->objectName().toStdString();
}

}  // namespace
}  // namespace veltaro
