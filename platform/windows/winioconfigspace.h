// SPDX-License-Identifier: MIT
#pragma once

#include "configspace.h"
#include "winioportio.h"

namespace veltaro {

// The PCI configuration mechanism behind I/O ports 0xCF8 and 0xCFC,
// through the port driver: a 32-bit address written to 0xCF8 selects a
// register, 0xCFC then reads or writes it. Both ports are always accessed
// with a transfer size of 4 bytes. Whoever holds a sequence of these
// accesses together (an index write, then its data read) holds the
// configuration space lock around it.
inline constexpr std::uint16_t kConfigAddressPort = 0x0CF8;
inline constexpr std::uint16_t kConfigDataPort = 0x0CFC;
inline constexpr std::uint8_t kConfigAccessBytes = 4;

// Bit 31 enables the configuration cycle; while it is clear, accesses
// to 0xCFC pass through as ordinary port I/O.
inline constexpr std::uint32_t kConfigEnableBit = 0x8000'0000;

constexpr std::uint32_t configAddressOf(const PciFunctionAddress& function, std::uint8_t offset)
{
    return kConfigEnableBit | std::uint32_t{function.bus} << 16 | std::uint32_t{function.device} << 11 |
           std::uint32_t{function.function} << 8 | (offset & 0xFCu);
}

class WinIoConfigSpace final : public ConfigSpace {
public:
    // The driver's start: InitializeWinIo.
    bool start() override;
    // The address to 0xCF8, then 0xCFC read into a holder that starts at
    // 0. Both port calls are always made; empty when the driver reports
    // either as not done.
    std::optional<std::uint32_t> read(const PciFunctionAddress& function, std::uint8_t offset) override;
    bool write(const PciFunctionAddress& function, std::uint8_t offset, std::uint32_t value) override;

private:
    WinIoPortIo m_ports;
};

}  // namespace veltaro
