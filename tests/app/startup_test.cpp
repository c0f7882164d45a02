#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "deferredregistry.h"
#include "localeguard.h"
#include "productinfo.h"
#include "startup.h"
#include "windowfixture.h"

namespace veltaro {
namespace {

const std::wstring kDriverMessage =
    L"There is a problem with loading IO driver. In a Vista system, please run this program with Administrator "
    L"access level (Right click the mouse on the program icon and choose 'run as administrator' in popup menu. or "
    L"Mail me.";

using StartupTest = testing::WindowFixture;

TEST_F(StartupTest, DriverFailureShowsOnlyTheDriverMessageAndNeverTheWindow)
{
    ports.initializeResult = false;
    bool windowVisibleDuringMessage = true;
    messages.onShow = [&] { windowVisibleDuringMessage = window.isVisible(); };

    EXPECT_FALSE(startUp(window));

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kDriverMessage);
    EXPECT_EQ(messages.shown[0].title, std::wstring(L"Mailto: ") + product::kContactAddress);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(windowVisibleDuringMessage);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Timer1->isActive());
    ASSERT_EQ(ports.calls.size(), 1u) << "no register is read after a failed start";
    EXPECT_EQ(ports.calls[0].kind, FakePortIo::Call::Kind::Initialize);
}

TEST_F(StartupTest, ClearsTheReadoutAndFamilyCodeBeforeStartingTheDriver)
{
    window.lbltemp->setText(" 55'C");
    window.txtsign->setText("10");
    window.Timer1->start();
    ports.initializeResult = false;
    ports.onCall = [&](const FakePortIo::Call&) {
        EXPECT_EQ(window.lbltemp->text(), QString());
        EXPECT_EQ(window.txtsign->text(), QString());
        EXPECT_FALSE(window.Timer1->isActive());
    };

    EXPECT_FALSE(window.load());
    EXPECT_FALSE(window.Timer1->isActive());
}

TEST_F(StartupTest, WritesTheFamilyCodeBeforeEnablingTheTimer)
{
    ports.dataPortValue = 0x00200F31;  // family 11h signature
    std::vector<bool> timerActiveAtCall;
    ports.onCall = [&](const FakePortIo::Call&) { timerActiveAtCall.push_back(window.Timer1->isActive()); };

    EXPECT_TRUE(startUp(window));

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.txtsign->text(), QStringLiteral("11"));
    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer1->interval(), 200);
    ASSERT_EQ(ports.calls.size(), 3u) << "start, then one signature read";
    EXPECT_EQ(ports.calls[1].value, 0x8000C3FCu);
    EXPECT_EQ(timerActiveAtCall, (std::vector<bool>{false, false, false}));
}

TEST_F(StartupTest, ReadoutStaysEmptyUntilTheFirstTick)
{
    ports.dataPortValue = 0x00100F42;
    ASSERT_TRUE(startUp(window));
    EXPECT_EQ(window.lbltemp->text(), QString());

    ports.dataPortValue = 0x37000000;
    QSignalSpy ticks(window.Timer1, &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(2000));

    EXPECT_EQ(window.lbltemp->text(), QStringLiteral(" 55'C"));
}

TEST_F(StartupTest, EachTickShowsTheCurrentReading)
{
    ports.dataPortValue = 0x00000F4A;  // family 0Fh signature
    ASSERT_TRUE(window.load());
    ASSERT_EQ(window.txtsign->text(), QStringLiteral("f"));

    const std::pair<std::uint32_t, QString> readings[] = {
        {0x007A0000, " 73'C"}, {0x00590000, " 40'C"}, {0x00640000, " 51'C"}};
    for (const auto& [registerValue, caption] : readings) {
        ports.dataPortValue = registerValue;
        window.onTimer1Tick();
        EXPECT_EQ(window.lbltemp->text(), caption);
    }
}

TEST_F(StartupTest, FailedTickReadShowsNoReading)
{
    ports.dataPortValue = 0x00100F42;
    ASSERT_TRUE(window.load());
    ports.dataPortValue = 0x37000000;
    window.onTimer1Tick();
    ASSERT_EQ(window.lbltemp->text(), QStringLiteral(" 55'C"));

    ports.getResult = false;
    window.onTimer1Tick();

    EXPECT_EQ(window.lbltemp->text(), QString());
}

// Counts the paint events an element receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* element) { element->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Five ticks a second for as long as the program runs: a reading that has
// not changed must not cost a repaint of the readout.
TEST_F(StartupTest, AnUnchangedReadingRepaintsNothing)
{
    ports.dataPortValue = 0x00100F42;
    ASSERT_TRUE(startUp(window));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.Timer1->stop();
    ports.dataPortValue = 0x37000000;
    PaintCounter counter(window.lbltemp);
    const auto tick = [&] {
        window.onTimer1Tick();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    };

    tick();
    ASSERT_EQ(window.lbltemp->text(), QStringLiteral(" 55'C"));
    const int paintsOfTheFirstReading = counter.paints;
    EXPECT_GE(paintsOfTheFirstReading, 1);
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(counter.paints, paintsOfTheFirstReading);

    ports.dataPortValue = 0x38000000;
    tick();
    EXPECT_EQ(window.lbltemp->text(), QStringLiteral(" 56'C"));
    EXPECT_GT(counter.paints, paintsOfTheFirstReading);
}

