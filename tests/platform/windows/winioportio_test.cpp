// SPDX-License-Identifier: MIT
// The port driver adapter with the stand-in "WinIo.dll" that lies beside
// this program, loaded by the system as the real library would be.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <vector>

#include "configspacelock.h"
#include "configspacesampling.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "pciconfigread.h"
#include "temperaturesampler.h"
#include "winioconfigspace.h"
#include "winioportio.h"

namespace veltaro {
namespace {

// Nothing else uses the configuration space here.
UncontendedConfigSpaceLock uncontended;

struct PortCall {
    bool write;
    WORD port;
    DWORD value;
    BYTE size;

    friend bool operator==(const PortCall&, const PortCall&) = default;
};

void PrintTo(const PortCall& call, std::ostream* out)
{
    *out << (call.write ? "write " : "read ") << std::hex << call.port << " " << call.value << " size "
         << int{call.size};
}

// The stand-in's own controls, reached through the module the adapter
// loaded; the test never loads the library itself.
class DriverControls {
public:
    explicit DriverControls(HMODULE library)
        : m_library(library)
    {
    }

    void reset() { function<void(__stdcall*)()>("WinIoDoubleReset")(); }
    void setStartResult(bool started) { function<void(__stdcall*)(bool)>("WinIoDoubleSetStartResult")(started); }
    void setRegister(BYTE offset, DWORD value)
    {
        function<void(__stdcall*)(BYTE, DWORD)>("WinIoDoubleSetRegister")(offset, value);
    }
    void setIndexedRegister(const IndexedRegister& pair, DWORD value)
    {
        function<void(__stdcall*)(DWORD, DWORD, DWORD, DWORD)>("WinIoDoubleSetIndexedRegister")(
            pair.indexAddress, pair.dataAddress, pair.index, value);
    }
    DWORD startCount() { return function<DWORD(__stdcall*)()>("WinIoDoubleStartCount")(); }
    std::vector<PortCall> portCalls()
    {
        const auto call = function<bool(__stdcall*)(DWORD, bool*, WORD*, DWORD*, BYTE*)>("WinIoDoublePortCall");
        std::vector<PortCall> calls;
        PortCall next{};
        while (call(static_cast<DWORD>(calls.size()), &next.write, &next.port, &next.value, &next.size))
            calls.push_back(next);
        return calls;
    }

private:
    template <typename Function> Function function(const char* name)
    {
        const auto found = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(m_library, name)));
        if (found == nullptr)
            throw std::runtime_error(std::string("the stand-in lacks ") + name);
        return found;
    }

    HMODULE m_library;
};

class WinIoPortIoTest : public ::testing::Test {
protected:
    // Starts the adapter and resets the stand-in that it loaded. The reset
    // comes after the start it made, so the start itself is not in the log.
    DriverControls startedDriver()
    {
        EXPECT_TRUE(m_portIo.InitializeWinIo());
        HMODULE library = ::GetModuleHandleA("WinIo.dll");
        if (library == nullptr)
            throw std::runtime_error("WinIo.dll is not loaded after the start");
        DriverControls controls(library);
        controls.reset();
        return controls;
    }

    WinIoPortIo m_portIo;
};

// The driver is started once and lives until the process ends: the
// adapter never releases it.
TEST_F(WinIoPortIoTest, LoadsTheLibraryAtTheFirstStartAndKeepsItForTheProcess)
{
    {
        WinIoPortIo portIo;
        EXPECT_EQ(::GetModuleHandleA("WinIo.dll"), nullptr) << "loaded before the first start";
        ASSERT_TRUE(portIo.InitializeWinIo());
        EXPECT_NE(::GetModuleHandleA("WinIo.dll"), nullptr);
    }
    EXPECT_NE(::GetModuleHandleA("WinIo.dll"), nullptr) << "released with the adapter";
}

TEST_F(WinIoPortIoTest, PassesTheLibrarysStartResultThrough)
{
    DriverControls driver = startedDriver();
    driver.setStartResult(false);
    EXPECT_FALSE(m_portIo.InitializeWinIo());
    driver.setStartResult(true);
    EXPECT_TRUE(m_portIo.InitializeWinIo());
    EXPECT_EQ(driver.startCount(), 2u);
}

TEST_F(WinIoPortIoTest, PassesPortCallsStraightThrough)
{
    DriverControls driver = startedDriver();
    driver.setRegister(0xA4, 0x3712ABCD);

    EXPECT_TRUE(m_portIo.SetPortVal(0x0CF8, 0x8000C3A4, 4));
    std::uint32_t value = 0;
    EXPECT_TRUE(m_portIo.GetPortVal(0x0CFC, value, 4));
    EXPECT_EQ(value, 0x3712ABCDu);
    // The stand-in only knows 4-byte configuration accesses: its refusal
    // comes back, and the out value keeps what it held.
    EXPECT_FALSE(m_portIo.SetPortVal(0x0080, 0x55, 1));
    value = 0x1234;
    EXPECT_FALSE(m_portIo.GetPortVal(0x0CFC, value, 2));
    EXPECT_EQ(value, 0x1234u);

    EXPECT_EQ(driver.portCalls(), (std::vector<PortCall>{{true, 0x0CF8, 0x8000C3A4, 4},
                                                         {false, 0x0CFC, 0x3712ABCD, 4},
                                                         {true, 0x0080, 0x55, 1},
                                                         {false, 0x0CFC, 0x1234, 2}}));
}

