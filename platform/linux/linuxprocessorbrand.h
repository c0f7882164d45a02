// SPDX-License-Identifier: MIT
#pragma once

#include "processorbrand.h"

namespace veltaro {

// Asks the processor itself (CPUID) on x86; elsewhere there is no brand index.
class LinuxProcessorBrand final : public ProcessorBrand {
public:
    std::optional<std::uint8_t> brandIndex() override;
};

}  // namespace veltaro
