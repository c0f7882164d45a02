// SPDX-License-Identifier: MIT
// The window's behaviour on a toolkit-free view: the load handler's order,
// the tick and the contact link. The same tests run on every build.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "deferredregistry.h"
#include "fakeservices.h"
#include "productinfo.h"
#include "recordingview.h"
#ifndef _WIN32
#include "kernelsensorfixture.h"
#include "linuxprocessoridentity.h"
#include "localeguard.h"
#include "sensorstartorder.h"
#endif

namespace veltaro {
namespace {

using testing::kFamily10hSignature;
using testing::kProcessorKey;
using testing::kSystemKey;

std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The behaviour on recording fakes of every service: a family 10h
// northbridge and a registry that describes a processor. `journal` holds
// the view's changes, the driver calls and the message boxes in the order
// they happened.
class FrmmainBehaviourTest : public ::testing::Test, protected testing::FakeServices {
protected:
    FrmmainBehaviourTest()
    {
        view.onChange = [this](const std::string& change) { journal.push_back(change); };
        space.onCall = [this](const FakeConfigSpace::Call& call) { journal.push_back(describe(call)); };
        messages.onShow = [this] { journal.push_back("message " + narrow(messages.shown.back().title)); };
    }

    static std::string describe(const FakeConfigSpace::Call& call)
    {
        char text[48];
        switch (call.kind) {
        case FakeConfigSpace::Call::Kind::Start:
            return "driver start";
        case FakeConfigSpace::Call::Kind::Write:
            std::snprintf(text, sizeof text, "write %X %X", call.address, call.value);
            return text;
        case FakeConfigSpace::Call::Kind::Read:
            std::snprintf(text, sizeof text, "read %X", call.address);
            return text;
        }
        return {};
    }

