#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "productinfo.h"
#include "startup.h"
#include "windowfixture.h"

namespace veltaro {
namespace {

class ContactLinkTest : public testing::WindowFixture {
protected:
    void SetUp() override { ASSERT_TRUE(startUp(window)); }
};

TEST_F(ContactLinkTest, ClickOnTheAuthorHandsTheMailAddressToTheDesktop)
{
    QTest::mouseClick(window.Label3, Qt::LeftButton);

    ASSERT_EQ(shell.requests.size(), 1u);
    const RecordingShell::Request& request = shell.requests[0];
    EXPECT_EQ(request.owner, static_cast<WindowHandle>(window.winId()));
    EXPECT_EQ(request.operation, "Open");
    // The blank after the colon is part of the text.
    std::string expectedFile = "mailto: ";
    for (const wchar_t* c = product::kContactAddress; *c != 0; ++c)
        expectedFile += static_cast<char>(*c);
    EXPECT_EQ(request.file, expectedFile);
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.directory, QCoreApplication::applicationDirPath().toStdString());
    EXPECT_EQ(request.showCommand, 1);
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

TEST_F(ContactLinkTest, AFailedHandOverIsSilent)
{
    shell.result = false;
    QTest::mouseClick(window.Label3, Qt::LeftButton);
    EXPECT_EQ(shell.requests.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace veltaro
