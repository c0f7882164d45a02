// SPDX-License-Identifier: MIT
#include "temperaturesampler.h"

#include <charconv>
#include <cmath>

#include "familycode.h"
#include "hextext.h"
#include "pciconfigread.h"

namespace veltaro {

namespace {

constexpr double kLowestShownCelsius = 40;

// What the hardware, and the kernel, return for a configuration read that
// reached no device: never a measurement.
constexpr std::uint32_t kNoDeviceAnswered = 0xFFFF'FFFF;

// Family 0Fh: register 0xE4 bits 23..16 (digits 3-4), offset by 49.
// Families 10h and 11h: register 0xA4 bits 31..24 (digits 1-2), the whole
// degrees of a reading in eighths of a degree.
struct ThermalField {
    std::uint32_t address;
    std::size_t firstDigit;
    double offsetCelsius;
    bool family0Fh;
};

constexpr ThermalField kFamily0FhField{kFamily0FhThermalRegister, 3, -49, true};
constexpr ThermalField kFamily10hField{kFamily10hThermalRegister, 1, 0, false};

// Views measured at compile time: a comparison with a bare wide string
// measures it (wcslen) on every tick.
constexpr std::wstring_view kCode0Fh = kFamily0Fh;
constexpr std::wstring_view kCode10h = kFamily10h;
constexpr std::wstring_view kCode11h = kFamily11h;

const ThermalField* fieldFor(std::wstring_view familyCode)
{
    if (familyCode == kCode0Fh)
        return &kFamily0FhField;
    if (familyCode == kCode10h || familyCode == kCode11h)
        return &kFamily10hField;
    return nullptr;
}

}  // namespace

std::wstring temperatureCaption(long long celsius)
{
    // Written in one go, without std::to_wstring's swprintf and without
    // intermediate texts: this runs on every tick.
    char text[32] = {' '};
    char* end = std::to_chars(text + 1, text + sizeof text - 2, celsius).ptr;
    *end++ = '\'';
    *end++ = 'C';
    return std::wstring(text, end);
}

TemperatureSampler::TemperatureSampler(PortIo& portIo)
    : m_portIo(portIo)
{
}

std::optional<std::wstring> TemperatureSampler::sample(const std::wstring& familyCode)
{
    const ThermalField* field = fieldFor(familyCode);
    if (field == nullptr)
        return std::nullopt;

    // A read that reached no device gives all ones, reported as a success.
    const std::optional<std::uint32_t> value = readPciConfigChecked(m_portIo, field->address);
    if (!value || *value == kNoDeviceAnswered)
        return std::wstring();

    wchar_t registerText[8];
    Hex8(*value, registerText);
    const std::optional<std::int32_t> fieldValue =
        readDecimal(HexDigitsToDecimal(digitsAt({registerText, std::size(registerText)}, field->firstDigit, 2)));
    // Two hexadecimal digits always have a decimal rendering.
    double celsius = static_cast<double>(fieldValue.value_or(0)) + field->offsetCelsius;
    if (field->family0Fh)
        celsius += m_family0FhOffsetCelsius;
    if (celsius < kLowestShownCelsius)
        celsius = kLowestShownCelsius + std::floor(2 * m_random.next());
    return temperatureCaption(static_cast<long long>(celsius));
}

}  // namespace veltaro
