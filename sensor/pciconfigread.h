// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "configspace.h"
#include "configspacelock.h"
#include "processorfamilies.h"

namespace veltaro {

// The fields of a 32-bit configuration address (bit 31 enable, bus in
// bits 23..16, device 15..11, function 10..8, register 7..0).
struct ConfigAddress {
    PciFunctionAddress function;
    std::uint8_t registerOffset = 0;  // a multiple of 4
};

constexpr ConfigAddress decodeConfigAddress(std::uint32_t address)
{
    return {{static_cast<std::uint8_t>((address >> 16) & 0xFF), static_cast<std::uint8_t>((address >> 11) & 0x1F),
             static_cast<std::uint8_t>((address >> 8) & 0x07)},
            static_cast<std::uint8_t>(address & 0xFC)};
}

// The register at a configuration address; empty when it could not be read.
std::optional<std::uint32_t> readConfigRegister(ConfigSpace& configSpace, std::uint32_t address);

// One register read at a configuration address. A read that is not done
// gives 0.
std::uint32_t PciConfigRead(ConfigSpace& configSpace, std::uint32_t address);

// A register behind an index/data pair: the index is written to the index
// register, then the data register is read. Empty when either fails.
std::optional<std::uint32_t> readIndexed(ConfigSpace& configSpace, const IndexedRegister& pair);

// Holds the configuration space lock for one sequence of accesses, and
// gives it back when it goes.
class ConfigSpaceGuard {
public:
    explicit ConfigSpaceGuard(ConfigSpaceLock& lock)
        : m_lock(lock)
        , m_held(lock.acquire())
    {
    }
    ~ConfigSpaceGuard()
    {
        if (m_held)
            m_lock.release();
    }
    ConfigSpaceGuard(const ConfigSpaceGuard&) = delete;
    ConfigSpaceGuard& operator=(const ConfigSpaceGuard&) = delete;

    bool held() const { return m_held; }

private:
    ConfigSpaceLock& m_lock;
    bool m_held;
};

}  // namespace veltaro
