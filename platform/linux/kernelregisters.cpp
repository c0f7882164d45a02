// SPDX-License-Identifier: MIT
#include "kernelregisters.h"

#include "processorfamilies.h"

namespace veltaro {

namespace {

// k8temp: bits 23..16 less 49 degrees. All ones there gives 206 degrees.
constexpr long long kThermtripFieldOffsetCelsius = 49;
constexpr long long kLargestThermtripField = 0xFF;

// k10temp's figure for a register of all ones: every eighth, 255.875
// degrees; since the kernel honours bits 17..16 (both set) on every
// family, 49 degrees less than that.
constexpr long long kAllOnesMillidegrees = static_cast<long long>(kLargestEighths) * kMillidegreesPerEighth;
constexpr long long kAllOnesOtherRangeMillidegrees = kAllOnesMillidegrees - kOtherRangeMillidegrees;

long long floorDiv(long long value, long long divisor)
{
    const long long quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

}  // namespace

std::optional<std::uint32_t> thermtripStatusFromKernel(long long millidegrees, int revisionGOffsetCelsius)
{
    const long long field = floorDiv(millidegrees, 1000) + kThermtripFieldOffsetCelsius - revisionGOffsetCelsius;
    if (field < 0 || field >= kLargestThermtripField)
        return std::nullopt;
    return static_cast<std::uint32_t>(field) << 16;
}

std::optional<std::uint32_t> reportedTemperatureFromKernel(long long millidegrees, int dieOffsetCelsius)
{
    // The program shows no reading below 0 degrees; k10temp itself rounds
    // such readings up to 0 but on the few parts rated below freezing.
    if (millidegrees < 0 || millidegrees >= kAllOnesMillidegrees)
        return std::nullopt;
    const long long control = millidegrees + static_cast<long long>(dieOffsetCelsius) * 1000;
    if (control >= kAllOnesMillidegrees || control == kAllOnesOtherRangeMillidegrees)
        return std::nullopt;
    return static_cast<std::uint32_t>(control / kMillidegreesPerEighth) << kEighthsShift;
}

}  // namespace veltaro
