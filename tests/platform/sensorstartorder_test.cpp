// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "fakeconfigspace.h"
#include "kernelsensorfixture.h"
#include "sensorstartorder.h"

namespace veltaro {
namespace {

using testing::cpuInfoText;
using testing::FixtureTree;
using testing::kHwmonFolder;
using testing::kProcFolder;
using testing::writeKernelSensor;

// The configuration file and the helper answer register 0xFC with a
// signature of their own (stepping 3, 4), so that a read shows which way
// started; the kernel's way has no such register.
enum Way : std::uint32_t { None = 0, Kernel = 1, ConfigFile = 0x00100F43, Helper = 0x00100F44 };

constexpr char kFifo[] = "(a FIFO)";

struct StartCase {
    const char* name;
    unsigned family;  // processor 0 of cpuinfo
    unsigned model;
    const char* driverName;   // of the hwmon folder; nullptr: no folder
    const char* temperature;  // temp1_input; nullptr: no such file
    bool cpuInfo;
    bool configFile;
    bool runningAsRoot;
    Way started;
    const char* vendor = "AuthenticAMD";
};

Way startedWay(ReadingSource& source)
{
    if (!source.start())
        return None;
    const std::optional<std::uint32_t> signature = source.signatureRegister();
    if (signature == ConfigFile || signature == Helper)
        return static_cast<Way>(*signature);
    return signature ? None : Kernel;
}

// How many of this process's descriptors are open on the file.
int descriptorsOpenOn(const std::filesystem::path& file)
{
    int count = 0;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code linkError;
        if (std::filesystem::read_symlink(entry.path(), linkError) == target)
            ++count;
    }
    return count;
}

class SensorStartOrderTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(SensorStartOrderTest, StartsTheFirstWayThatWorks)
{
    const StartCase& row = GetParam();
    FixtureTree tree;
    const std::filesystem::path config = tree.writeConfig("0000:00:18.3", 256, {{0xFC, ConfigFile}});
    if (row.driverName != nullptr) {
        writeKernelSensor(tree, row.driverName, row.temperature ? row.temperature : "", "");
        const std::filesystem::path temperatureFile = tree.root() / kHwmonFolder / "temp1_input";
        if (row.temperature == nullptr || row.temperature == kFifo)
            std::filesystem::remove(temperatureFile);
        if (row.temperature == kFifo) {
            ASSERT_EQ(::mkfifo(temperatureFile.c_str(), 0600), 0);
        }
    }
    if (row.cpuInfo)
        tree.writeFile(std::string(kProcFolder) + "/cpuinfo",
                       cpuInfoText(row.family, row.model, 2, row.vendor, "A processor"));
    if (!row.configFile)
        std::filesystem::remove(config);
    int helpersMade = 0;
    const auto makeHelper = [&helpersMade] {
        ++helpersMade;
        auto helper = std::make_unique<FakeConfigSpace>();
        helper->value = Helper;
        return helper;
    };
    const std::unique_ptr<ReadingSource> source =
        createLinuxReadingSource({tree.root(), tree.root() / kProcFolder, row.runningAsRoot, makeHelper});

    EXPECT_EQ(startedWay(*source), row.started);
    // The helper (and its password prompt) only when the ways before it failed.
    EXPECT_EQ(helpersMade, row.started == Helper ? 1 : 0);
    // Root's early descriptor of the registers is kept only by the way
    // that reads through it.
    EXPECT_EQ(descriptorsOpenOn(config), row.started == ConfigFile ? 1 : 0);
}

// Run as root, the other nodes' functions are opened with the first's,
// before root is given up, and read through those descriptors later.
TEST(SensorStartOrderTest, AsRootTheOtherNodesAreOpenedEarly)
{
    FixtureTree tree;
    tree.writeConfig("0000:00:18.3", 256, {{0xFC, ConfigFile}, {0xA4, 0x37000000}});
    const std::filesystem::path second =
        tree.writeConfig("0000:00:19.3", 256, {{0x00, 0x12031022}, {0xA4, 0x31000000}});
    tree.writeFile(std::string(kProcFolder) + "/cpuinfo", cpuInfoText(0x10, 4, 2));
    const std::unique_ptr<ReadingSource> source =
        createLinuxReadingSource({tree.root(), tree.root() / kProcFolder, true, nullptr});
    std::filesystem::remove(second);

    ASSERT_EQ(startedWay(*source), ConfigFile);
    const ProcessorFamily& row = *findProcessorFamily(ProcessorVendor::Amd, 0x10, 4);
    EXPECT_EQ(source->nodeCount(row), 2u);
    const std::optional<SourceReading> reading = source->readNode(row, 1);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->value, 0x31000000);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, SensorStartOrderTest,
    ::testing::Values(
        StartCase{"kernel_reading", 0x10, 4, "k10temp", "55000\n", true, true, false, Kernel},
        StartCase{"kernel_reading_as_root", 0x10, 4, "k10temp", "55000\n", true, true, true, Kernel},
        StartCase{"no_hwmon_folder", 0x10, 4, nullptr, nullptr, true, true, false, Helper},
        StartCase{"no_hwmon_folder_as_root", 0x10, 4, nullptr, nullptr, true, true, true, ConfigFile},
        StartCase{"another_drivers_folder", 0x10, 4, "fam15h_power", "55000\n", true, true, false, Helper},
        StartCase{"temperature_file_missing", 0x10, 4, "k10temp", nullptr, true, true, false, Helper},
        StartCase{"temperature_file_is_a_fifo", 0x10, 4, "k10temp", kFifo, true, true, false, Helper},
        StartCase{"temperature_not_a_number", 0x10, 4, "k10temp", "N/A\n", true, true, true, ConfigFile},
        StartCase{"processor_description_missing", 0x10, 4, "k10temp", "55000\n", false, true, false, Helper},
        StartCase{"nothing_works_as_root", 0x10, 4, nullptr, nullptr, true, false, true, None},
        StartCase{"zen_kernel_reading", 0x17, 0x71, "k10temp", "55000\n", true, true, false, Kernel},
        StartCase{"zen_without_kernel_reading", 0x17, 0x71, nullptr, nullptr, true, true, false, None},
        StartCase{"zen_without_kernel_reading_as_root", 0x17, 0x71, nullptr, nullptr, true, true, true, None},
        StartCase{"model_60h_without_kernel_reading", 0x15, 0x60, nullptr, nullptr, true, true, false, None},
        StartCase{"model_60h_without_kernel_reading_as_root", 0x15, 0x60, nullptr, nullptr, true, true, true, None},
        StartCase{"model_00h_without_kernel_reading", 0x15, 0x00, nullptr, nullptr, true, true, false, Helper},
        // A processor the table does not hold reads nothing: no password.
        StartCase{"family_1bh", 0x1B, 0x00, nullptr, nullptr, true, true, false, None},
        StartCase{"family_1bh_as_root", 0x1B, 0x00, nullptr, nullptr, true, true, true, None},
        StartCase{"another_maker", 6, 0x3A, nullptr, nullptr, true, true, false, None, "GenuineIntel"},
        StartCase{"hygon_family_10h", 0x10, 0x04, nullptr, nullptr, true, true, false, None, "HygonGenuine"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
