// SPDX-License-Identifier: MIT
#include "readoutdetails.h"

#include <algorithm>

#include "temperaturesampler.h"

namespace veltaro {

namespace {

// "Node 0: 52'C" or "Node 0: -".
void appendLine(std::wstring& text, const wchar_t* lead, unsigned number, std::optional<long long> celsius)
{
    if (!text.empty())
        text += L'\n';
    text += lead;
    text += std::to_wstring(number);
    text += L':';
    text += celsius ? temperatureCaption(*celsius) : std::wstring(L" -");
}

}  // namespace

ReadoutDetails::ReadoutDetails(ReadingSource& source)
    : m_source(source)
{
}

std::wstring ReadoutDetails::text(const TemperatureSampler& sampler)
{
    std::wstring text;
    const ProcessorFamily* row = sampler.row();
    if (row != nullptr) {
        const unsigned nodes = std::clamp(m_source.nodeCount(*row), 1u, kMaxNodes);
        for (unsigned node = 0; node < nodes; ++node) {
            std::optional<long long> celsius = sampler.lastCelsius();
            if (node != 0) {
                const std::optional<SourceReading> reading = m_source.readNode(*row, node);
                celsius = reading ? celsiusOf(*row, sampler.processor(), *reading) : std::nullopt;
            }
            appendLine(text, L"Node ", node, celsius);
            appendDies(text, *row, sampler.processor(), node);
        }
    }
    if (!text.empty())
        text += L'\n';
    text += L"Highest since start:";
    const std::optional<long long> highest = sampler.highestCelsius();
    text += highest ? temperatureCaption(*highest) : std::wstring(L" -");
    return text;
}

void ReadoutDetails::appendDies(std::wstring& text, const ProcessorFamily& row, const DetectedFamily& processor,
                                unsigned node)
{
    const DieSensorLayout layout = dieSensorsOf(row, processor.model);
    for (unsigned number = 1; number <= kMaxDieSensors; ++number) {
        DieSensor die{number, std::nullopt};
        if (number <= layout.count)
            die.smnAddress = dieTemperatureAddress(layout, number - 1);
        const std::optional<SourceReading> reading = m_source.readDie(node, die);
        const std::optional<long long> celsius = reading ? dieCelsiusOf(*reading) : std::nullopt;
        const std::size_t seen = node * kMaxDieSensors + (number - 1);
        if (celsius)
            m_diesSeen.set(seen);
        if (m_diesSeen.test(seen))
            appendLine(text, L"  CCD ", number, celsius);
    }
}

}  // namespace veltaro