// The family code is read back from the text field on every tick, so a
// text that is no code leaves the readout alone.
TEST_F(StartupTest, TickWithoutAFamilyCodeLeavesTheReadoutAndThePorts)
{
    ports.dataPortValue = 0x00100F42;
    ASSERT_TRUE(window.load());
    window.lbltemp->setText(" 60'C");
    window.txtsign->setText("12");
    const std::size_t callsBefore = ports.calls.size();

    window.onTimer1Tick();

    EXPECT_EQ(window.lbltemp->text(), QStringLiteral(" 60'C"));
    EXPECT_EQ(ports.calls.size(), callsBefore);
}

// The identification stage, the last step of start-up.

TEST_F(StartupTest, ShowsTheProcessorNameWhenAllIsWell)
{
    ASSERT_TRUE(startUp(window));

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window.lblProcessorName->text(), QStringLiteral(" CPU: AMD Phenom(tm) II X4 940 Processor"));
    ASSERT_FALSE(registry.calls.empty());
    EXPECT_EQ(registry.calls[0].text, "testbox") << "connects to the local computer by its name";
}

TEST_F(StartupTest, DriverFailureLeavesTheRegistryAlone)
{
    ports.initializeResult = false;
    EXPECT_FALSE(startUp(window));
    EXPECT_TRUE(registry.calls.empty());
    EXPECT_EQ(window.lblProcessorName->text(), QString());
}

// The system registry is built only when the identification stage first
// reads it: a start that ends at the driver message never builds it.
TEST_F(StartupTest, BuildsADeferredRegistryOnlyWhenIdentifying)
{
    for (const bool driverStarts : {false, true}) {
        SCOPED_TRACE(driverStarts);
        int built = 0;
        DeferredRegistry deferred([&] {
            ++built;
            return std::make_unique<RecordingRegistry>(hardware);
        });
        Frmmain other({ports, deferred, computerName, messages, shell}, QStringLiteral("Veltaro"));
        ports.initializeResult = driverStarts;
        EXPECT_EQ(built, 0);

        EXPECT_EQ(startUp(other), driverStarts);
        EXPECT_EQ(built, driverStarts ? 1 : 0);
        if (driverStarts) {
            EXPECT_EQ(other.lblProcessorName->text(), QStringLiteral(" CPU: AMD Phenom(tm) II X4 940 Processor"));
        }
    }
}

struct RegistryFailureCase {
    const char* name;
    bool refuseConnection;
    std::wstring message;
};

class RegistryFailureTest : public testing::WindowFixture, public ::testing::WithParamInterface<RegistryFailureCase> {};

// One message box, before the window appears; then the window shows and
// samples as usual, and the processor line stays empty.
TEST_P(RegistryFailureTest, ShowsOneBoxThenTheWindowWithoutAProcessorName)
{
    if (GetParam().refuseConnection)
        registry.connectFailure = 53;
    else
        hardware.setString(testing::kSystemKey, "Identifier", "");
    bool windowVisibleDuringMessage = true;
    bool timerRunningDuringMessage = false;
    messages.onShow = [&] {
        windowVisibleDuringMessage = window.isVisible();
        timerRunningDuringMessage = window.Timer1->isActive();
    };

    ASSERT_TRUE(startUp(window));

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, GetParam().message);
    EXPECT_EQ(messages.shown[0].title, L"Veltaro");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_FALSE(windowVisibleDuringMessage);
    EXPECT_TRUE(timerRunningDuringMessage) << "sampling is enabled before identification";
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.lblProcessorName->text(), QString());

    ports.dataPortValue = 0x3A000000;
    window.onTimer1Tick();
    EXPECT_EQ(window.lbltemp->text(), QStringLiteral(" 58'C"));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Failures, RegistryFailureTest,
    ::testing::Values(
        RegistryFailureCase{"connection_refused", true, L"Could not connect to registry on testbox"},
        // The processor name exists, but without the system identifier the
        // registry counts as unreadable.
        RegistryFailureCase{"identifier_empty", false,
                            L"You do not have sufficient permission, or there is an access error."}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(StartupTest, ProcessorNameWithNonAsciiLettersReachesTheLabelIntact)
{
    testing::LocaleGuard utf8("C.UTF-8");
    ASSERT_TRUE(utf8.active());
    // "Prozessor für Temperaturmessung – Ω" in UTF-8, as the system hands it over.
    hardware.setString(testing::kProcessorKey, "ProcessorNameString",
                       "Prozessor f\xC3\xBCr Temperaturmessung \xE2\x80\x93 \xCE\xA9");

    ASSERT_TRUE(startUp(window));

    EXPECT_EQ(window.lblProcessorName->text(),
              QString::fromUtf8(" CPU: Prozessor f\xC3\xBCr Temperaturmessung \xE2\x80\x93 \xCE\xA9"));
}

}  // namespace
}  // namespace veltaro
