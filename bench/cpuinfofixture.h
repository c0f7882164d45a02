// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace veltaro::bench {

// The processor description of a 64-thread AMD server (family 17h), block
// for block as the kernel writes it, about 1.6 kB per logical processor.
std::string serverCpuInfo(int logicalProcessors = 64);

// The same text in a file of its own, removed again with the object.
class CpuInfoFile {
public:
    explicit CpuInfoFile(const std::string& text);
    ~CpuInfoFile();
    CpuInfoFile(const CpuInfoFile&) = delete;
    CpuInfoFile& operator=(const CpuInfoFile&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace veltaro::bench
