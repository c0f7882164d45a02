// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "simulatedprocessor.h"

namespace veltaro {

// A family 10h processor whose temperature wanders slowly between about 35
// and 65 degrees, so that the replacement of readings below 40 shows too.
// It has a second node, a few degrees cooler, so that the readout's
// tooltip has more than one figure to show.
class DemoNorthbridge final : public SimulatedProcessor {
public:
    using Clock = std::chrono::steady_clock;

    DemoNorthbridge();

    // Register 0xA4 as it reads `elapsed` after start.
    static std::uint32_t thermalRegisterAt(Clock::duration elapsed);
    // Degrees Celsius at `elapsed` after start, before the register's eighths.
    static double celsiusAt(Clock::duration elapsed);
    Clock::duration elapsed() const { return Clock::now() - m_start; }

protected:
    void beforeRead(std::uint8_t offset) override;

private:
    Clock::time_point m_start = Clock::now();
};

}  // namespace veltaro
