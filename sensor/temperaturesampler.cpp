// SPDX-License-Identifier: MIT
#include "temperaturesampler.h"

#include <algorithm>
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
// (set there) on every family, 49 degrees less than that.
constexpr long long kAllOnesMillidegrees = static_cast<long long>(kLargestEighths) * kMillidegreesPerEighth;
constexpr long long kAllOnesOtherRangeMillidegrees = kAllOnesMillidegrees - kOtherRangeMillidegrees;

long long floorDiv(long long value, long long divisor)
{
    const long long quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

// The functions every tick runs carry [[gnu::hot]]: the compiler keeps
// them together, so that the tick, which follows a system call that has
// left the caches cold, touches few lines of code.

// Families 0Fh, 10h and 11h go through the register text: two digits of it
// are the field, family 0Fh's offset by 49.
[[gnu::hot]] long long textFieldCelsius(std::uint32_t value, ThermalDecode decode)
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

[[gnu::hot]] std::optional<long long> registerCelsius(const ProcessorFamily& row, const DetectedFamily& processor,
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
[[gnu::hot]] std::optional<long long> kernelCelsius(const ProcessorFamily& row, const DetectedFamily& processor,
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
    if (millidegrees < 0 || control >= kAllOnesMillidegrees || control == kAllOnesOtherRangeMillidegrees)
        return std::nullopt;
    return celsius;
}

// The FamilyCode compared character by character: a few characters, where
// std::wstring's comparison calls the C library's wmemcmp on every tick.
bool sameText(std::wstring_view text, std::wstring_view other)
{
    if (text.size() != other.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != other[i])
            return false;
    }
    return true;
}

bool replacesLowReadings(ThermalDecode decode)
{
    return decode == ThermalDecode::Thermtrip || decode == ThermalDecode::WholeDegrees;
}

}  // namespace

std::wstring temperatureCaption(long long celsius)
{
    std::wstring caption;
    writeTemperatureCaption(celsius, caption);
    return caption;
}

[[gnu::hot]] void writeTemperatureCaption(long long celsius, std::wstring& caption)
{
    // This runs on every tick, into a text whose room is kept from tick to
    // tick: the characters are written in place rather than through
    // assign(), whose general copy costs more than a caption's few.
    wchar_t digits[kLongestDecimal] = {};
    const std::wstring_view decimal = writeDecimal(celsius, digits);
    const std::size_t length = decimal.size();
    if (caption.size() != length + 3)
        caption.resize(length + 3);
    wchar_t* const text = caption.data();
    text[0] = L' ';
    const wchar_t* decimalDigits = decimal.data();
    if (length <= 3 && decimalDigits + 3 <= std::end(digits)) [[likely]] {
        // Three characters whatever the length, without a loop (see
        // writeDecimal): the caption has room for them, the digits' buffer
        // holds them, and "'C" below overwrites what lies past the digits.
        text[1] = decimalDigits[0];
        text[2] = decimalDigits[1];
        text[3] = decimalDigits[2];
    } else {
        std::copy(decimal.begin(), decimal.end(), text + 1);
    }
    text[length + 1] = L'\'';
    text[length + 2] = L'C';
}

[[gnu::hot]] std::optional<long long> celsiusOf(const ProcessorFamily& row, const DetectedFamily& processor,
                                                const SourceReading& reading)
{
    if (reading.kind == SourceReading::Kind::KernelMillidegrees)
        return kernelCelsius(row, processor, reading.value);
    return registerCelsius(row, processor, static_cast<std::uint32_t>(reading.value));
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

std::optional<std::wstring> TemperatureSampler::sample(const std::wstring& familyCode)
{
    std::wstring caption;
    if (!sample(familyCode, caption))
        return std::nullopt;
    return caption;
}

[[gnu::hot]] bool TemperatureSampler::sample(const std::wstring& familyCode, std::wstring& caption)
{
    if (!sameText(familyCode, m_heldFamilyCode))
        holdRowOf(familyCode);
    m_lastCelsius.reset();
    if (m_row == nullptr)
        return false;

    const std::optional<SourceReading> reading = m_source.read(*m_row);
    const std::optional<long long> celsius = reading ? celsiusOf(*m_row, m_processor, *reading) : std::nullopt;
    if (!celsius) {
        caption.clear();
        m_shownCelsius.reset();
        return true;
    }
    m_lastCelsius = celsius;
    if (!m_highestCelsius || *celsius > *m_highestCelsius)
        m_highestCelsius = celsius;
    long long shown = *celsius;
    if (replacesLowReadings(m_row->decode) && shown < kLowestShownCelsius)
        shown = static_cast<long long>(kLowestShownCelsius + std::floor(2 * m_random.next()));
    writeTemperatureCaption(shown, caption);
    m_shownCelsius = shown;
    return true;
}

}  // namespace veltaro
