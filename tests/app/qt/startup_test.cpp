// SPDX-License-Identifier: MIT
// The Qt face over the window's behaviour: its elements carry what the
// behaviour sets, and its own timer drives the tick.

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

#include "demoprogram.h"
#include "startup.h"
#include "windowfixture.h"

namespace veltaro {
namespace {

using StartupTest = testing::WindowFixture;

TEST_F(StartupTest, ShowsTheWindowWithItsElementsSetAndTicksByItsOwnTimer)
{
    ASSERT_TRUE(window.start());

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.txtsign->text(), QStringLiteral("10"));
    EXPECT_EQ(window.lblProcessorName->text(), QStringLiteral(" CPU: AMD Phenom(tm) II X4 940 Processor"));
    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer1->interval(), 200);
    EXPECT_EQ(window.lbltemp->text(), QString()) << "empty until the first tick";

    space.value = 0x37000000;
    QSignalSpy ticks(window.Timer1, &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(2000));

    EXPECT_EQ(window.lbltemp->text(), QStringLiteral(" 55'C"));
}

TEST_F(StartupTest, DriverFailureNeverShowsTheWindow)
{
    space.startResult = false;
    bool visibleDuringMessage = true;
    messages.onShow = [&] { visibleDuringMessage = window.isVisible(); };

    EXPECT_FALSE(window.start());

    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(visibleDuringMessage);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Timer1->isActive());
}

// The text field holds the FamilyCode and has the keyboard focus: what the
// user types must not change it, or every later tick matches no family
// and the readout freezes.
TEST_F(StartupTest, KeysTypedIntoTheWindowLeaveTheFamilyCodeAndTheReadoutLive)
{
    ASSERT_TRUE(window.start());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_EQ(QApplication::focusWidget(), window.txtsign);
    space.value = 0x37000000;
    window.onTimer1Tick();
    ASSERT_EQ(window.lbltemp->text(), QStringLiteral(" 55'C"));

    // Through the window system, as typed: they reach the focus widget.
    QWindow* typedInto = window.windowHandle();
    QTest::keyClick(typedInto, Qt::Key_End);
    QTest::keyClick(typedInto, Qt::Key_Backspace);
    QTest::keyClick(typedInto, Qt::Key_Home);
    QTest::keyClick(typedInto, Qt::Key_Delete);
    QTest::keyClick(typedInto, Qt::Key_X);
    QTest::keyClick(typedInto, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(typedInto, Qt::Key_X, Qt::ControlModifier);

    EXPECT_EQ(window.txtsign->text(), QStringLiteral("10"));
    EXPECT_EQ(QApplication::focusWidget(), window.txtsign) << "the field no longer takes the focus";
    space.value = 0x48000000;
    window.onTimer1Tick();
    EXPECT_EQ(window.lbltemp->text(), QStringLiteral(" 72'C"));
}

// After the driver message the program ends at once: no event loop, no
// window.
TEST_F(StartupTest, RunEndsWithoutTheEventLoopAfterTheDriverMessage)
{
    space.startResult = false;
    bool loopRan = false;
    QTimer firstEvent;
    firstEvent.setSingleShot(true);
    QObject::connect(&firstEvent, &QTimer::timeout, [&] {
        loopRan = true;
        QCoreApplication::quit();
    });
    firstEvent.start(0);

    EXPECT_EQ(runVeltaro(*qApp, services(), QStringLiteral("Veltaro")), 1);

    EXPECT_FALSE(loopRan);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// Resting the pointer on the readout shows its details, also in a window
// that is not the active one; the tooltip's text follows the ticks.
TEST_F(StartupTest, TheReadoutsTooltipShowsItsDetailsAndFollowsTheTicks)
{
    space.registers = {{0x8000C3FC, testing::kFamily10hSignature}, {0x8000C3A4, 0x3A000000}};
    space.value = 0xFFFFFFFF;  // no other node answers
    ASSERT_TRUE(window.start());
    EXPECT_TRUE(window.testAttribute(Qt::WA_AlwaysShowToolTips));
    window.onTimer1Tick();

    const QPoint centre = window.lbltemp->rect().center();
    QHelpEvent rest(QEvent::ToolTip, centre, window.lbltemp->mapToGlobal(centre));
    QApplication::sendEvent(window.lbltemp, &rest);
    EXPECT_EQ(window.lbltemp->toolTip(), QStringLiteral("Node 0: 58'C\nHighest since start: 58'C"));
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), window.lbltemp->toolTip());

    space.registers[0x8000C3A4] = 0x3D000000;
    window.onTimer1Tick();
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Node 0: 61'C\nHighest since start: 61'C"));
    QToolTip::hideText();
}

// The demo as its program runs it: its window's title says that the
// figures are simulated, and it ticks.
TEST(DemoProgramTest, ShowsItsWindowUnderTheDemoTitle)
{
    QString title;
    QString caption;
    QTimer inspect;
    inspect.setInterval(50);
    QObject::connect(&inspect, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* frmmain = qobject_cast<Frmmain*>(widget);
            if (frmmain == nullptr || !frmmain->isVisible() || frmmain->lbltemp->text().isEmpty())
                continue;
            title = frmmain->windowTitle();
            caption = frmmain->lbltemp->text();
            frmmain->close();
        }
    });
    inspect.start();
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    giveUp.start(10000);

    EXPECT_EQ(runDemo(*qApp), 0);

    EXPECT_EQ(title, QStringLiteral("Veltaro (simulated processor)"));
    EXPECT_TRUE(caption.endsWith(QStringLiteral("'C"))) << caption.toStdString();
}

}  // namespace
}  // namespace veltaro
