// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "kernelsensorfixture.h"
#include "kerneltemperature.h"

namespace veltaro {
namespace {

// The files of a k10temp folder beside its temp1_input of 27 degrees;
// nullptr leaves one out. Labels and figures as realdumps-later/ shows
// them: 17h-tr2950x-1.txt publishes Tdie, 19h-r5-5600-1.txt a Tccd1.
struct DieCase {
    const char* name;
    const char* temp1Label;
    const char* temp2Input;
    const char* temp2Label;
    long long millidegrees;
};

const DieCase kDieCases[] = {
    {"tdie", "Tctl\n", "44200\n", "Tdie\n", 44200},
    {"nothing_labelled", nullptr, "44200\n", nullptr, 44200},
    {"core_complex", "Tctl\n", "23800\n", "Tccd1\n", 27000},
    {"unlabelled_beside_labels", "Tctl\n", "23800\n", nullptr, 27000},
    {"tdie_unreadable", "Tctl\n", "N/A\n", "Tdie\n", 27000},
};

TEST(KernelTemperatureTest, ReadsTemp2OnlyWhereItIsTheDiesAndReads)
{
    for (const DieCase& row : kDieCases) {
        SCOPED_TRACE(row.name);
        testing::FixtureTree tree;
        const std::string folder = std::string(testing::kHwmonFolder) + "/";
        tree.writeFile(folder + "name", "k10temp\n");
        tree.writeFile(folder + "temp1_input", "27000\n");
        for (const auto& [file, text] :
             {std::pair{"temp1_label", row.temp1Label}, std::pair{"temp2_input", row.temp2Input},
              std::pair{"temp2_label", row.temp2Label}}) {
            if (text != nullptr)
                tree.writeFile(folder + file, text);
        }
        KernelTemperature temperature(tree.root() / testing::kFunctionFolder, "k10temp",
                                      std::chrono::steady_clock::now);
        EXPECT_TRUE(temperature.start());
        EXPECT_EQ(temperature.millidegrees(), row.millidegrees);
    }
}

}  // namespace
}  // namespace veltaro
