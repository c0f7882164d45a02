// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "configspacelock.h"
#include "fakeportio.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "hwmonportio.h"
#include "kernelsensorfixture.h"
#include "pciconfigread.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

// Nothing else uses the configuration ports here.
UncontendedConfigSpace uncontended;

using testing::cpuInfoText;
using testing::FixtureTree;
using testing::kHwmonFolder;
using testing::kProcFolder;
using testing::writeKernelSensor;

bool isReplacement(const std::optional<std::wstring>& caption)
{
    return caption == L" 40'C" || caption == L" 41'C";
}

std::string captionText(const std::optional<std::wstring>& caption)
{
    return caption ? std::string(caption->begin(), caption->end()) : "none";
}

HwmonPortIo driverOn(const FixtureTree& tree, std::optional<std::uint8_t> brandIndex = std::nullopt)
{
    return HwmonPortIo(tree.root(), tree.root() / kProcFolder, std::make_unique<FakeProcessorIdentity>(brandIndex));
}

// k10temp reports (bits 31..21 of 0xA4) * 125 millidegrees. For every one
// of the 2048 readings the rebuilt register holds it again, and the
// program shows its whole degrees (bits 31..24), or 40/41 below 40.
TEST(HwmonPortIoTest, EveryElevenBitReadingOfFamilies10hAnd11hShowsItsWholeDegrees)
{
    for (const unsigned family : {16u, 17u}) {
        SCOPED_TRACE(family);
        FixtureTree tree;
        writeKernelSensor(tree, "k10temp", "0\n", cpuInfoText(family, 4, 2));
        HwmonPortIo driver = driverOn(tree);
        ASSERT_TRUE(driver.InitializeWinIo());
        FakeProcessorIdentity brand;
        const std::wstring familyCode = detectFamily(driver, uncontended, brand).familyCode;
        ASSERT_EQ(familyCode, family == 16 ? L"10" : L"11");
        TemperatureSampler sampler(driver, uncontended);

        for (std::uint32_t reading = 0; reading < 2048; ++reading) {
            tree.writeFile(std::string(kHwmonFolder) + "/temp1_input", std::to_string(reading * 125) + "\n");
            ASSERT_EQ(PciConfigRead(driver, kReportedTemperatureRegister), reading << 21) << reading;
            const std::optional<std::wstring> caption = sampler.sample(familyCode);
            const std::uint32_t celsius = reading >> 3;
            if (celsius < 40)
                ASSERT_TRUE(isReplacement(caption)) << reading << ": " << captionText(caption);
            else
                ASSERT_EQ(caption, L" " + std::to_wstring(celsius) + L"'C") << reading;
        }
    }
}

struct Family0FhCase {
    const char* name;
    unsigned model;
    unsigned stepping;
    std::uint8_t brandIndex;
    const char* temperature;  // temp1_input, as k8temp reports it
    int field;                // bits 23..16 of the rebuilt 0xE4; -1: the read fails
    const wchar_t* caption;   // nullptr: 40 or 41
};

class HwmonFamily0FhTest : public ::testing::TestWithParam<Family0FhCase> {};

