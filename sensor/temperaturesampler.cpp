// SPDX-License-Identifier: MIT
#include "temperaturesampler.h"

#include <charconv>
#include <cmath>

#include "hextext.h"
#include "pciconfigread.h"

namespace veltaro {

namespace {

constexpr double kLowestShownCelsius = 40;

// What the hardware, and the kernel, return for a configuration read that
// reached no device: never a measurement.
constexpr std::uint32_t kNoDeviceAnswered = 0xFFFF'FFFF;

// Families 0Fh, 10h and 11h go through the register text: two digits of it
// are the field, family 0Fh's offset by 49.
double textFieldCelsius(std::uint32_t value, ThermalDecode decode)
{
    const bool thermtrip = decode == ThermalDecode::Thermtrip;
    wchar_t registerText[8];
    Hex8(value, registerText);
    const std::optional<std::int32_t> field =
        readDecimal(HexDigitsToDecimal(digitsAt({registerText, std::size(registerText)}, thermtrip ? 3 : 1, 2)));
    // Two hexadecimal digits always have a decimal rendering.
    return static_cast<double>(field.value_or(0)) - (thermtrip ? 49 : 0);
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

TemperatureSampler::TemperatureSampler(PortIo& portIo, ConfigSpaceLock& lock)
    : m_portIo(portIo)
    , m_lock(lock)
{
}

std::optional<std::wstring> TemperatureSampler::sample(const std::wstring& familyCode)
{
    const ProcessorFamily* row = findProcessorFamily(m_processor.vendor, familyCode, m_processor.model);
    if (row == nullptr)
        return std::nullopt;

    // A read that reached no device gives all ones, reported as a success.
    const std::optional<std::uint32_t> value = readThermalRegister(m_portIo, m_lock, row->thermalRegister);
    if (!value || *value == kNoDeviceAnswered)
        return std::wstring();

    if (row->decode == ThermalDecode::Thermtrip || row->decode == ThermalDecode::WholeDegrees) {
        double celsius = textFieldCelsius(*value, row->decode);
        if (row->decode == ThermalDecode::Thermtrip)
            celsius += m_processor.family0FhOffsetCelsius;
        if (celsius < kLowestShownCelsius)
            celsius = kLowestShownCelsius + std::floor(2 * m_random.next());
        return temperatureCaption(static_cast<long long>(celsius));
    }

    const long millidegrees =
        controlMillidegrees(row->decode, *value) - static_cast<long>(m_processor.dieOffsetCelsius) * 1000;
    if (millidegrees < 0)
        return std::wstring();
    return temperatureCaption(millidegrees / 1000);
}

}  // namespace veltaro
