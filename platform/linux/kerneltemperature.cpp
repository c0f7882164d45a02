// SPDX-License-Identifier: MIT
#include "kerneltemperature.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "hwmonattribute.h"

namespace veltaro {

namespace {

constexpr std::chrono::seconds kSearchInterval{1};

// Whether any temperature of the folder has a temp<N>_label.
bool labelsAny(const std::filesystem::path& hwmonFolder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(hwmonFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("temp") && name.ends_with("_label"))
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::filesystem::path> hwmonFoldersOf(const std::filesystem::path& functionFolder,
                                                  const std::string& driver)
{
    std::vector<std::pair<unsigned, std::filesystem::path>> numbered;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(functionFolder / "hwmon", error)) {
        const std::optional<unsigned> number = numberAfter("hwmon", entry.path().filename().string());
        if (number && readAttributeFile(entry.path() / "name") == driver)
            numbered.emplace_back(*number, entry.path());
    }
    std::sort(numbered.begin(), numbered.end());
    std::vector<std::filesystem::path> folders;
    folders.reserve(numbered.size());
    for (auto& [number, folder] : numbered)
        folders.push_back(std::move(folder));
    return folders;
}

std::vector<std::filesystem::path> temperatureFilesOf(const std::filesystem::path& hwmonFolder)
{
    std::vector<std::filesystem::path> files;
    const std::optional<std::string> dieLabel = readAttributeFile(hwmonFolder / "temp2_label");
    if (dieLabel ? *dieLabel == "Tdie" : !labelsAny(hwmonFolder))
        files.push_back(hwmonFolder / "temp2_input");
    files.push_back(hwmonFolder / "temp1_input");
    return files;
}

KernelTemperature::KernelTemperature(std::filesystem::path functionFolder, std::string driver, Clock clock)
    : m_functionFolder(std::move(functionFolder))
    , m_driver(std::move(driver))
    , m_clock(std::move(clock))
{
}

bool KernelTemperature::start()
{
    m_lastSearch = m_clock();
    return search();
}

std::optional<long long> KernelTemperature::searchAgain()
{
    const std::chrono::steady_clock::time_point now = m_clock();
    if (now - m_lastSearch < kSearchInterval)
        return std::nullopt;
    m_lastSearch = now;
    if (!search())
        return std::nullopt;
    return readMillidegrees(m_file.get());
}

bool KernelTemperature::search()
{
    for (const std::filesystem::path& folder : hwmonFoldersOf(m_functionFolder, m_driver)) {
        for (const std::filesystem::path& candidate : temperatureFilesOf(folder)) {
            UniqueFd file = openAttribute(candidate);
            if (file.valid() && readMillidegrees(file.get())) {
                m_file = std::move(file);
                return true;
            }
        }
    }
    return false;
}

}  // namespace veltaro
