// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace veltaro {

// The thermal registers rebuilt from the figures of the kernel's sensor
// drivers, so that the program's own decoding of them gives the kernel's
// figure back in whole degrees (rounded down). Empty for a figure that is
// no measurement: below what the register can hold, past it, or what the
// driver makes of a register that reads all ones (no device answered).

// Thermtrip Status (F3xE4) from k8temp's figure: the whole degrees plus 49
// in bits 23..16, less the revision G offset that k8temp has added and the
// program adds again.
std::optional<std::uint32_t> thermtripStatusFromKernel(long long millidegrees, int revisionGOffsetCelsius);

// Reported Temperature Control (F3xA4 and its later places) from k10temp's
// figure: eighths of a degree in bits 31..21, with neither range bit set.
// `dieOffsetCelsius` is what the program subtracts from this processor's
// control reading; the figure is the die's (Tdie) or, where the kernel
// shows none, its control reading less the same offset.
std::optional<std::uint32_t> reportedTemperatureFromKernel(long long millidegrees, int dieOffsetCelsius);

}  // namespace veltaro
