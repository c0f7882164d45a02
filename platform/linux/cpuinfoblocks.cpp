// SPDX-License-Identifier: MIT
#include "cpuinfoblocks.h"

#include <limits>

namespace veltaro {

namespace {

// Longer than any line the kernel writes (its longest, the flags, is a
// few kilobytes); a file with longer lines is none of the kernel's.
constexpr std::streamsize kLongestLine = std::streamsize{64} * 1024;

// The next line into `line`, without its newline, cut after kLongestLine
// characters; the rest of a longer line is passed over unkept. False at
// the end of the input.
bool readCutLine(std::istream& in, std::string& line)
{
    line.resize(kLongestLine + 1);
    in.getline(line.data(), kLongestLine + 1);
    const std::streamsize taken = in.gcount();
    if (in.fail() && !in.eof() && taken == kLongestLine) {
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        line.resize(kLongestLine);
        return true;
    }
    if (taken == 0 && in.fail())
        return false;
    // The newline counts among the characters taken, but is not kept.
    line.resize(static_cast<std::size_t>(in.eof() ? taken : taken - 1));
    return true;
}

}  // namespace

std::vector<CpuInfoFields> readCpuInfoBlocks(std::istream& in)
{
    std::vector<CpuInfoFields> blocks(1);
    std::string line;
    while (readCutLine(in, line)) {
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