    testing::RecordingView view;
    FrmmainBehaviour behaviour{view, services()};
    std::vector<std::string> journal;
};

TEST_F(FrmmainBehaviourTest, StartUpRunsItsStepsInOrderAndShowsTheWindowLast)
{
    ASSERT_TRUE(behaviour.start());

    EXPECT_EQ(journal,
              (std::vector<std::string>{"caption ", "txtsign ", "Timer1 off", "driver start", "read 8000C3FC",
                                        "txtsign 10", "Timer1 on", "processor  CPU: AMD Phenom(tm) II X4 940 Processor",
                                        "shown ", "icon --", "icon shown "}));
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_FALSE(registry.calls.empty());
    EXPECT_EQ(registry.calls[0].kind, RecordingRegistry::Call::Kind::Connect);
    EXPECT_EQ(registry.calls[0].text, "testbox") << "connects to the local computer by its name";
}

TEST_F(FrmmainBehaviourTest, DriverFailureShowsOnlyTheDriverMessageAndNeverTheWindow)
{
    view.caption = L" 55'C";
    view.code = L"10";
    space.startResult = false;

    EXPECT_FALSE(behaviour.start());

    EXPECT_EQ(journal, (std::vector<std::string>{"caption ", "txtsign ", "Timer1 off", "driver start",
                                                 "message " + narrow(driverMessageTitle())}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              L"There is a problem with loading IO driver. In a Vista system, please run this program with "
              L"Administrator access level (Right click the mouse on the program icon and choose 'run as "
              L"administrator' in popup menu. or Mail me.");
    EXPECT_EQ(messages.shown[0].title, std::wstring(L"Mailto: ") + product::kContactAddress);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(registry.calls.empty());
}

struct RegistryFailureCase {
    const char* name;
    bool refuseConnection;
    std::wstring message;
};

class RegistryFailureTest : public FrmmainBehaviourTest, public ::testing::WithParamInterface<RegistryFailureCase> {};

// One message box while the timer already runs and before the window
// shows; then the window shows and samples as usual, and the processor
// line keeps its caption.
TEST_P(RegistryFailureTest, ShowsOneBoxThenTheWindowWithoutAProcessorLine)
{
    if (GetParam().refuseConnection)
        registry.connectFailure = 53;
    else
        hardware.setString(kSystemKey, "Identifier", "");

    ASSERT_TRUE(behaviour.start());

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, GetParam().message);
    EXPECT_EQ(messages.shown[0].title, L"Veltaro");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    const std::vector<std::string> end(journal.end() - 5, journal.end());
    EXPECT_EQ(end, (std::vector<std::string>{"Timer1 on", "message Veltaro", "shown ", "icon --", "icon shown "}));

    space.value = 0x3A000000;
    behaviour.onTimer1Tick();
    EXPECT_EQ(view.caption, L" 58'C");
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

struct TickCase {
    const char* name;
    std::uint32_t signature;
    std::uint32_t thermalRegister;
    bool readFails;
    std::wstring caption;
};

class TickTest : public FrmmainBehaviourTest, public ::testing::WithParamInterface<TickCase> {};

// Each tick reads the FamilyCode back from the text field and shows the
// register it names; a read the driver reports as failed shows no reading.
TEST_P(TickTest, ShowsTheCurrentReading)
{
    space.value = GetParam().signature;
    ASSERT_TRUE(behaviour.load());
    view.caption = L" 60'C";
    space.value = GetParam().thermalRegister;
    space.readResult = !GetParam().readFails;

    behaviour.onTimer1Tick();

    EXPECT_EQ(view.caption, GetParam().caption);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Readings, TickTest,
    ::testing::Values(
        TickCase{"family_0Fh", 0x00000F4A, 0x007A0000, false, L" 73'C"},
        TickCase{"family_0Fh_at_40", 0x00000F4A, 0x00590000, false, L" 40'C"},
        TickCase{"family_10h", kFamily10hSignature, 0x37000000, false, L" 55'C"},
        TickCase{"family_11h", 0x00200F31, 0x4A000000, false, L" 74'C"},
        TickCase{"failed_read", kFamily10hSignature, 0x37000000, true, L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// On a Zen the signature register reads 0: the processor's own signature
// names the family, and each tick reads the reported temperature through
// the system management network's index pair.
TEST_F(FrmmainBehaviourTest, AZenIsNamedByItsOwnSignatureAndReadBehindTheRootComplex)
{
    space.value = 0;
    processorIdentity.processor = IdentifiedProcessor{"AuthenticAMD", 0x00A20F10, "AMD Ryzen 5 5600 6-Core Processor"};
    ASSERT_TRUE(behaviour.load());
    EXPECT_EQ(view.code, L"19");
    journal.clear();
    space.registers[0x80000064] = 216u << 21;  // 27 degrees

    behaviour.onTimer1Tick();

    EXPECT_EQ(journal, (std::vector<std::string>{"write 80000060 59800", "read 80000064", "caption  27'C"}));
    EXPECT_FALSE(configSpaceLock.held);
}

// A processor that no source here reads is named in a message of its own
// before the driver is tried, and the window never shows.
TEST_F(FrmmainBehaviourTest, AnUnreadableProcessorIsToldSoBeforeTheDriverIsTried)
{
    const std::pair<IdentifiedProcessor, std::wstring> rows[] = {
        {{"GenuineIntel", 0x000906EA, "Intel(R) Core(TM) i7-8700"}, L"(GenuineIntel, family 6h, model 9Eh)"},
        {{"AuthenticAMD", 0x00C00F20, "AMD processor"}, L"(AuthenticAMD, family 1Bh, model 2h)"},
        {{"HygonGenuine", 0x00100F42, "Hygon processor"}, L"(HygonGenuine, family 10h, model 4h)"},
    };
    for (const auto& [processor, named] : rows) {
        SCOPED_TRACE(processor.vendor);
        journal.clear();
        messages.shown.clear();
        processorIdentity.processor = processor;

        EXPECT_FALSE(behaviour.start());

        EXPECT_EQ(journal, (std::vector<std::string>{"caption ", "txtsign ", "Timer1 off",
                                                     "message " + narrow(driverMessageTitle())}));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, L"Veltaro reads AMD processors of families 0Fh to 1Ah. This processor " +
                                              named + L" is not one of them.");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    }
}

#ifndef _WIN32
// End to end on Linux, with the kernel's driver bound to a family the
// table does not hold: its figure shows; without it, the processor's own
// message, and no way but the kernel's is tried.
TEST_F(FrmmainBehaviourTest, AnUnlistedProcessorShowsTheKernelsFigureOrIsNamed)
{
    const auto noHelper = []() -> std::unique_ptr<ConfigSpace> { throw std::logic_error("the helper was started"); };
    for (const bool kernelReads : {true, false}) {
        SCOPED_TRACE(kernelReads);
        testing::FixtureTree tree;
        testing::writeKernelSensor(tree, kernelReads ? "k10temp" : "", "38875\n", testing::cpuInfoText(0x1B, 0x02, 0));
        messages.shown.clear();
        LinuxProcessorIdentity identity(tree.root() / "proc");
        const auto readings = createLinuxReadingSource({tree.root(), tree.root() / "proc", false, noHelper});
        FrmmainBehaviour onLinux(view,
                                 {*readings, registry, computerName, messages, shell, identity, services().clock});

        EXPECT_EQ(onLinux.start(), kernelReads);
        onLinux.onTimer1Tick();

        EXPECT_EQ(view.caption, kernelReads ? L" 38'C" : L"");
        EXPECT_EQ(onLinux.readoutDetails(),
                  kernelReads ? L"Node 0: 38'C\nHighest since start: 38'C" : L"Highest since start: -");
        ASSERT_EQ(messages.shown.size(), kernelReads ? 0u : 1u);
        if (!kernelReads) {
            EXPECT_NE(messages.shown[0].text.find(L"(AuthenticAMD, family 1Bh, model 2h) is not"), std::string::npos);
        }
    }
}
#endif

TEST_F(FrmmainBehaviourTest, ATickWithoutAFamilyCodeLeavesTheReadoutAndThePorts)
{
    ASSERT_TRUE(behaviour.load());
    view.caption = L" 60'C";
    view.code = L"13";
    const std::size_t callsBefore = space.calls.size();

    behaviour.onTimer1Tick();

    EXPECT_EQ(view.caption, L" 60'C");
    EXPECT_EQ(space.calls.size(), callsBefore);
}

// The idle tick reads node 0's register alone; only while the readout's
// tooltip shows are the other nodes read, and its text handed over.
TEST_F(FrmmainBehaviourTest, OtherNodesAreReadOnlyWhileTheTooltipShows)
{
    space.registers = {{0x8000C3FC, kFamily10hSignature},
                       {0x8000C3A4, 0x3A000000},  // node 0: 58 degrees
                       {0x8000CB00, 0x12031022},
                       {0x8000CBA4, 0x31000000},   // node 1: 49 degrees
                       {0x8000D300, 0xFFFFFFFF}};  // no node 2
    ASSERT_TRUE(behaviour.start());
    behaviour.onTimer1Tick();
    journal.clear();
    behaviour.onTimer1Tick();
    EXPECT_EQ(journal, (std::vector<std::string>{"read 8000C3A4", "caption  58'C"}));
    EXPECT_EQ(view.details, L"");

    view.detailsShown = true;
    behaviour.onTimer1Tick();
    EXPECT_EQ(view.details, L"Node 0: 58'C\nNode 1: 49'C\nHighest since start: 58'C");

    // A tick whose sample took longer than 50 ms reads no details.
    view.details.clear();
    space.onCall = [this](const FakeConfigSpace::Call&) { now += std::chrono::milliseconds(51); };
    behaviour.onTimer1Tick();
    EXPECT_EQ(view.details, L"");
}

// The icon is given the number the caption shows (low readings replaced,
// an empty readout as none) only when it changes, and its tooltip then;
// while the pointer rests on the icon, the details are read once a tick.
TEST_F(FrmmainBehaviourTest, TheNotificationIconFollowsTheShownNumberOnlyWhenItChanges)
{
    ASSERT_TRUE(behaviour.start());
    // The thermal register (0: the read fails), and the icon's changes.
    const std::pair<std::uint32_t, long> steps[] = {{0x3A000000, 1}, {0x3A000000, 0}, {0x20000000, 1},
                                                    {0, 1},          {0, 0},          {0x3A000000, 1}};
    for (const auto& [value, changes] : steps) {
        space.value = value;
        space.readResult = value != 0;
        journal.clear();
        behaviour.onTimer1Tick();
        const std::string shown = view.caption.empty() ? "--" : narrow(view.caption.substr(1, view.caption.size() - 3));
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "icon " + shown), changes) << shown;
        EXPECT_EQ(view.notificationTip.substr(0, view.notificationTip.find(L'\n')),
                  view.caption.empty() ? L"-" : view.caption.substr(1));
    }
    behaviour.onTimer1Tick();
    for (const bool reads : {true, false}) {
        const std::size_t calls = space.calls.size();
        behaviour.onNotificationPointer();
        EXPECT_EQ(space.calls.size() > calls, reads);
    }
}

TEST_F(FrmmainBehaviourTest, ClickOnTheAuthorHandsTheMailAddressToTheDesktop)
{
    ASSERT_TRUE(behaviour.start());
    shell.result = false;  // and a failed hand-over stays silent

    behaviour.onLabel3Click();

    ASSERT_EQ(shell.requests.size(), 1u);
    const RecordingShell::Request& request = shell.requests[0];
    EXPECT_EQ(request.owner, view.handle);
    EXPECT_EQ(request.operation, "Open");
    // The blank after the colon is part of the text.
    EXPECT_EQ(request.file, "mailto: " + narrow(product::kContactAddress));
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.directory, narrow(view.folder));
    EXPECT_EQ(request.showCommand, 1);
    EXPECT_TRUE(messages.shown.empty());
}

// The system registry is built only when the identification stage first
// reads it: a start that ends at the driver message never builds it.
TEST_F(FrmmainBehaviourTest, BuildsADeferredRegistryOnlyWhenIdentifying)
{
    for (const bool driverStarts : {false, true}) {
        SCOPED_TRACE(driverStarts);
        int built = 0;
        DeferredRegistry deferred([&] {
            ++built;
            return std::make_unique<RecordingRegistry>(hardware);
        });
        testing::RecordingView other;
        FrmmainBehaviour otherBehaviour(other, {readings, deferred, computerName, messages, shell, processorIdentity,
                                                std::chrono::steady_clock::now});
        space.startResult = driverStarts;

        EXPECT_EQ(otherBehaviour.start(), driverStarts);
        EXPECT_EQ(built, driverStarts ? 1 : 0);
        if (driverStarts) {
            EXPECT_EQ(other.processorLine, L" CPU: AMD Phenom(tm) II X4 940 Processor");
        }
    }
}

#ifndef _WIN32
TEST_F(FrmmainBehaviourTest, ProcessorNameWithNonAsciiLettersReachesTheWindowIntact)
{
    testing::LocaleGuard utf8("C.UTF-8");
    ASSERT_TRUE(utf8.active());
    // "Prozessor für Temperaturmessung – Ω" in UTF-8, as the system hands it over.
    hardware.setString(kProcessorKey, "ProcessorNameString",
                       "Prozessor f\xC3\xBCr Temperaturmessung \xE2\x80\x93 \xCE\xA9");

    ASSERT_TRUE(behaviour.start());

    EXPECT_EQ(view.processorLine, L" CPU: Prozessor f\u00FCr Temperaturmessung \u2013 \u03A9");
}
#endif

}  // namespace
}  // namespace veltaro
