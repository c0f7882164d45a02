// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace veltaro {

// The PCI configuration mechanism behind I/O ports 0xCF8 and 0xCFC: a
// 32-bit address written to 0xCF8 selects a register, 0xCFC then reads it.
inline constexpr std::uint16_t kConfigAddressPort = 0x0CF8;
inline constexpr std::uint16_t kConfigDataPort = 0x0CFC;
// Every access of the mechanism is a double word.
inline constexpr std::uint8_t kConfigAccessBytes = 4;

// Bit 31 enables the configuration cycle; while it is clear, accesses
// to 0xCFC pass through as ordinary port I/O.
inline constexpr std::uint32_t kConfigEnableBit = 0x8000'0000;

struct PciFunctionAddress {
    std::uint8_t bus = 0;
    std::uint8_t device = 0;    // 0..31
    std::uint8_t function = 0;  // 0..7

    friend bool operator==(const PciFunctionAddress&, const PciFunctionAddress&) = default;
};

struct ConfigAddress {
    PciFunctionAddress function;
    std::uint8_t registerOffset = 0;  // always a multiple of 4
};

constexpr ConfigAddress decodeConfigAddress(std::uint32_t address)
{
    return {{static_cast<std::uint8_t>((address >> 16) & 0xFF), static_cast<std::uint8_t>((address >> 11) & 0x1F),
             static_cast<std::uint8_t>((address >> 8) & 0x07)},
            static_cast<std::uint8_t>(address & 0xFC)};
}

// The processor's northbridge function: bus 0, device 24, function 3.
inline constexpr PciFunctionAddress kNorthbridgeFunction{0, 24, 3};

// Node n's northbridge function: device 24 + n.
constexpr PciFunctionAddress nodeFunction(unsigned node)
{
    return {0, static_cast<std::uint8_t>(kNorthbridgeFunction.device + node), kNorthbridgeFunction.function};
}

}  // namespace veltaro
