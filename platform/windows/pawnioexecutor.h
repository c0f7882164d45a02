// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>

namespace veltaro {

// The signed PawnIO driver's executor: a module (a signed blob) is loaded
// into it once, and from then on the module's own functions are run by
// name, with arrays of 64-bit values in and out. The driver runs nothing
// else, so what a module refuses (another processor, another register)
// cannot be read through it at all.
class PawnIoExecutor {
public:
    virtual ~PawnIoExecutor() = default;

    // Opens the executor and loads the module into it. False: no driver,
    // no right to its device, or a module it refuses (one not signed by
    // its maker, or one whose own start refused this processor).
    virtual bool load(std::span<const std::uint8_t> module) = 0;

    // Runs a function of the loaded module. False where it failed or
    // answered fewer values than `out` has room for.
    virtual bool execute(const char* function, std::span<const std::uint64_t> in, std::span<std::uint64_t> out) = 0;
};

}  // namespace veltaro
