// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "windowfixture.h"

namespace veltaro {
namespace {

class ContactLinkTest : public testing::WindowFixture {
protected:
    void SetUp() override { ASSERT_TRUE(window.start()); }
};

// The face gives the shell its native handle and the program's folder.
TEST_F(ContactLinkTest, ClickOnTheAuthorHandsTheLinkToTheDesktopWithTheWindowsHandle)
{
    QTest::mouseClick(window.Label3, Qt::LeftButton);

    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].owner, static_cast<WindowHandle>(window.winId()));
    EXPECT_EQ(shell.requests[0].file.rfind("mailto: ", 0), 0u);
    EXPECT_EQ(shell.requests[0].directory, QCoreApplication::applicationDirPath().toStdString());
}

TEST_F(ContactLinkTest, EachClickOpensTheLinkOnce)
{
    QTest::mouseClick(window.Label3, Qt::LeftButton);
    QTest::mouseClick(window.Label3, Qt::LeftButton);
    EXPECT_EQ(shell.requests.size(), 2u);
}

TEST_F(ContactLinkTest, OtherClicksOpenNothing)
{
    QTest::mouseClick(window.Label3, Qt::RightButton);
    QTest::mouseClick(window.Label8, Qt::LeftButton);
    QTest::mouseClick(window.lbltemp, Qt::LeftButton);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(shell.requests.empty());
}

}  // namespace
}  // namespace veltaro
