// SPDX-License-Identifier: MIT
#pragma once

#include "processoridentity.h"

namespace veltaro {

// Asks the processor itself (CPUID), with the compiler's intrinsic: an
// instruction any program may run, no driver needed.
class WindowsProcessorIdentity final : public ProcessorIdentity {
public:
    std::optional<std::uint8_t> brandIndex() override;
    std::optional<IdentifiedProcessor> identify() override;
};

}  // namespace veltaro
