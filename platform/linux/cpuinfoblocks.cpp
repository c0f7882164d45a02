// SPDX-License-Identifier: MIT
#include "cpuinfoblocks.h"

namespace veltaro {

std::vector<CpuInfoFields> readCpuInfoBlocks(std::istream& in)
{
    std::vector<CpuInfoFields> blocks(1);
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

const std::string* cpuInfoField(const CpuInfoFields& fields, const std::string& name)
{
    const auto found = fields.find(name);
    return found == fields.end() ? nullptr : &found->second;
}

}  // namespace veltaro
