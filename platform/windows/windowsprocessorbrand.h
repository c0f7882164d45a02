// SPDX-License-Identifier: MIT
#pragma once

#include "processorbrand.h"

namespace veltaro {

// Asks the processor itself (CPUID), with the compiler's intrinsic.
class WindowsProcessorBrand final : public ProcessorBrand {
public:
    std::optional<std::uint8_t> brandIndex() override;
};

}  // namespace veltaro
