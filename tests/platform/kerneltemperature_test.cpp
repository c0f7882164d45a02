// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>

#include "kernelsensorfixture.h"
#include "kerneltemperature.h"

namespace veltaro {
namespace {

using testing::FixtureTree;
using testing::kFunctionFolder;
using testing::kHwmonFolder;

// One temperature of a k10temp folder: nullptr leaves the file out.
struct Channel {
    const char* input;
    const char* label;
};

struct ChannelCase {
    const char* name;
    Channel temp1;
    Channel temp2;
    Channel temp3;
    std::optional<long long> millidegrees;
};

class KernelTemperatureChannelTest : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(KernelTemperatureChannelTest, ReadsTheDieTemperatureWhereTheKernelNamesIt)
{
    const ChannelCase& row = GetParam();
    FixtureTree tree;
    tree.writeFile(std::string(kHwmonFolder) + "/name", "k10temp\n");
    int number = 1;
    for (const Channel& channel : {row.temp1, row.temp2, row.temp3}) {
        const std::string prefix = std::string(kHwmonFolder) + "/temp" + std::to_string(number++);
        if (channel.input != nullptr)
            tree.writeFile(prefix + "_input", channel.input);
        if (channel.label != nullptr)
            tree.writeFile(prefix + "_label", channel.label);
    }
    KernelTemperature temperature(tree.root() / kFunctionFolder, "k10temp",
                                  [] { return std::chrono::steady_clock::time_point{}; });

    EXPECT_EQ(temperature.start(), row.millidegrees.has_value());
    EXPECT_EQ(temperature.millidegrees(), row.millidegrees);
}

// Figures from the published outputs of realdumps-later/ where a row names
// one; k10temp numbers Tctl 1, Tdie 2 and the core complexes from 3.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, KernelTemperatureChannelTest,
    ::testing::Values(
        // 17h-tr2950x-1.txt: Tdie +44.2 beside Tctl +71.2.
        ChannelCase{"tdie_published", {"71200\n", "Tctl\n"}, {"44200\n", "Tdie\n"}, {}, 44200},
        // Older kernels label nothing; a second reading is the die's.
        ChannelCase{"unlabelled_pair", {"71200\n", nullptr}, {"44200\n", nullptr}, {}, 44200},
        // 15h-opteron-x3216-1.txt: one unlabelled Tctl +28.2.
        ChannelCase{"unlabelled_tctl_only", {"28200\n", nullptr}, {}, {}, 28200},
        // 19h-r5-5600-1.txt: Tctl +27.0 and Tccd1 +23.8, no Tdie.
        ChannelCase{"core_complex_in_temp2", {"27000\n", "Tctl\n"}, {"23800\n", "Tccd1\n"}, {}, 27000},
        ChannelCase{"core_complex_in_temp3", {"27000\n", "Tctl\n"}, {}, {"23800\n", "Tccd1\n"}, 27000},
        ChannelCase{"unlabelled_temp2_beside_labels", {"39000\n", "Tctl\n"}, {"23800\n", nullptr}, {}, 39000},
        ChannelCase{"tdie_unreadable", {"39000\n", "Tctl\n"}, {"N/A\n", "Tdie\n"}, {}, 39000},
        ChannelCase{"tdie_label_without_input", {"39000\n", "Tctl\n"}, {nullptr, "Tdie\n"}, {}, 39000},
        ChannelCase{"unlabelled_temp2_unreadable", {"39000\n", nullptr}, {"", nullptr}, {}, 39000},
        ChannelCase{"nothing_reads", {"N/A\n", "Tctl\n"}, {"N/A\n", "Tdie\n"}, {}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