// The whole sensor path through the library: family detection from the
// signature register (or, where it reads 0, from what the processor says
// of itself), then one temperature sample, from a northbridge register or
// through an index/data pair, the index written through the ports too.
struct SensorCase {
    const char* name;
    DWORD signature;
    std::optional<IdentifiedProcessor> processor;
    ThermalRegister where;
    DWORD thermalRegister;
    const wchar_t* familyCode;
    const wchar_t* caption;
};

void PrintTo(const SensorCase& row, std::ostream* out)
{
    *out << row.name;
}

// The port calls of one read of the register.
std::vector<PortCall> readOf(ThermalRegister where, DWORD value)
{
    const auto indexed = [&](const IndexedRegister& pair) {
        return std::vector<PortCall>{{true, 0x0CF8, pair.indexAddress, 4},
                                     {true, 0x0CFC, pair.index, 4},
                                     {true, 0x0CF8, pair.dataAddress, 4},
                                     {false, 0x0CFC, value, 4}};
    };
    switch (where) {
    case ThermalRegister::ThermtripStatus:
        return {{true, 0x0CF8, kThermtripStatusRegister, 4}, {false, 0x0CFC, value, 4}};
    case ThermalRegister::ReportedTemperature:
        return {{true, 0x0CF8, kReportedTemperatureRegister, 4}, {false, 0x0CFC, value, 4}};
    case ThermalRegister::RootComplexReportedTemperature:
        return indexed(kRootComplexReportedTemperature);
    case ThermalRegister::SmnReportedTemperature:
        return indexed(kSmnReportedTemperature);
    }
    return {};
}

constexpr ThermalRegister kEveryThermalRegister[] = {
    ThermalRegister::ThermtripStatus, ThermalRegister::ReportedTemperature,
    ThermalRegister::RootComplexReportedTemperature, ThermalRegister::SmnReportedTemperature};

void setThermalRegister(DriverControls& driver, ThermalRegister where, DWORD value)
{
    switch (where) {
    case ThermalRegister::ThermtripStatus:
        return driver.setRegister(0xE4, value);
    case ThermalRegister::ReportedTemperature:
        return driver.setRegister(0xA4, value);
    case ThermalRegister::RootComplexReportedTemperature:
        return driver.setIndexedRegister(kRootComplexReportedTemperature, value);
    case ThermalRegister::SmnReportedTemperature:
        return driver.setIndexedRegister(kSmnReportedTemperature, value);
    }
}

class WinIoSensorPathTest : public WinIoPortIoTest, public ::testing::WithParamInterface<SensorCase> {};

TEST_P(WinIoSensorPathTest, DetectsTheFamilyAndSamplesTheTemperature)
{
    const SensorCase& row = GetParam();
    WinIoConfigSpace configSpace;
    ASSERT_TRUE(configSpace.start());
    DriverControls driver = startedDriver();
    driver.setRegister(0xFC, row.signature);
    // Every register a processor could be read at holds a figure of its
    // own, so that a read of the wrong one shows.
    for (const ThermalRegister where : kEveryThermalRegister)
        setThermalRegister(driver, where, 0x00100000);
    setThermalRegister(driver, row.where, row.thermalRegister);

    FakeProcessorIdentity identity(std::nullopt, row.processor);
    const DetectedFamily family = testing::detectThroughConfigSpace(configSpace, uncontended, identity);
    EXPECT_EQ(family.familyCode, row.familyCode);
    testing::ConfigSpaceSampler sampler(configSpace, uncontended);
    sampler.setProcessor(family);
    EXPECT_EQ(sampler.sample(family.familyCode), std::wstring(row.caption));

    const std::vector<PortCall> calls = driver.portCalls();
    const std::vector<PortCall> expected = readOf(row.where, row.thermalRegister);
    ASSERT_EQ(calls.size(), 2 + expected.size());
    EXPECT_EQ(calls[0], (PortCall{true, 0x0CF8, kSignatureRegister, 4}));
    EXPECT_EQ(std::vector<PortCall>(calls.begin() + 2, calls.end()), expected);
}

const IdentifiedProcessor kRyzen5950X{"AuthenticAMD", 0x00A20F10, "AMD Ryzen 9 5950X 16-Core Processor"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, WinIoSensorPathTest,
    ::testing::Values(
        SensorCase{"family_0Fh", 0x00000F4A, {}, ThermalRegister::ThermtripStatus, 0x007A0000, L"f", L" 73'C"},
        SensorCase{"family_10h", 0x00100F42, {}, ThermalRegister::ReportedTemperature, 0x37E00000, L"10", L" 55'C"},
        SensorCase{"family_11h", 0x00200F31, {}, ThermalRegister::ReportedTemperature, 0x4A000000, L"11", L" 74'C"},
        // 420 eighths: 52.5 degrees.
        SensorCase{"family_15h_model_02h", 0x00600F20, {}, ThermalRegister::ReportedTemperature, 0x34800000, L"15",
                   L" 52'C"},
        // 489 eighths: 61.125 degrees, behind the root complex's pair.
        SensorCase{"family_15h_model_60h", 0x00660F01, {}, ThermalRegister::RootComplexReportedTemperature,
                   0x3D200000, L"15", L" 61'C"},
        // The signature register reads 0; 367 eighths: 45.875 degrees.
        SensorCase{"family_19h", 0, kRyzen5950X, ThermalRegister::SmnReportedTemperature, 0x2DE00000, L"19",
                   L" 45'C"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
