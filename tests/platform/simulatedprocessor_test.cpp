// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "configspacesampling.h"
#include "demonorthbridge.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "pciconfigread.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

TEST(SimulatedProcessorTest, AnswersFromItsRegisters)
{
    SimulatedProcessor northbridge;
    northbridge.setRegister(0xE4, 0x007A0000);
    northbridge.setRegister(0xFC, 0x00000F4A);

    ASSERT_TRUE(northbridge.start());
    EXPECT_EQ(PciConfigRead(northbridge, 0x8000C3E4), 0x007A0000u);
    FakeProcessorIdentity brand;
    EXPECT_EQ(testing::detectThroughConfigSpace(northbridge, testing::uncontended, brand).familyCode, L"f");
    EXPECT_EQ(testing::ConfigSpaceSampler(northbridge).sample(L"f"), L" 73'C");
    EXPECT_EQ(PciConfigRead(northbridge, 0x8000C000), 0xFFFFFFFFu) << "other functions are absent";
}

TEST(DemoNorthbridgeTest, IsAFamily10hProcessor)
{
    DemoNorthbridge northbridge;
    FakeProcessorIdentity brand;
    EXPECT_EQ(testing::detectThroughConfigSpace(northbridge, testing::uncontended, brand).familyCode, L"10");
}

// Over ten minutes the reading wanders over about 35 to 65 degrees, in
// steps small enough to read as a temperature, and dips below 40.
TEST(DemoNorthbridgeTest, WandersSlowlyBetween35And65Degrees)
{
    using namespace std::chrono_literals;
    int lowest = 1000;
    int highest = -1000;
    int previous = -1;
    for (std::chrono::milliseconds elapsed{}; elapsed < std::chrono::minutes{10}; elapsed += 200ms) {
        const int celsius = static_cast<int>(DemoNorthbridge::thermalRegisterAt(elapsed) >> 24);
        lowest = std::min(lowest, celsius);
        highest = std::max(highest, celsius);
        if (previous >= 0) {
            ASSERT_LE(std::abs(celsius - previous), 1) << "at " << elapsed.count() << " ms";
        }
        previous = celsius;
    }
    EXPECT_GE(lowest, 34);
    EXPECT_LT(lowest, 40);
    EXPECT_LE(highest, 66);
    EXPECT_GT(highest, 60);
}

}  // namespace
}  // namespace veltaro
