// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "fakeportio.h"
#include "kernelsensorfixture.h"
#include "pciconfigread.h"
#include "sensorstartorder.h"

namespace veltaro {
namespace {

using testing::cpuInfoText;
using testing::FixtureTree;
using testing::kHwmonFolder;
using testing::kProcFolder;
using testing::writeKernelSensor;

// Each way answers register 0xFC with a signature of its own (stepping 2,
// 3, 4), so that a read shows which one started.
enum Way : std::uint32_t { None = 0, Kernel = 0x00100F42, ConfigFile = 0x00100F43, Helper = 0x00100F44 };

struct StartCase {
    const char* name;
    const char* driverName;   // of the hwmon folder; nullptr: no folder
    const char* temperature;  // temp1_input; nullptr: no such file
    bool cpuInfo;
    bool runningAsRoot;
    Way started;
};

class SensorStartOrderTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(SensorStartOrderTest, StartsTheFirstWayThatWorks)
{
    const StartCase& row = GetParam();
    FixtureTree tree;
    tree.writeConfig("0000:00:18.3", 256, {{0xFC, ConfigFile}});
    if (row.driverName != nullptr) {
        writeKernelSensor(tree, row.driverName, row.temperature ? row.temperature : "", cpuInfoText(16, 4, 2));
        if (row.temperature == nullptr)
            std::filesystem::remove(tree.root() / kHwmonFolder / "temp1_input");
        if (!row.cpuInfo)
            std::filesystem::remove(tree.root() / kProcFolder / "cpuinfo");
    }
    if (row.started == None)
        std::filesystem::remove_all(tree.root() / "devices");
    int helpersMade = 0;
    const auto makeHelper = [&helpersMade] {
        ++helpersMade;
        auto helper = std::make_unique<FakePortIo>();
        helper->dataPortValue = Helper;
        return helper;
    };
    const std::unique_ptr<PortIo> driver =
        createLinuxSensorPortIo({tree.root(), tree.root() / kProcFolder, row.runningAsRoot, makeHelper});

    ASSERT_EQ(driver->InitializeWinIo(), row.started != None);
    EXPECT_EQ(readPciConfigChecked(*driver, 0x8000C3FC).value_or(None), row.started);
    // The helper (and its password prompt) only when the ways before it failed.
    EXPECT_EQ(helpersMade, row.started == Helper ? 1 : 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, SensorStartOrderTest,
    ::testing::Values(
        StartCase{"kernel_reading", "k10temp", "55000\n", true, false, Kernel},
        StartCase{"kernel_reading_as_root", "k10temp", "55000\n", true, true, Kernel},
        StartCase{"no_hwmon_folder", nullptr, nullptr, true, false, Helper},
        StartCase{"no_hwmon_folder_as_root", nullptr, nullptr, true, true, ConfigFile},
        StartCase{"another_drivers_folder", "fam15h_power", "55000\n", true, false, Helper},
        StartCase{"temperature_file_missing", "k10temp", nullptr, true, false, Helper},
        StartCase{"temperature_not_a_number", "k10temp", "N/A\n", true, true, ConfigFile},
        StartCase{"processor_description_missing", "k10temp", "55000\n", false, false, Helper},
        StartCase{"nothing_works_as_root", nullptr, nullptr, true, true, None}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
