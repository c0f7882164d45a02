// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veltaro {

// What the processor says of itself: its maker's name (CPUID function 0),
// its signature (function 1, EAX; laid out in processorsignature.h) and
// its name string (functions 0x80000002 to 0x80000004).
struct IdentifiedProcessor {
    std::string vendor;  // "AuthenticAMD", "HygonGenuine", ...
    std::uint32_t signature = 0;
    std::string brandString;
};

// The processor this program runs on, asked without any driver: on
// Windows the CPUID instruction itself, on Linux processor 0 of the
// kernel's /proc/cpuinfo.
class ProcessorIdentity {
public:
    virtual ~ProcessorIdentity() = default;

    // The brand index: bits 13..9 of EBX of CPUID function 0x80000001. On
    // family 0Fh parts of revisions F and G it tells sockets apart that
    // share a model number (the name string is built from it), which the
    // configuration registers do not show. Empty where the processor does
    // not report that function.
    virtual std::optional<std::uint8_t> brandIndex() = 0;

    // Empty when the processor cannot be asked.
    virtual std::optional<IdentifiedProcessor> identify() = 0;
};

}  // namespace veltaro
