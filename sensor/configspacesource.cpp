// SPDX-License-Identifier: MIT
#include "configspacesource.h"

#include <utility>

#include "pciconfigread.h"

namespace veltaro {

namespace {

// The device field of a configuration address: node n's functions sit at
// device 24 + n.
constexpr std::uint32_t kDeviceStep = 1u << 11;
constexpr std::uint32_t kNoDeviceAnswered = 0xFFFF'FFFF;

constexpr std::uint32_t thermalRegisterAddress(ThermalRegister where)
{
    return where == ThermalRegister::ThermtripStatus ? kThermtripStatusRegister : kReportedTemperatureRegister;
}

std::optional<SourceReading> registerReading(std::optional<std::uint32_t> value)
{
    if (!value)
        return std::nullopt;
    return SourceReading::registerValue(*value);
}

}  // namespace

ConfigSpaceSource::ConfigSpaceSource(ConfigSpace& configSpace, ConfigSpaceLock& lock)
    : m_configSpace(configSpace)
    , m_lock(lock)
{
}

ConfigSpaceSource::ConfigSpaceSource(std::unique_ptr<ConfigSpace> configSpace, std::unique_ptr<ConfigSpaceLock> lock)
    : m_ownedConfigSpace(std::move(configSpace))
    , m_ownedLock(std::move(lock))
    , m_configSpace(*m_ownedConfigSpace)
    , m_lock(*m_ownedLock)
{
}

bool ConfigSpaceSource::start()
{
    return m_configSpace.start();
}

std::optional<std::uint32_t> ConfigSpaceSource::signatureRegister()
{
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    // A read that was not done gives 0, which holds no signature.
    return PciConfigRead(m_configSpace, kSignatureRegister);
}

std::optional<SourceReading> ConfigSpaceSource::read(const ProcessorFamily& row)
{
    return registerReading(readRegister(row, 0));
}

std::optional<std::uint32_t> ConfigSpaceSource::readRegister(const ProcessorFamily& row, unsigned node)
{
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    if (const IndexedRegister* pair = indexPairOf(row.thermalRegister))
        return node == 0 ? readIndexed(m_configSpace, *pair) : std::nullopt;
    return readConfigRegister(m_configSpace, thermalRegisterAddress(row.thermalRegister) + node * kDeviceStep);
}

unsigned ConfigSpaceSource::nodeCount(const ProcessorFamily& row)
{
    if (indexPairOf(row.thermalRegister) != nullptr)
        return 1;
    if (!m_nodes) {
        // Register 0 holds the function's vendor and device; absent
        // functions read all ones. Nodes are numbered without gaps.
        unsigned nodes = 1;
        while (nodes < kMaxNodes) {
            std::optional<std::uint32_t> id;
            if (const ConfigSpaceGuard guard(m_lock); guard.held())
                id = m_configSpace.read(nodeFunction(nodes), 0);
            if (!id || *id == kNoDeviceAnswered || *id == 0)
                break;
            ++nodes;
        }
        m_nodes = nodes;
    }
    return *m_nodes;
}

std::optional<SourceReading> ConfigSpaceSource::readNode(const ProcessorFamily& row, unsigned node)
{
    if (node >= kMaxNodes)
        return std::nullopt;
    return registerReading(readRegister(row, node));
}

std::optional<SourceReading> ConfigSpaceSource::readDie(unsigned node, const DieSensor& die)
{
    if (node != 0 || !die.smnAddress)
        return std::nullopt;
    IndexedRegister pair = kSmnReportedTemperature;
    pair.index = *die.smnAddress;
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    return registerReading(readIndexed(m_configSpace, pair));
}

}  // namespace veltaro
