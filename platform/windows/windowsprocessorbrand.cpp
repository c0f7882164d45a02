// SPDX-License-Identifier: MIT
#include "windowsprocessorbrand.h"

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#define VELTARO_MSVC_CPUID 1
#elif defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define VELTARO_GNU_CPUID 1
#endif

namespace veltaro {

namespace {

constexpr unsigned kExtendedSignatureFunction = 0x8000'0001;
// EBX bits 13..9.
constexpr unsigned kBrandIndexShift = 9;
constexpr unsigned kBrandIndexMask = 0x1F;

}  // namespace

std::optional<std::uint8_t> WindowsProcessorBrand::brandIndex()
{
#if defined(VELTARO_MSVC_CPUID)
    constexpr unsigned kHighestExtendedFunction = 0x8000'0000;
    int registers[4] = {};
    __cpuid(registers, static_cast<int>(kHighestExtendedFunction));
    if (static_cast<unsigned>(registers[0]) < kExtendedSignatureFunction)
        return std::nullopt;
    __cpuid(registers, static_cast<int>(kExtendedSignatureFunction));
    return static_cast<std::uint8_t>((static_cast<unsigned>(registers[1]) >> kBrandIndexShift) & kBrandIndexMask);
#elif defined(VELTARO_GNU_CPUID)
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    // MinGW's compilers: __get_cpuid checks the highest extended function first.
    if (__get_cpuid(kExtendedSignatureFunction, &eax, &ebx, &ecx, &edx) == 0)
        return std::nullopt;
    return static_cast<std::uint8_t>((ebx >> kBrandIndexShift) & kBrandIndexMask);
#else
    return std::nullopt;
#endif
}

}  // namespace veltaro
