// The Qt face over the window's behaviour: its elements carry what the
// behaviour sets, and its own timer drives the tick.

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

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

    ports.dataPortValue = 0x37000000;
    QSignalSpy ticks(window.Timer1, &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(2000));

    EXPECT_EQ(window.lbltemp->text(), QStringLiteral(" 55'C"));
}

TEST_F(StartupTest, DriverFailureNeverShowsTheWindow)
{
    ports.initializeResult = false;
    bool visibleDuringMessage = true;
    messages.onShow = [&] { visibleDuringMessage = window.isVisible(); };

    EXPECT_FALSE(window.start());

    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(visibleDuringMessage);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Timer1->isActive());
}

}  // namespace
}  // namespace veltaro
