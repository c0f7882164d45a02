// SPDX-License-Identifier: MIT
#include "windowsprocessoridentity.h"

#include <array>
#include <cstring>

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#define VELTARO_MSVC_CPUID 1
#elif defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define VELTARO_GNU_CPUID 1
#endif

namespace veltaro {

namespace {

constexpr unsigned kVendorFunction = 0;
constexpr unsigned kSignatureFunction = 1;
constexpr unsigned kHighestExtendedFunction = 0x8000'0000;
constexpr unsigned kExtendedSignatureFunction = 0x8000'0001;
constexpr unsigned kFirstBrandStringFunction = 0x8000'0002;
constexpr unsigned kLastBrandStringFunction = 0x8000'0004;
// EBX bits 13..9.
constexpr unsigned kBrandIndexShift = 9;
constexpr unsigned kBrandIndexMask = 0x1F;

using Registers = std::array<unsigned, 4>;  // EAX, EBX, ECX, EDX

// One CPUID function, or none where the processor does not have it: the
// highest basic or extended function is asked first.
std::optional<Registers> cpuid(unsigned function)
{
#if defined(VELTARO_MSVC_CPUID)
    int highest[4] = {};
    __cpuid(highest, static_cast<int>(function & kHighestExtendedFunction));
    if (static_cast<unsigned>(highest[0]) < function)
        return std::nullopt;
    int values[4] = {};
    __cpuid(values, static_cast<int>(function));
    return Registers{static_cast<unsigned>(values[0]), static_cast<unsigned>(values[1]),
                     static_cast<unsigned>(values[2]), static_cast<unsigned>(values[3])};
#elif defined(VELTARO_GNU_CPUID)
    Registers values{};
    if (__get_cpuid(function, &values[0], &values[1], &values[2], &values[3]) == 0)
        return std::nullopt;
    return values;
#else
    (void)function;
    return std::nullopt;
#endif
}

// The registers' bytes as text, lowest byte first.
void appendText(std::string& text, std::initializer_list<unsigned> registers)
{
    for (const unsigned value : registers) {
        char bytes[4];
        std::memcpy(bytes, &value, sizeof bytes);
        text.append(bytes, sizeof bytes);
    }
}

}  // namespace

std::optional<std::uint8_t> WindowsProcessorIdentity::brandIndex()
{
    const std::optional<Registers> values = cpuid(kExtendedSignatureFunction);
    if (!values)
        return std::nullopt;
    return static_cast<std::uint8_t>(((*values)[1] >> kBrandIndexShift) & kBrandIndexMask);
}

std::optional<IdentifiedProcessor> WindowsProcessorIdentity::identify()
{
    const std::optional<Registers> vendor = cpuid(kVendorFunction);
    const std::optional<Registers> signature = cpuid(kSignatureFunction);
    if (!vendor || !signature)
        return std::nullopt;
    IdentifiedProcessor processor;
    // The maker's name runs through EBX, EDX, ECX; the signature keeps
    // the family, model and stepping fields only.
    appendText(processor.vendor, {(*vendor)[1], (*vendor)[3], (*vendor)[2]});
    processor.signature = (*signature)[0] & 0x0FFF'0FFF;
    for (unsigned function = kFirstBrandStringFunction; function <= kLastBrandStringFunction; ++function) {
        const std::optional<Registers> part = cpuid(function);
        if (!part)
            break;
        appendText(processor.brandString, {(*part)[0], (*part)[1], (*part)[2], (*part)[3]});
    }
    // The name string is padded with NULs to its 48 bytes.
    processor.brandString.resize(std::strlen(processor.brandString.c_str()));
    return processor;
}

}  // namespace veltaro
