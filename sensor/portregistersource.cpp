// SPDX-License-Identifier: MIT
#include "portregistersource.h"

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

}  // namespace

PortRegisterSource::PortRegisterSource(PortIo& portIo, ConfigSpaceLock& lock)
    : m_portIo(portIo)
    , m_lock(lock)
    , m_tickTakesLock(!lock.serialisedElsewhere())
{
}

PortRegisterSource::PortRegisterSource(std::unique_ptr<PortIo> portIo, std::unique_ptr<ConfigSpaceLock> lock)
    : m_ownedPortIo(std::move(portIo))
    , m_ownedLock(std::move(lock))
    , m_portIo(*m_ownedPortIo)
    , m_lock(*m_ownedLock)
    , m_tickTakesLock(!m_lock.serialisedElsewhere())
{
}

bool PortRegisterSource::start()
{
    return m_portIo.InitializeWinIo();
}

std::optional<std::uint32_t> PortRegisterSource::signatureRegister()
{
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    // The driver's status is not looked at here: a read it does not
    // perform leaves 0, which holds no signature.
    return PciConfigRead(m_portIo, kSignatureRegister);
}

[[gnu::hot]] std::optional<SourceReading> PortRegisterSource::read(const ProcessorFamily& row)
{
    // Where the system serialises configuration access itself, the tick
    // does without the lock's two calls, which do nothing there but cost
    // it measurably.
    if (!m_tickTakesLock)
        return readThermalRegister(row);
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    return readThermalRegister(row);
}

// Empty when the driver reports the read as failed.
[[gnu::hot]] std::optional<SourceReading> PortRegisterSource::readThermalRegister(const ProcessorFamily& row)
{
    const IndexedRegister* pair = indexPairOf(row.thermalRegister);
    const std::optional<std::uint32_t> value =
        pair != nullptr ? readIndexedChecked(m_portIo, *pair)
                        : readPciConfigChecked(m_portIo, thermalRegisterAddress(row.thermalRegister));
    if (!value)
        return std::nullopt;
    return SourceReading::registerValue(*value);
}

std::optional<std::uint32_t> PortRegisterSource::readUnderLock(std::uint32_t address)
{
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    return readPciConfigChecked(m_portIo, address);
}

unsigned PortRegisterSource::nodeCount(const ProcessorFamily& row)
{
    if (indexPairOf(row.thermalRegister) != nullptr)
        return 1;
    if (!m_nodes) {
        // Register 0 holds the function's vendor and device; absent
        // functions read all ones. Nodes are numbered without gaps.
        unsigned nodes = 1;
        while (nodes < kMaxNodes) {
            const std::optional<std::uint32_t> id = readUnderLock(northbridgeRegister(0) + nodes * kDeviceStep);
            if (!id || *id == kNoDeviceAnswered || *id == 0)
                break;
            ++nodes;
        }
        m_nodes = nodes;
    }
    return *m_nodes;
}

std::optional<SourceReading> PortRegisterSource::readNode(const ProcessorFamily& row, unsigned node)
{
    if (node == 0)
        return read(row);
    if (indexPairOf(row.thermalRegister) != nullptr || node >= kMaxNodes)
        return std::nullopt;
    const std::optional<std::uint32_t> value =
        readUnderLock(thermalRegisterAddress(row.thermalRegister) + node * kDeviceStep);
    if (!value)
        return std::nullopt;
    return SourceReading::registerValue(*value);
}

std::optional<SourceReading> PortRegisterSource::readDie(unsigned node, const DieSensor& die)
{
    if (node != 0 || !die.smnAddress)
        return std::nullopt;
    IndexedRegister pair = kSmnReportedTemperature;
    pair.index = *die.smnAddress;
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    const std::optional<std::uint32_t> value = readIndexedChecked(m_portIo, pair);
    if (!value)
        return std::nullopt;
    return SourceReading::registerValue(*value);
}

}  // namespace veltaro
