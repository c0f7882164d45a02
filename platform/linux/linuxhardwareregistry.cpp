// SPDX-License-Identifier: MIT
#include "linuxhardwareregistry.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "cpuinfoblocks.h"
#include "linuxcomputername.h"

namespace veltaro {

namespace {

constexpr char kSystemKey[] = "HARDWARE\\DESCRIPTION\\System";
constexpr char kProcessorsKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor";

bool isNumber(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool hasFlag(const CpuInfoFields& fields, const std::string& flag)
{
    const std::string* flags = cpuInfoField(fields, "flags");
    if (flags == nullptr)
        return false;
    std::istringstream words(*flags);
    std::string word;
    while (words >> word) {
        if (word == flag)
            return true;
    }
    return false;
}

// The architecture word of the identifier, as Windows writes it: the
// 64-bit architectures by their makers' names, 32-bit machines as x86.
std::string architectureOf(const CpuInfoFields& fields, const std::string& vendor)
{
    if (!hasFlag(fields, "lm"))
        return "x86";
    return vendor == "GenuineIntel" ? "Intel64" : "AMD64";
}

void describeProcessor(InMemoryRegistry& registry, const CpuInfoFields& fields, const std::string& number,
                       const std::string& vendor)
{
    const std::string key = std::string(kProcessorsKey) + '\\' + number;
    registry.createKey(key);
    registry.setString(key, "VendorIdentifier", vendor);
    if (const std::string* modelName = cpuInfoField(fields, "model name"))
        registry.setString(key, "ProcessorNameString", *modelName);

    const std::string* family = cpuInfoField(fields, "cpu family");
    const std::string* model = cpuInfoField(fields, "model");
    const std::string* stepping = cpuInfoField(fields, "stepping");
    if (family != nullptr && model != nullptr && stepping != nullptr) {
        registry.setString(key, "Identifier",
                           architectureOf(fields, vendor) + " Family " + *family + " Model " + *model + " Stepping " +
                               *stepping);
    }

    // The kernel gives the clock with a fractional part and always with a
    // full stop, whatever the locale: read it without the locale.
    if (const std::string* mhz = cpuInfoField(fields, "cpu MHz")) {
        double value = 0;
        const auto [end, error] = std::from_chars(mhz->data(), mhz->data() + mhz->size(), value);
        if (error == std::errc() && value >= 0 && value < 4.0e9)
            registry.setDword(key, "~MHz", static_cast<std::uint32_t>(std::lround(value)));
    }
}

}  // namespace

LinuxHardwareRegistry::LinuxHardwareRegistry(const std::filesystem::path& cpuInfoFile, std::string localComputerName)
    : InMemoryRegistry(std::move(localComputerName))
{
    std::ifstream in(cpuInfoFile);
    if (in)
        describe(in);
}

LinuxHardwareRegistry::LinuxHardwareRegistry(Empty, std::string localComputerName)
    : InMemoryRegistry(std::move(localComputerName))
{
}

LinuxHardwareRegistry LinuxHardwareRegistry::fromText(std::string_view cpuInfo, std::string localComputerName)
{
    LinuxHardwareRegistry registry(Empty{}, std::move(localComputerName));
    std::istringstream in{std::string(cpuInfo)};
    registry.describe(in);
    return registry;
}

void LinuxHardwareRegistry::describe(std::istream& cpuInfo)
{
    bool anyProcessor = false;
    for (const CpuInfoFields& fields : readCpuInfoBlocks(cpuInfo)) {
        const std::string* number = cpuInfoField(fields, "processor");
        // Only x86 processors carry a vendor identification string.
        const std::string* vendor = cpuInfoField(fields, "vendor_id");
        if (number == nullptr || !isNumber(*number) || vendor == nullptr)
            continue;
        describeProcessor(*this, fields, *number, *vendor);
        anyProcessor = true;
    }
    if (anyProcessor)
        setString(kSystemKey, "Identifier", "AT/AT COMPATIBLE");
}

std::string LinuxHardwareRegistry::defaultComputerName()
{
    return LinuxComputerName::hostName().value_or(std::string());
}

}  // namespace veltaro
