// SPDX-License-Identifier: MIT
#include "revisiongoffset.h"

#include <algorithm>
#include <initializer_list>

#include "processoridentity.h"
#include "processorsignature.h"

namespace veltaro {

namespace {

constexpr unsigned kFamily0Fh = 0xF;
constexpr unsigned kFirstRevisionGModel = 0x69;

bool isOneOf(unsigned value, std::initializer_list<unsigned> values)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool isRevisionGDesktop(unsigned model, ProcessorIdentity& brand)
{
    if (model < kFirstRevisionGModel || isOneOf(model, {0xC1, 0x6C, 0x7C}))
        return false;
    const bool singleCoreAsb1Candidate = isOneOf(model, {0x6F, 0x7F});
    const bool dualCoreAsb1Candidate = model == 0x6B;
    if (!singleCoreAsb1Candidate && !dualCoreAsb1Candidate)
        return true;
    // Without a brand index the socket cannot be told: like the kernel's
    // rule, the part counts as a desktop part unless its brand says ASB1.
    const std::optional<std::uint8_t> index = brand.brandIndex();
    if (!index)
        return true;
    if (singleCoreAsb1Candidate)
        return !isOneOf(*index, {0x7, 0x9, 0xC});
    return !isOneOf(*index, {0xB, 0xC});
}

}  // namespace

int revisionGOffsetCelsius(std::uint32_t signature, ProcessorIdentity& brand)
{
    // Other families (or a register that did not answer, all ones) have
    // no such offset, whatever their model numbers.
    if (processorFamily(signature) != kFamily0Fh)
        return 0;
    return isRevisionGDesktop(processorModel(signature), brand) ? kRevisionGOffsetCelsius : 0;
}

}  // namespace veltaro
