// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace veltaro {

struct PciFunctionAddress {
    std::uint8_t bus = 0;
    std::uint8_t device = 0;    // 0..31
    std::uint8_t function = 0;  // 0..7

    friend bool operator==(const PciFunctionAddress&, const PciFunctionAddress&) = default;
};

// The processor's northbridge function: bus 0, device 24, function 3.
inline constexpr PciFunctionAddress kNorthbridgeFunction{0, 24, 3};

// Node n's northbridge function: device 24 + n.
constexpr PciFunctionAddress nodeFunction(unsigned node)
{
    return {0, static_cast<std::uint8_t>(kNorthbridgeFunction.device + node), kNorthbridgeFunction.function};
}

// One way of reaching PCI configuration space: the 32-bit register at a
// function's offset (a multiple of 4), read and, where the way allows it,
// written. Each way is its own: the port driver's configuration ports, the
// kernel's configuration files, a simulated processor.
class ConfigSpace {
public:
    virtual ~ConfigSpace() = default;

    // Opens the way, once at start-up. False: there is none.
    virtual bool start() = 0;
    // Empty when the register could not be read. A function that is not
    // there reads all ones, as on the hardware.
    virtual std::optional<std::uint32_t> read(const PciFunctionAddress& function, std::uint8_t offset) = 0;
    // False where the write was not done, or the way allows none.
    virtual bool write(const PciFunctionAddress& function, std::uint8_t offset, std::uint32_t value) = 0;
};

}  // namespace veltaro
