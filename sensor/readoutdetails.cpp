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

std::wstring ReadoutDetails::text(const TemperatureSampler& sampler, CallBudget* budget)
{
    std::wstring text;
    const ProcessorFamily* row = sampler.row();
    if (row != nullptr) {
        if (budget == nullptr || !budget->spent()) {
            const auto count = [&] { return m_source.nodeCount(*row); };
            m_nodes = std::clamp(budget != nullptr ? budget->timed(count) : count(), 1u, kMaxNodes);
        }
        readFigures(*row, sampler.processor(), budget);
        for (unsigned node = 0; node < m_nodes; ++node) {
            const std::size_t first = std::size_t{node} * kFiguresPerNode;
            appendLine(text, L"Node ", node, node == 0 ? sampler.lastCelsius() : m_celsius[first]);
            for (unsigned number = 1; number <= kMaxDieSensors; ++number) {
                if (m_diesSeen.test(node * kMaxDieSensors + (number - 1)))
                    appendLine(text, L"  CCD ", number, m_celsius[first + number]);
            }
        }
    }
    if (!text.empty())
        text += L'\n';
    text += L"Highest since start:";
    const std::optional<long long> highest = sampler.highestCelsius();
    text += highest ? temperatureCaption(*highest) : std::wstring(L" -");
    return text;
}

void ReadoutDetails::readFigures(const ProcessorFamily& row, const DetectedFamily& processor, CallBudget* budget)
{
    const DieSensorLayout layout = dieSensorsOf(row, processor.model);
    const unsigned figures = m_nodes * kFiguresPerNode;
    for (unsigned done = 0; done < figures; ++done) {
        const unsigned figure = (m_resumeAt + done) % figures;
        if (budget != nullptr && budget->spent()) {
            m_resumeAt = figure;
            return;
        }
        const unsigned node = figure / kFiguresPerNode;
        const unsigned number = figure % kFiguresPerNode;
        if (number == 0 && node == 0)
            continue;
        const auto read = [&]() -> std::optional<long long> {
            if (number == 0) {
                const std::optional<SourceReading> reading = m_source.readNode(row, node);
                return reading ? celsiusOf(row, processor, *reading) : std::nullopt;
            }
            DieSensor die{number, std::nullopt};
            if (number <= layout.count)
                die.smnAddress = dieTemperatureAddress(layout, number - 1);
            const std::optional<SourceReading> reading = m_source.readDie(node, die);
            return reading ? dieCelsiusOf(*reading) : std::nullopt;
        };
        m_celsius[figure] = budget != nullptr ? budget->timed(read) : read();
        if (number != 0 && m_celsius[figure])
            m_diesSeen.set(node * kMaxDieSensors + (number - 1));
    }
}

}  // namespace veltaro
