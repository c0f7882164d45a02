// SPDX-License-Identifier: MIT
#include "processorsignature.h"

namespace veltaro {

namespace {

constexpr unsigned kExtendedFamilyBase = 0xF;
// Below this base family the extended model field is not used.
constexpr unsigned kFirstFamilyWithExtendedModel = 6;

unsigned baseFamily(std::uint32_t signature)
{
    return (signature >> 8) & 0xF;
}

}  // namespace

std::optional<std::uint32_t> packProcessorSignature(unsigned family, unsigned model, unsigned stepping)
{
    if (family > kExtendedFamilyBase + 0xFF || model > 0xFF || stepping > 0xF)
        return std::nullopt;
    const unsigned base = family < kExtendedFamilyBase ? family : kExtendedFamilyBase;
    const unsigned extended = family - base;
    if (base < kFirstFamilyWithExtendedModel && model > 0xF)
        return std::nullopt;
    return extended << 20 | (model >> 4) << 16 | base << 8 | (model & 0xF) << 4 | stepping;
}

unsigned processorFamily(std::uint32_t signature)
{
    const unsigned base = baseFamily(signature);
    return base == kExtendedFamilyBase ? base + ((signature >> 20) & 0xFF) : base;
}

unsigned processorModel(std::uint32_t signature)
{
    const unsigned base = (signature >> 4) & 0xF;
    return baseFamily(signature) >= kFirstFamilyWithExtendedModel ? base | ((signature >> 12) & 0xF0) : base;
}

}  // namespace veltaro
