// SPDX-License-Identifier: MIT
#include "temperaturesampler.h"

#include <cmath>

#include "hextext.h"

namespace veltaro {

namespace {

constexpr double kLowestShownCelsius = 40;

// What the hardware returns for a configuration read that reached no
// device: never a measurement.
constexpr std::uint32_t kNoDeviceAnswered = 0xFFFF'FFFF;

// Thermtrip Status holds the degrees plus 49 in bits 23..16; all ones
// there is what a register that did not answer holds.
constexpr long long kThermtripFieldOffsetCelsius = 49;
constexpr long long kLargestThermtripField = 0xFF;

// The kernel's figure for a Reported Temperature Control of all ones:
// every eighth, 255.875 degrees, and since k10temp honours the range bits
// (set there) on every family, 49 degrees less than that. A die sensor
// whose eleven bits are all ones gives that lower figure as well.
constexpr long long kAllOnesMillidegrees = static_cast<long long>(kLargestEighths) * kMillidegreesPerEighth;
constexpr long long kAllOnesOtherRangeMillidegrees = kAllOnesMillidegrees - kOtherRangeMillidegrees;

long long floorDiv(long long value, long long divisor)
{
    const long long quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

// A figure in millidegrees that k10temp could give for a register that
// was read: not below zero, and none of what it makes of all ones.
bool withinSensorBounds(long long millidegrees)
{
    return millidegrees >= 0 && millidegrees < kAllOnesMillidegrees && millidegrees != kAllOnesOtherRangeMillidegrees;
}

// The reading of an Eighths or ZenEighths register in millidegrees
// Celsius, before the die offset, as the Linux kernel's k10temp reports it
// (its Tctl, without rounding up negative figures to zero).
long long controlMillidegrees(ThermalDecode decode, std::uint32_t value)
{
    long long millidegrees = static_cast<long long>(value >> kEighthsShift) * kMillidegreesPerEighth;
    const bool otherRange = (value & kOtherRangeBits) == kOtherRangeBits ||
                            (decode == ThermalDecode::ZenEighths && (value & kRangeSelectBit) != 0);
    if (otherRange)
        millidegrees -= kOtherRangeMillidegrees;
    return millidegrees;
}

// Families 0Fh, 10h and 11h go through the register text: two digits of it
// are the field, family 0Fh's offset by 49.
long long textFieldCelsius(std::uint32_t value, ThermalDecode decode)
{
    const bool thermtrip = decode == ThermalDecode::Thermtrip;
    wchar_t registerText[8];
    Hex8(value, registerText);
    wchar_t decimalText[kLongestDecimal];
    const std::optional<std::int32_t> field = readDecimal(
        HexDigitsToDecimal(digitsAt({registerText, std::size(registerText)}, thermtrip ? 3 : 1, 2), decimalText));
    // Two hexadecimal digits always have a decimal rendering.
    return static_cast<long long>(field.value_or(0)) - (thermtrip ? kThermtripFieldOffsetCelsius : 0);
}

std::optional<long long> registerCelsius(const ProcessorFamily& row, const DetectedFamily& processor,
                                         std::uint32_t value)
{
    if (value == kNoDeviceAnswered)
        return std::nullopt;
    switch (row.decode) {
    case ThermalDecode::Thermtrip:
        return textFieldCelsius(value, row.decode) + processor.family0FhOffsetCelsius;
    case ThermalDecode::WholeDegrees:
        return textFieldCelsius(value, row.decode);
    case ThermalDecode::Eighths:
    case ThermalDecode::ZenEighths:
        break;
    }
    const long long millidegrees =
        controlMillidegrees(row.decode, value) - static_cast<long long>(processor.dieOffsetCelsius) * 1000;
    if (millidegrees < 0)
        return std::nullopt;
    return millidegrees / 1000;
}

// The kernel's figure is already the die's, with the offsets the drivers
// know taken into account; what is left is to tell a measurement from
// what the drivers make of a register that could not be read.
std::optional<long long> kernelCelsius(const ProcessorFamily& row, const DetectedFamily& processor,
                                       long long millidegrees)
{
    const long long celsius = floorDiv(millidegrees, 1000);
    if (row.decode == ThermalDecode::Thermtrip) {
        // k8temp: the field less 49, plus the revision G offset.
        const long long field = celsius + kThermtripFieldOffsetCelsius - processor.family0FhOffsetCelsius;
        if (field < 0 || field >= kLargestThermtripField)
            return std::nullopt;
        return celsius;
    }
    // k10temp: the control reading less the die offset. The readout shows
    // no reading below 0 degrees (the kernel rounds those up to 0 but on
    // the few parts rated below freezing).
    const long long control = millidegrees + static_cast<long long>(processor.dieOffsetCelsius) * 1000;
    if (millidegrees < 0 || !withinSensorBounds(control))
        return std::nullopt;
    return celsius;
}

bool replacesLowReadings(ThermalDecode decode)
{
    return decode == ThermalDecode::Thermtrip || decode == ThermalDecode::WholeDegrees;
}

}  // namespace

std::wstring temperatureCaption(long long celsius)
{
    return L' ' + std::to_wstring(celsius) + L"'C";
}

std::optional<long long> celsiusOf(const ProcessorFamily& row, const DetectedFamily& processor,
                                   const SourceReading& reading)
{
    if (reading.kind == SourceReading::Kind::KernelMillidegrees)
        return kernelCelsius(row, processor, reading.value);
    return registerCelsius(row, processor, static_cast<std::uint32_t>(reading.value));
}

std::optional<long long> dieCelsiusOf(const SourceReading& reading)
{
    long long millidegrees = reading.value;
    if (reading.kind == SourceReading::Kind::RegisterValue) {
        const auto value = static_cast<std::uint32_t>(reading.value);
        if ((value & kDieTemperatureValidBit) == 0)
            return std::nullopt;
        millidegrees = static_cast<long long>(value & kDieTemperatureMask) * kMillidegreesPerEighth -
                       kDieTemperatureZeroMillidegrees;
    }
    if (!withinSensorBounds(millidegrees))
        return std::nullopt;
    return floorDiv(millidegrees, 1000);
}

TemperatureSampler::TemperatureSampler(ReadingSource& source)
    : m_source(source)
{
    holdRowOf(m_processor.familyCode);
}

void TemperatureSampler::setProcessor(const DetectedFamily& processor)
{
    m_processor = processor;
    holdRowOf(m_processor.familyCode);
}

void TemperatureSampler::holdRowOf(const std::wstring& familyCode)
{
    m_heldFamilyCode = familyCode;
    m_row = findProcessorFamily(m_processor.vendor, familyCode, m_processor.model);
    // A processor the table does not hold, under its own FamilyCode: the
    // kernel's figure, where the source has one for it.
    if (m_row == nullptr && !familyCode.empty() && familyCode == m_processor.familyCode &&
        m_processor.vendor != ProcessorVendor::Other && m_source.readsUnlistedProcessor())
        m_row = &kKernelFigureOnly;
}

std::optional<std::wstring_view> TemperatureSampler::sample(const std::wstring& familyCode)
{
    if (familyCode != m_heldFamilyCode)
        holdRowOf(familyCode);
    m_lastCelsius.reset();
    m_shownCelsius.reset();
    if (m_row == nullptr)
        return std::nullopt;

    const std::optional<SourceReading> reading = m_source.read(*m_row);
    const std::optional<long long> celsius = reading ? celsiusOf(*m_row, m_processor, *reading) : std::nullopt;
    if (!celsius) {
        m_caption.clear();
        return m_caption;
    }
    m_lastCelsius = celsius;
    if (!m_highestCelsius || *celsius > *m_highestCelsius)
        m_highestCelsius = celsius;
    long long shown = *celsius;
    if (replacesLowReadings(m_row->decode) && shown < kLowestShownCelsius)
        shown = static_cast<long long>(kLowestShownCelsius + std::floor(2 * m_random.next()));
    m_shownCelsius = shown;
    // Written into the caption's own room, which a tick's few characters
    // fit once it has held one: a tick allocates nothing.
    wchar_t digits[kLongestDecimal];
    m_caption = L' ';
    m_caption += writeDecimal(shown, digits);
    m_caption += L"'C";
    return m_caption;
}

}  // namespace veltaro
