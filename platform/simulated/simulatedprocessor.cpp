// SPDX-License-Identifier: MIT
#include "simulatedprocessor.h"

#include <algorithm>

namespace veltaro {

namespace {

// The register a configuration address names, without the two low bits
// of its offset, which configuration space ignores.
constexpr PciFunctionAddress functionOf(std::uint32_t address)
{
    return {static_cast<std::uint8_t>((address >> 16) & 0xFF), static_cast<std::uint8_t>((address >> 11) & 0x1F),
            static_cast<std::uint8_t>((address >> 8) & 0x07)};
}

constexpr std::uint8_t offsetOf(std::uint32_t address)
{
    return static_cast<std::uint8_t>(address & 0xFC);
}

}  // namespace

SimulatedProcessor::SimulatedProcessor()
    : m_functions{kNorthbridgeFunction}
{
}

std::uint32_t& SimulatedProcessor::registerAt(const Register& where)
{
    const auto found =
        std::find_if(m_registers.begin(), m_registers.end(), [&](const auto& entry) { return entry.first == where; });
    if (found != m_registers.end())
        return found->second;
    return m_registers.emplace_back(where, 0).second;
}

void SimulatedProcessor::setRegister(std::uint8_t offset, std::uint32_t value)
{
    registerAt({kNorthbridgeFunction, static_cast<std::uint8_t>(offset & 0xFC)}) = value;
}

void SimulatedProcessor::setNodeRegister(unsigned node, std::uint8_t offset, std::uint32_t value)
{
    const PciFunctionAddress function = nodeFunction(node);
    if (!present(function))
        m_functions.push_back(function);
    registerAt({function, static_cast<std::uint8_t>(offset & 0xFC)}) = value;
}

void SimulatedProcessor::setIndexedRegister(const IndexedRegister& pair, std::uint32_t value)
{
    const Register data{functionOf(pair.dataAddress), offsetOf(pair.dataAddress)};
    if (!present(data.function))
        m_functions.push_back(data.function);
    auto found = std::find_if(m_pairs.begin(), m_pairs.end(), [&](const IndexedMap& map) { return map.data == data; });
    if (found == m_pairs.end())
        found = m_pairs.insert(m_pairs.end(), {{functionOf(pair.indexAddress), offsetOf(pair.indexAddress)}, data, {}});
    found->values[pair.index] = value;
}

bool SimulatedProcessor::present(const PciFunctionAddress& function) const
{
    return std::find(m_functions.begin(), m_functions.end(), function) != m_functions.end();
}

bool SimulatedProcessor::write(const PciFunctionAddress& function, std::uint8_t offset, std::uint32_t value)
{
    if (present(function))
        registerAt({function, static_cast<std::uint8_t>(offset & 0xFC)}) = value;
    return true;
}

std::optional<std::uint32_t> SimulatedProcessor::read(const PciFunctionAddress& function, std::uint8_t offset)
{
    if (!present(function))
        return 0xFFFF'FFFF;
    const Register where{function, static_cast<std::uint8_t>(offset & 0xFC)};
    if (function == kNorthbridgeFunction)
        beforeRead(where.offset);
    const auto pair =
        std::find_if(m_pairs.begin(), m_pairs.end(), [&](const IndexedMap& map) { return map.data == where; });
    if (pair != m_pairs.end()) {
        const auto found = pair->values.find(registerAt(pair->index));
        return found == pair->values.end() ? 0 : found->second;
    }
    return registerAt(where);
}

}  // namespace veltaro
