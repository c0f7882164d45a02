// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace veltaro {

// Raw port access as the port I/O driver library offers it. Every call
// returns the driver's own status; callers decide whether to look at it.
class PortIo {
public:
    virtual ~PortIo() = default;

    // Starts the driver. True: ports can now be read and written.
    virtual bool InitializeWinIo() = 0;

    // Writes the low `sizeBytes` bytes of `value` to `port`.
    virtual bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) = 0;

    // Reads `sizeBytes` bytes from `port` into `value`. A read the driver
    // does not perform leaves `value` untouched.
    virtual bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) = 0;
};

}  // namespace veltaro
