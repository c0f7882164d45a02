// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace veltaro {

class PortIo;

// Configuration addresses of the northbridge function's registers
// (enable bit, bus 0, device 24, function 3, register offset).
inline constexpr std::uint32_t kSignatureRegister = 0x8000'C3FC;
inline constexpr std::uint32_t kFamily0FhThermalRegister = 0x8000'C3E4;
inline constexpr std::uint32_t kFamily10hThermalRegister = 0x8000'C3A4;

// One register read through the configuration ports. Both port calls are
// always made. The value is whatever the data port left in a holder that
// starts at 0, so a read the driver does not perform gives 0.
std::uint32_t PciConfigRead(PortIo& portIo, std::uint32_t address);

// The same read, but empty when the driver reports that either port call
// failed: for callers that must not take a failed read for a value.
std::optional<std::uint32_t> readPciConfigChecked(PortIo& portIo, std::uint32_t address);

}  // namespace veltaro
