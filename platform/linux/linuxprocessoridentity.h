// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

#include "processoridentity.h"

namespace veltaro {

// The brand index from the processor itself (CPUID) on x86, elsewhere
// none; the rest from processor 0 of <procRoot>/cpuinfo, as the kernel
// saw it at boot.
class LinuxProcessorIdentity final : public ProcessorIdentity {
public:
    explicit LinuxProcessorIdentity(std::filesystem::path procRoot = "/proc");

    std::optional<std::uint8_t> brandIndex() override;
    std::optional<IdentifiedProcessor> identify() override;

private:
    std::filesystem::path m_procRoot;
};

}  // namespace veltaro
