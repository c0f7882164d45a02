// SPDX-License-Identifier: MIT
#include "simulatednorthbridge.h"

#include <algorithm>

namespace veltaro {

namespace {

// The address without the two low bits, which the mechanism ignores.
constexpr std::uint32_t kRegisterMask = 0xFFFF'FFFC;

}  // namespace

SimulatedNorthbridge::SimulatedNorthbridge()
    : m_functions{kNorthbridgeFunction}
{
}

void SimulatedNorthbridge::setRegister(std::uint8_t offset, std::uint32_t value)
{
    m_registers[northbridgeRegister(offset) & kRegisterMask] = value;
}

void SimulatedNorthbridge::setNodeRegister(unsigned node, std::uint8_t offset, std::uint32_t value)
{
    const PciFunctionAddress function = nodeFunction(node);
    if (!present(function))
        m_functions.push_back(function);
    m_registers[(northbridgeRegister(offset) + (node << 11)) & kRegisterMask] = value;
}

void SimulatedNorthbridge::setIndexedRegister(const IndexedRegister& pair, std::uint32_t value)
{
    const PciFunctionAddress function = decodeConfigAddress(pair.dataAddress).function;
    if (!present(function))
        m_functions.push_back(function);
    const std::uint32_t dataAddress = pair.dataAddress & kRegisterMask;
    auto found = std::find_if(m_pairs.begin(), m_pairs.end(),
                              [&](const IndexedMap& map) { return map.dataAddress == dataAddress; });
    if (found == m_pairs.end())
        found = m_pairs.insert(m_pairs.end(), {pair.indexAddress & kRegisterMask, dataAddress, {}});
    found->values[pair.index] = value;
}

bool SimulatedNorthbridge::present(const PciFunctionAddress& function) const
{
    return std::find(m_functions.begin(), m_functions.end(), function) != m_functions.end();
}

bool SimulatedNorthbridge::InitializeWinIo()
{
    return true;
}

bool SimulatedNorthbridge::SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes)
{
    if (sizeBytes != kConfigAccessBytes)
        return false;
    if (port == kConfigAddressPort) {
        m_latchedAddress = value;
        return true;
    }
    if (port != kConfigDataPort || (m_latchedAddress & kConfigEnableBit) == 0)
        return false;
    if (present(decodeConfigAddress(m_latchedAddress).function))
        m_registers[m_latchedAddress & kRegisterMask] = value;
    return true;
}

bool SimulatedNorthbridge::GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes)
{
    if (port != kConfigDataPort || sizeBytes != kConfigAccessBytes || (m_latchedAddress & kConfigEnableBit) == 0)
        return false;
    const ConfigAddress address = decodeConfigAddress(m_latchedAddress);
    if (!present(address.function)) {
        value = 0xFFFF'FFFF;
        return true;
    }
    if (address.function == kNorthbridgeFunction)
        beforeRead(address.registerOffset);
    const std::uint32_t registerAddress = m_latchedAddress & kRegisterMask;
    const auto pair = std::find_if(m_pairs.begin(), m_pairs.end(),
                                   [&](const IndexedMap& map) { return map.dataAddress == registerAddress; });
    if (pair != m_pairs.end()) {
        const auto index = m_registers.find(pair->indexAddress);
        const auto found = index == m_registers.end() ? pair->values.end() : pair->values.find(index->second);
        value = found == pair->values.end() ? 0 : found->second;
        return true;
    }
    const auto found = m_registers.find(registerAddress);
    value = found == m_registers.end() ? 0 : found->second;
    return true;
}

}  // namespace veltaro
