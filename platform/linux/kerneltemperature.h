// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hwmonattribute.h"
#include "uniquefd.h"

namespace veltaro {

// The hwmon<N> folders below a PCI function's folder whose `name` is
// `driver`, by N: one for each time the kernel registered that driver's
// sensor for the function.
std::vector<std::filesystem::path> hwmonFoldersOf(const std::filesystem::path& functionFolder,
                                                  const std::string& driver);

// The files of a hwmon folder that may hold the processor's temperature,
// in the order to try them: temp2_input where it is the die's own
// temperature (k10temp's Tdie, on parts whose control reading lies above
// it), then temp1_input. temp2 is the die's where its label reads "Tdie",
// or where the folder labels nothing, as the driver's first versions
// did; elsewhere it may be a core complex's sensor.
std::vector<std::filesystem::path> temperatureFilesOf(const std::filesystem::path& hwmonFolder);

// The kernel's temperature for one PCI function, from the first of its
// driver's hwmon folders whose temperature file reads. The file stays open
// and is read again at each tick. When the driver is bound again, the
// kernel removes the old folder (reads of the held file fail) and makes a
// new one, possibly under another number; so while the reading fails the
// folders are looked for again, at most once a second.
class KernelTemperature {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    KernelTemperature(std::filesystem::path functionFolder, std::string driver, Clock clock);

    // True when a temperature file was found and reads.
    bool start();

    // Millidegrees Celsius as the kernel reports them; empty when no
    // file reads. Defined here so that the tick's read of the held file
    // is not a further call away from the sampler.
    std::optional<long long> millidegrees()
    {
        if (m_file.valid()) {
            if (const std::optional<long long> reading = readMillidegrees(m_file.get()))
                return reading;
        }
        return searchAgain();
    }

private:
    std::optional<long long> searchAgain();
    bool search();

    std::filesystem::path m_functionFolder;
    std::string m_driver;
    Clock m_clock;
    UniqueFd m_file;
    std::chrono::steady_clock::time_point m_lastSearch;
};

}  // namespace veltaro
