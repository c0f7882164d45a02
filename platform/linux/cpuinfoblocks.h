// SPDX-License-Identifier: MIT
#pragma once

#include <istream>
#include <map>
#include <string>
#include <vector>

namespace veltaro {

// The kernel's description of the processors (/proc/cpuinfo): one block of
// "name<tabs>: value" lines per logical processor, blocks separated by a
// blank line. A line longer than the kernel ever writes (64 KiB) is cut
// there, so a planted file costs no more memory than that.
using CpuInfoFields = std::map<std::string, std::string>;

std::vector<CpuInfoFields> readCpuInfoBlocks(std::istream& in);

// The value of a field, or null when the block has none.
const std::string* cpuInfoField(const CpuInfoFields& fields, const std::string& name);

}  // namespace veltaro
