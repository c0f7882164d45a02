// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "fixturetree.h"

namespace veltaro::testing {

// Where the kernel puts the sensor driver's folder of the northbridge
// function, relative to the PCI root; the proc root is <root>/proc.
inline constexpr char kFunctionFolder[] = "devices/0000:00:18.3";
inline constexpr char kHwmonFolder[] = "devices/0000:00:18.3/hwmon/hwmon3";
inline constexpr char kProcFolder[] = "proc";

inline std::string hwmonFolder(int number)
{
    return std::string(kFunctionFolder) + "/hwmon/hwmon" + std::to_string(number);
}

// Two logical processors, laid out as the kernel writes them; the second
// one's figures differ, so that reading the wrong block shows.
inline std::string cpuInfoText(unsigned family, unsigned model, unsigned stepping,
                               const std::string& vendor = "AuthenticAMD",
                               const std::string& modelName = "AMD Athlon(tm) 64 X2 Dual Core Processor 5000+")
{
    const auto block = [&](int number, unsigned blockModel) {
        return "processor\t: " + std::to_string(number) + "\nvendor_id\t: " + vendor +
               "\ncpu family\t: " + std::to_string(family) + "\nmodel\t\t: " + std::to_string(blockModel) +
               "\nmodel name\t: " + modelName + "\nstepping\t: " + std::to_string(stepping) +
               "\ncpu MHz\t\t: 2600.000\n\n";
    };
    return block(0, model) + block(1, model + 1);
}

// The kernel's sensor driver `name` with temp1_input holding `temperature`
// (written as is), and the processors' description.
inline void writeKernelSensor(FixtureTree& tree, const std::string& name, const std::string& temperature,
                              const std::string& cpuInfo)
{
    tree.writeFile(std::string(kHwmonFolder) + "/name", name + "\n");
    tree.writeFile(std::string(kHwmonFolder) + "/temp1_input", temperature);
    tree.writeFile(std::string(kProcFolder) + "/cpuinfo", cpuInfo);
}

}  // namespace veltaro::testing
