// SPDX-License-Identifier: MIT
#include "cpuinfoprocessor.h"

#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>

#include "cpuinfoblocks.h"
#include "processorsignature.h"

namespace veltaro {

namespace {

std::optional<unsigned> readNumber(std::string_view text)
{
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<IdentifiedProcessor> readProcessorZero(const std::filesystem::path& cpuInfoFile)
{
    std::ifstream in(cpuInfoFile);
    if (!in)
        return std::nullopt;
    for (const CpuInfoFields& fields : readCpuInfoBlocks(in)) {
        const std::string* number = cpuInfoField(fields, "processor");
        if (number == nullptr || *number != "0")
            continue;
        const auto figure = [&fields](const std::string& name) -> std::optional<unsigned> {
            const std::string* text = cpuInfoField(fields, name);
            return text == nullptr ? std::nullopt : readNumber(*text);
        };
        const std::optional<unsigned> family = figure("cpu family");
        const std::optional<unsigned> model = figure("model");
        const std::optional<unsigned> stepping = figure("stepping");
        const std::string* vendor = cpuInfoField(fields, "vendor_id");
        if (!family || !model || !stepping || vendor == nullptr)
            return std::nullopt;
        const std::optional<std::uint32_t> signature = packProcessorSignature(*family, *model, *stepping);
        if (!signature)
            return std::nullopt;
        const std::string* name = cpuInfoField(fields, "model name");
        return IdentifiedProcessor{*vendor, *signature, name == nullptr ? std::string() : *name};
    }
    return std::nullopt;
}

}  // namespace veltaro
