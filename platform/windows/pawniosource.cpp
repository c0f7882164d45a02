// SPDX-License-Identifier: MIT
#include "pawniosource.h"

#include <utility>

#include "pciconfigread.h"
#include "processorsignature.h"

namespace veltaro {

namespace {

// ioctl_get_thermtrip knows processors 0 and 1 only, the two sockets of
// the largest family 0Fh boards it was written for.
constexpr unsigned kThermtripNodes = 2;
// Offset 0 of function 3, its vendor and device, is one of the three
// offsets ioctl_read_miscctl allows; it refuses a device that is not one
// of its processors' northbridges, which tells where the nodes end.
constexpr std::uint64_t kDeviceIdOffset = 0x00;
constexpr std::uint64_t kReportedTemperatureOffset = kReportedTemperatureRegister & 0xFF;
// Core 0's sensor, on whichever processor.
constexpr std::uint64_t kCore0 = 0;
constexpr int kProbeAttempts = 3;

}  // namespace

PawnIoSource::PawnIoSource(std::unique_ptr<PawnIoExecutor> executor, std::unique_ptr<ConfigSpaceLock> lock,
                           std::unique_ptr<ProcessorIdentity> identity, ModuleReader readModule)
    : m_executor(std::move(executor))
    , m_lock(std::move(lock))
    , m_identity(std::move(identity))
    , m_readModule(std::move(readModule))
{
}

bool PawnIoSource::start()
{
    if (m_module != Module::None)
        return true;
    const std::optional<IdentifiedProcessor> processor = m_identity->identify();
    if (!processor || vendorOf(processor->vendor) != ProcessorVendor::Amd)
        return false;
    const unsigned family = processorFamily(processor->signature);
    Module module = Module::None;
    const wchar_t* fileName = nullptr;
    if (family == 0x0F) {
        module = Module::Family0Fh;
        fileName = L"AMDFamily0F.bin";
    } else if (family >= 0x10 && family <= 0x16) {
        module = Module::Family10h;
        fileName = L"AMDFamily10.bin";
    } else if (family >= 0x17 && family <= 0x1A) {
        module = Module::Family17h;
        fileName = L"AMDFamily17.bin";
    } else {
        return false;
    }
    const std::optional<std::vector<std::uint8_t>> blob = m_readModule(fileName);
    if (!blob || blob->empty() || !m_executor->load(*blob))
        return false;
    m_module = module;
    // A module the driver took may still answer nothing: the way counts
    // once one reading has come through it. A few tries, as another
    // program may hold the configuration space a moment. A model the
    // table does not hold has no register to try, and shows no reading.
    const ProcessorFamily* row =
        findProcessorFamily(ProcessorVendor::Amd, family, processorModel(processor->signature));
    bool answered = row == nullptr;
    for (int attempt = 0; attempt < kProbeAttempts && !answered; ++attempt)
        answered = readRegister(*row, 0).has_value();
    if (!answered)
        m_module = Module::None;
    return answered;
}

std::optional<std::uint32_t> PawnIoSource::call(const char* function, std::initializer_list<std::uint64_t> in)
{
    if (m_module == Module::None)
        return std::nullopt;
    const ConfigSpaceGuard guard(*m_lock);
    if (!guard.held())
        return std::nullopt;
    std::uint64_t out[1] = {};
    if (!m_executor->execute(function, {in.begin(), in.size()}, out))
        return std::nullopt;
    // Each of these functions hands over one 32-bit register.
    return static_cast<std::uint32_t>(out[0]);
}

std::optional<std::uint32_t> PawnIoSource::readRegister(const ProcessorFamily& row, unsigned node)
{
    switch (row.thermalRegister) {
    case ThermalRegister::ThermtripStatus:
        if (node >= kThermtripNodes)
            return std::nullopt;
        return call("ioctl_get_thermtrip", {node, kCore0});
    case ThermalRegister::ReportedTemperature:
        if (node >= kMaxNodes)
            return std::nullopt;
        return call("ioctl_read_miscctl", {node, kReportedTemperatureOffset});
    case ThermalRegister::RootComplexReportedTemperature:
        if (node != 0)
            return std::nullopt;
        return call("ioctl_read_smu", {kRootComplexReportedTemperature.index});
    case ThermalRegister::SmnReportedTemperature:
        if (node != 0)
            return std::nullopt;
        return call("ioctl_read_smn", {kSmnReportedTemperature.index});
    }
    return std::nullopt;
}

std::optional<SourceReading> PawnIoSource::read(const ProcessorFamily& row)
{
    return readNode(row, 0);
}

unsigned PawnIoSource::nodeCount(const ProcessorFamily& row)
{
    if (indexPairOf(row.thermalRegister) != nullptr)
        return 1;
    if (!m_nodes) {
        // Nodes are numbered without gaps.
        unsigned nodes = 1;
        if (row.thermalRegister == ThermalRegister::ThermtripStatus) {
            while (nodes < kThermtripNodes && call("ioctl_get_thermtrip", {nodes, kCore0}))
                ++nodes;
        } else {
            while (nodes < kMaxNodes && call("ioctl_read_miscctl", {nodes, kDeviceIdOffset}))
                ++nodes;
        }
        m_nodes = nodes;
    }
    return *m_nodes;
}

std::optional<SourceReading> PawnIoSource::readNode(const ProcessorFamily& row, unsigned node)
{
    const std::optional<std::uint32_t> value = readRegister(row, node);
    if (!value)
        return std::nullopt;
    return SourceReading::registerValue(*value);
}

std::optional<SourceReading> PawnIoSource::readDie(unsigned node, const DieSensor& die)
{
    if (node != 0 || !die.smnAddress || m_module != Module::Family17h)
        return std::nullopt;
    const std::optional<std::uint32_t> value = call("ioctl_read_smn", {*die.smnAddress});
    if (!value)
        return std::nullopt;
    return SourceReading::registerValue(*value);
}

}  // namespace veltaro
