// SPDX-License-Identifier: MIT
#include "hwmonportio.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cpuinfoprocessor.h"
#include "processorsignature.h"
#include "revisiongoffset.h"
#include "uniquefd.h"

namespace veltaro {

namespace {

// Bus 0, device 24, function 3, as the kernel names its folder.
constexpr char kNorthbridgeFolder[] = "0000:00:18.3";

constexpr std::uint8_t kSignatureOffset = 0xFC;
constexpr std::uint8_t kFamily0FhThermalOffset = 0xE4;
constexpr std::uint8_t kFamily10hThermalOffset = 0xA4;

// Family 0Fh: an 8-bit field in bits 23..16, offset by 49 degrees.
constexpr long long kFamily0FhFieldOffsetCelsius = 49;
// Families 10h and 11h: an 11-bit reading in eighths of a degree, bits 31..21.
constexpr long long kMillidegreesPerEighth = 125;
constexpr long long kLargestEighths = 0x7FF;

// The whole text of a small attribute file, or empty when it cannot be
// read. The kernel's figures are a few characters long.
std::optional<std::string> readShortFile(const std::filesystem::path& file)
{
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    char buffer[64];
    std::size_t size = 0;
    while (size < sizeof buffer) {
        const ssize_t count = ::read(fd.get(), buffer + size, sizeof buffer - size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return std::string(buffer, size);
        size += static_cast<std::size_t>(count);
    }
    return std::nullopt;
}

std::string_view withoutNewline(std::string_view text)
{
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    return text;
}

// A whole decimal number and nothing else.
template <typename Number> std::optional<Number> readNumber(std::string_view text)
{
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// temp1_input: the kernel writes "%ld\n".
std::optional<long long> readMillidegrees(const std::filesystem::path& file)
{
    const std::optional<std::string> text = readShortFile(file);
    if (!text)
        return std::nullopt;
    return readNumber<long long>(withoutNewline(*text));
}

struct KernelSensor {
    std::filesystem::path folder;
    std::string name;
};

// The function's hwmon<N> folders, in order of N's text, with their names.
std::vector<KernelSensor> kernelSensors(const std::filesystem::path& hwmonFolder)
{
    std::vector<KernelSensor> sensors;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(hwmonFolder, error)) {
        const std::string folderName = entry.path().filename().string();
        if (folderName.rfind("hwmon", 0) != 0)
            continue;
        if (const std::optional<std::string> name = readShortFile(entry.path() / "name"))
            sensors.push_back({entry.path(), std::string(withoutNewline(*name))});
    }
    std::sort(sensors.begin(), sensors.end(),
              [](const KernelSensor& a, const KernelSensor& b) { return a.folder < b.folder; });
    return sensors;
}

std::optional<std::uint32_t> family10hRegister(long long millidegrees)
{
    const long long eighths = millidegrees / kMillidegreesPerEighth;
    if (millidegrees < 0 || eighths > kLargestEighths)
        return std::nullopt;
    return static_cast<std::uint32_t>(eighths) << 21;
}

std::optional<std::uint32_t> family0FhRegister(long long millidegrees, int addedCelsius)
{
    // Whole degrees, rounded down also below zero.
    long long celsius = millidegrees / 1000;
    if (millidegrees % 1000 < 0)
        --celsius;
    const long long field = celsius + kFamily0FhFieldOffsetCelsius - addedCelsius;
    if (field < 0 || field > 0xFF)
        return std::nullopt;
    return static_cast<std::uint32_t>(field) << 16;
}

}  // namespace

HwmonPortIo::HwmonPortIo(std::filesystem::path pciRoot, std::filesystem::path procRoot,
                         std::unique_ptr<ProcessorIdentity> brand)
    : m_pciRoot(std::move(pciRoot))
    , m_procRoot(std::move(procRoot))
    , m_brand(std::move(brand))
{
}

bool HwmonPortIo::InitializeWinIo()
{
    m_driver = KernelDriver::None;
    for (const KernelSensor& sensor : kernelSensors(m_pciRoot / "devices" / kNorthbridgeFolder / "hwmon")) {
        if (sensor.name != "k8temp" && sensor.name != "k10temp")
            continue;
        const std::optional<IdentifiedProcessor> processor = readProcessorZero(m_procRoot / "cpuinfo");
        const std::optional<std::uint32_t> signature =
            processor ? std::optional<std::uint32_t>(processor->signature) : std::nullopt;
        const std::filesystem::path temperatureFile = sensor.folder / "temp1_input";
        if (!signature || !readMillidegrees(temperatureFile))
            return false;
        m_driver = sensor.name == "k8temp" ? KernelDriver::K8temp : KernelDriver::K10temp;
        m_temperatureFile = temperatureFile;
        m_signature = *signature;
        m_revisionGOffsetCelsius = m_driver == KernelDriver::K8temp ? revisionGOffsetCelsius(*signature, *m_brand) : 0;
        return true;
    }
    return false;
}

std::optional<std::uint32_t> HwmonPortIo::readConfigRegister(const ConfigAddress& address) const
{
    if (m_driver == KernelDriver::None || !(address.function == kNorthbridgeFunction))
        return std::nullopt;
    if (address.registerOffset == kSignatureOffset)
        return m_signature;
    const bool k8temp = m_driver == KernelDriver::K8temp;
    const std::uint8_t thermalOffset = k8temp ? kFamily0FhThermalOffset : kFamily10hThermalOffset;
    if (address.registerOffset != thermalOffset)
        return std::nullopt;
    const std::optional<long long> millidegrees = readMillidegrees(m_temperatureFile);
    if (!millidegrees)
        return std::nullopt;
    return k8temp ? family0FhRegister(*millidegrees, m_revisionGOffsetCelsius) : family10hRegister(*millidegrees);
}

}  // namespace veltaro