// The rebuilt field is what the program's own reading turns into k8temp's
// figure, revision G offset included, so the caption is the same as a
// direct read of the hardware's register would give.
TEST_P(HwmonFamily0FhTest, ShowsWhatK8tempReports)
{
    const Family0FhCase& row = GetParam();
    FixtureTree tree;
    writeKernelSensor(tree, "k8temp", row.temperature, cpuInfoText(15, row.model, row.stepping));
    HwmonPortIo driver = driverOn(tree, row.brandIndex);
    ASSERT_TRUE(driver.InitializeWinIo());
    FakeProcessorIdentity brand(row.brandIndex);
    const DetectedFamily family = detectFamily(driver, uncontended, brand);
    ASSERT_EQ(family.familyCode, L"f");
    TemperatureSampler sampler(driver, uncontended);
    sampler.setProcessor(DetectedFamily{L"f", ProcessorVendor::Amd, 0, family.family0FhOffsetCelsius, 0});

    const std::optional<std::uint32_t> thermal = readPciConfigChecked(driver, kThermtripStatusRegister);
    const std::optional<std::wstring> caption = sampler.sample(L"f");

    if (row.field < 0) {
        EXPECT_EQ(thermal, std::nullopt);
        EXPECT_EQ(caption, std::wstring());
        return;
    }
    ASSERT_EQ(thermal, static_cast<std::uint32_t>(row.field) << 16);
    if (row.caption == nullptr)
        EXPECT_TRUE(isReplacement(caption)) << captionText(caption);
    else
        EXPECT_EQ(caption, row.caption);

    // The hardware's own registers, read directly, give the same caption.
    FakePortIo hardware;
    hardware.registers = {{kSignatureRegister, PciConfigRead(driver, kSignatureRegister)},
                          {kThermtripStatusRegister, 0x0E002420u | *thermal}};
    TemperatureSampler direct(hardware, uncontended);
    direct.setProcessor(DetectedFamily{L"f", ProcessorVendor::Amd, 0, detectFamily(hardware, uncontended, brand).family0FhOffsetCelsius, 0});
    EXPECT_EQ(direct.sample(L"f"), caption);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, HwmonFamily0FhTest,
    ::testing::Values(
        Family0FhCase{"before_revision_F", 0x2B, 1, 0x00, "55000\n", 104, L" 55'C"},
        Family0FhCase{"revision_F", 0x43, 3, 0x04, "55000\n", 104, L" 55'C"},
        Family0FhCase{"revision_G_desktop", 0x6B, 2, 0x04, "55000\n", 83, L" 55'C"},
        Family0FhCase{"revision_G_asb1", 0x6B, 2, 0x0B, "55000\n", 104, L" 55'C"},
        Family0FhCase{"revision_G_desktop_coldest", 0x6B, 2, 0x04, "-28000\n", 0, nullptr},
        Family0FhCase{"revision_G_desktop_below_the_field", 0x6B, 2, 0x04, "-29000\n", -1, nullptr},
        Family0FhCase{"revision_F_hottest", 0x43, 3, 0x04, "206000\n", 255, L" 206'C"},
        Family0FhCase{"revision_F_above_the_field", 0x43, 3, 0x04, "207000\n", -1, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Only the registers the program reads are answered, and only those that
// the kernel's driver stands for.
TEST(HwmonPortIoTest, AnswersOnlyTheRegistersOfItsKernelDriver)
{
    FixtureTree tree;
    writeKernelSensor(tree, "k8temp", "55000\n", cpuInfoText(15, 0x43, 3));
    HwmonPortIo driver = driverOn(tree);
    ASSERT_TRUE(driver.InitializeWinIo());

    EXPECT_EQ(readPciConfigChecked(driver, kSignatureRegister), 0x00040F33u);
    EXPECT_EQ(readPciConfigChecked(driver, kReportedTemperatureRegister), std::nullopt);
    EXPECT_EQ(readPciConfigChecked(driver, 0x8000C300), std::nullopt) << "register 0x00";
    EXPECT_EQ(readPciConfigChecked(driver, 0x8000C2FC), std::nullopt) << "function 2";
}

// The kernel's file can vanish or fail at any tick (the module unloaded,
// the device gone): that tick shows no reading, the next good one shows
// the figure again.
TEST(HwmonPortIoTest, ATickWhoseTemperatureCannotBeReadShowsNoReading)
{
    FixtureTree tree;
    writeKernelSensor(tree, "k10temp", "55000\n", cpuInfoText(16, 4, 2));
    HwmonPortIo driver = driverOn(tree);
    ASSERT_TRUE(driver.InitializeWinIo());
    TemperatureSampler sampler(driver, uncontended);
    ASSERT_EQ(sampler.sample(L"10"), L" 55'C");

    std::filesystem::remove(tree.root() / kHwmonFolder / "temp1_input");
    EXPECT_EQ(sampler.sample(L"10"), std::wstring());

    tree.writeFile(std::string(kHwmonFolder) + "/temp1_input", "62125\n");
    EXPECT_EQ(sampler.sample(L"10"), L" 62'C");
}

}  // namespace
}  // namespace veltaro
