// SPDX-License-Identifier: MIT
#pragma once

#include "processoridentity.h"

namespace veltaro {

// The demo's processor as it would describe itself: the family 10h part
// of DemoNorthbridge and DemoRegistry, not the processor the demo runs on.
class DemoProcessorIdentity final : public ProcessorIdentity {
public:
    std::optional<std::uint8_t> brandIndex() override { return std::nullopt; }
    std::optional<IdentifiedProcessor> identify() override
    {
        return IdentifiedProcessor{"AuthenticAMD", 0x0010'0F42, "Simulated AMD Family 10h Processor"};
    }
};

}  // namespace veltaro
