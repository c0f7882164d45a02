#include <gtest/gtest.h>

#include <functional>

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

// Each way gives a signature of its own, so that a read shows which one
// answered: the kernel's from the processor description (stepping 2), the
// configuration file's (stepping 3), the helper's (stepping 4).
constexpr std::uint32_t kFromKernel = 0x00100F42;
constexpr std::uint32_t kFromConfigFile = 0x00100F43;
constexpr std::uint32_t kFromHelper = 0x00100F44;

enum class Way { None, Kernel, ConfigFile, Helper };

struct StartCase {
    const char* name;
    std::function<void(FixtureTree&)> prepare;
    bool runningAsRoot;
    Way started;
};

void kernelReading(FixtureTree& tree)
{
    writeKernelSensor(tree, "k10temp", "55000\n", cpuInfoText(16, 4, 2));
}

class SensorStartOrderTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(SensorStartOrderTest, StartsTheFirstWayThatWorks)
{
    const StartCase& row = GetParam();
    FixtureTree tree;
    tree.writeConfig("0000:00:18.3", 256, {{0xFC, kFromConfigFile}});
    row.prepare(tree);
    int helpersMade = 0;
    const auto makeHelper = [&helpersMade] {
        ++helpersMade;
        auto helper = std::make_unique<FakePortIo>();
        helper->dataPortValue = kFromHelper;
        return helper;
    };
    const std::unique_ptr<PortIo> driver =
        createLinuxSensorPortIo({tree.root(), tree.root() / kProcFolder, row.runningAsRoot, makeHelper});

    ASSERT_EQ(driver->InitializeWinIo(), row.started != Way::None);

    // No password is asked for unless the ways before the helper failed.
    EXPECT_EQ(helpersMade, row.started == Way::Helper ? 1 : 0);
    const Way answered = [&] {
        switch (readPciConfigChecked(*driver, 0x8000C3FC).value_or(0)) {
        case kFromKernel:
            return Way::Kernel;
        case kFromConfigFile:
            return Way::ConfigFile;
        case kFromHelper:
            return Way::Helper;
        default:
            return Way::None;
        }
    }();
    EXPECT_EQ(answered, row.started);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, SensorStartOrderTest,
    ::testing::Values(
        StartCase{"kernel_reading", kernelReading, false, Way::Kernel},
        StartCase{"kernel_reading_as_root", kernelReading, true, Way::Kernel},
        StartCase{"no_hwmon_folder", [](FixtureTree&) {}, false, Way::Helper},
        StartCase{"no_hwmon_folder_as_root", [](FixtureTree&) {}, true, Way::ConfigFile},
        StartCase{"another_drivers_folder",
                  [](FixtureTree& tree) { writeKernelSensor(tree, "fam15h_power", "55000\n", cpuInfoText(16, 4, 2)); },
                  false, Way::Helper},
        StartCase{"temperature_file_missing",
                  [](FixtureTree& tree) {
                      kernelReading(tree);
                      std::filesystem::remove(tree.root() / kHwmonFolder / "temp1_input");
                  },
                  false, Way::Helper},
        StartCase{"temperature_file_unreadable",
                  [](FixtureTree& tree) {
                      kernelReading(tree);
                      std::filesystem::remove(tree.root() / kHwmonFolder / "temp1_input");
                      std::filesystem::create_directory(tree.root() / kHwmonFolder / "temp1_input");
                  },
                  false, Way::Helper},
        StartCase{"temperature_not_a_number",
                  [](FixtureTree& tree) { writeKernelSensor(tree, "k10temp", "N/A\n", cpuInfoText(16, 4, 2)); },
                  true, Way::ConfigFile},
        StartCase{"processor_description_missing",
                  [](FixtureTree& tree) {
                      kernelReading(tree);
                      std::filesystem::remove(tree.root() / kProcFolder / "cpuinfo");
                  },
                  false, Way::Helper},
        StartCase{"nothing_works_as_root",
                  [](FixtureTree& tree) { std::filesystem::remove_all(tree.root() / "devices"); },
                  true, Way::None}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
