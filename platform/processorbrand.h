// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace veltaro {

// The brand index of the processor this program runs on: bits 13..9 of
// EBX of CPUID function 0x80000001. On family 0Fh parts of revisions F and
// G it tells sockets apart that share a model number (the name string is
// built from it), which the configuration registers do not show.
class ProcessorBrand {
public:
    virtual ~ProcessorBrand() = default;

    // Empty where the processor does not report that function.
    virtual std::optional<std::uint8_t> brandIndex() = 0;
};

}  // namespace veltaro
