#include "linuxhardwareregistry.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "linuxcomputername.h"

namespace veltaro {

namespace {

constexpr char kSystemKey[] = "HARDWARE\\DESCRIPTION\\System";
constexpr char kProcessorsKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor";

// One block of the processor description: "name<tabs>: value" lines, with
// a blank line after each logical processor.
using Fields = std::map<std::string, std::string>;

std::vector<Fields> readBlocks(std::istream& in)
{
    std::vector<Fields> blocks(1);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) {
            if (!blocks.back().empty())
                blocks.emplace_back();
            continue;
        }
        const std::size_t colon = line.find(':');
        // A line cut off before its colon says nothing.
        if (colon == std::string::npos)
            continue;
        std::string name = line.substr(0, colon);
        name.erase(name.find_last_not_of(" \t") + 1);
        // The kernel puts one blank after the colon; the rest is the value
        // as it stands, blanks included.
        std::size_t valueStart = colon + 1;
        if (valueStart < line.size() && line[valueStart] == ' ')
            ++valueStart;
        blocks.back().emplace(std::move(name), line.substr(valueStart));
    }
    return blocks;
}

const std::string* field(const Fields& fields, const std::string& name)
{
    const auto found = fields.find(name);
    return found == fields.end() ? nullptr : &found->second;
}

bool isNumber(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool hasFlag(const Fields& fields, const std::string& flag)
{
    const std::string* flags = field(fields, "flags");
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
std::string architectureOf(const Fields& fields, const std::string& vendor)
{
    if (!hasFlag(fields, "lm"))
        return "x86";
    return vendor == "GenuineIntel" ? "Intel64" : "AMD64";
}

void describeProcessor(InMemoryRegistry& registry, const Fields& fields, const std::string& number,
                       const std::string& vendor)
{
    const std::string key = std::string(kProcessorsKey) + '\\' + number;
    registry.createKey(key);
    registry.setString(key, "VendorIdentifier", vendor);
    if (const std::string* modelName = field(fields, "model name"))
        registry.setString(key, "ProcessorNameString", *modelName);

    const std::string* family = field(fields, "cpu family");
    const std::string* model = field(fields, "model");
    const std::string* stepping = field(fields, "stepping");
    if (family != nullptr && model != nullptr && stepping != nullptr) {
        registry.setString(key, "Identifier",
                           architectureOf(fields, vendor) + " Family " + *family + " Model " + *model + " Stepping " +
                               *stepping);
    }

    // The kernel gives the clock with a fractional part and always with a
    // full stop, whatever the locale: read it without the locale.
    if (const std::string* mhz = field(fields, "cpu MHz")) {
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
    for (const Fields& fields : readBlocks(cpuInfo)) {
        const std::string* number = field(fields, "processor");
        // Only x86 processors carry a vendor identification string.
        const std::string* vendor = field(fields, "vendor_id");
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
