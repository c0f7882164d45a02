// SPDX-License-Identifier: MIT
#include "hwmonportio.h"

#include <utility>

#include "cpuinfoprocessor.h"
#include "kernelregisters.h"
#include "processorsignature.h"
#include "revisiongoffset.h"

namespace veltaro {

namespace {

// Bus 0, device 24, function 3, as the kernel names its folder.
constexpr char kNorthbridgeFolder[] = "0000:00:18.3";
constexpr std::uint8_t kDword = 4;

// The last family whose northbridge mirrors the signature in register 0xFC.
constexpr unsigned kLastFamilyWithSignatureRegister = 0x16;

bool isRegister(const ConfigAddress& address, std::uint32_t configAddress)
{
    const ConfigAddress wanted = decodeConfigAddress(configAddress);
    return address.function == wanted.function && address.registerOffset == wanted.registerOffset;
}

}  // namespace

HwmonPortIo::HwmonPortIo(std::filesystem::path pciRoot, std::filesystem::path procRoot,
                         std::unique_ptr<ProcessorIdentity> brand, KernelTemperature::Clock clock)
    : m_pciRoot(std::move(pciRoot))
    , m_procRoot(std::move(procRoot))
    , m_brand(std::move(brand))
    , m_clock(std::move(clock))
{
}

bool HwmonPortIo::InitializeWinIo()
{
    m_row = nullptr;
    m_temperature.reset();
    m_index.reset();
    const std::optional<IdentifiedProcessor> processor = readProcessorZero(m_procRoot / "cpuinfo");
    if (!processor)
        return false;
    const unsigned family = processorFamily(processor->signature);
    const ProcessorFamily* row =
        findProcessorFamily(vendorOf(processor->vendor), family, processorModel(processor->signature));
    if (row == nullptr)
        return false;
    KernelTemperature temperature(m_pciRoot / "devices" / kNorthbridgeFolder, std::string(row->kernelDriver), m_clock);
    if (!temperature.start())
        return false;

    m_row = row;
    m_temperature = std::move(temperature);
    m_signature = family <= kLastFamilyWithSignatureRegister ? processor->signature : 0;
    m_revisionGOffsetCelsius = row->thermalRegister == ThermalRegister::ThermtripStatus
                                   ? revisionGOffsetCelsius(processor->signature, *m_brand)
                                   : 0;
    m_dieOffsetCelsius = dieOffsetCelsius(family, processor->brandString);
    return true;
}

bool HwmonPortIo::SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes)
{
    if (port != kConfigDataPort)
        return ConfigMechanismPortIo::SetPortVal(port, value, sizeBytes);
    // A write of the data port goes to the latched register: only the
    // index register of the processor's own pair takes one.
    std::uint32_t latched = 0;
    const IndexedRegister* pair = m_row == nullptr ? nullptr : indexPairOf(m_row->thermalRegister);
    if (pair == nullptr || sizeBytes != kDword ||
        !ConfigMechanismPortIo::GetPortVal(kConfigAddressPort, latched, kDword) || latched != pair->indexAddress)
        return false;
    m_index = value;
    return true;
}

std::optional<std::uint32_t> HwmonPortIo::readConfigRegister(const ConfigAddress& address) const
{
    if (m_row == nullptr)
        return std::nullopt;
    if (isRegister(address, kSignatureRegister))
        return m_signature;
    switch (m_row->thermalRegister) {
    case ThermalRegister::ThermtripStatus:
        if (isRegister(address, kThermtripStatusRegister))
            return thermalRegister();
        break;
    case ThermalRegister::ReportedTemperature:
        if (isRegister(address, kReportedTemperatureRegister))
            return thermalRegister();
        break;
    case ThermalRegister::RootComplexReportedTemperature:
    case ThermalRegister::SmnReportedTemperature: {
        const IndexedRegister& pair = *indexPairOf(m_row->thermalRegister);
        if (isRegister(address, pair.dataAddress) && m_index == pair.index)
            return thermalRegister();
        break;
    }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> HwmonPortIo::thermalRegister() const
{
    const std::optional<long long> millidegrees = m_temperature->millidegrees();
    if (!millidegrees)
        return std::nullopt;
    if (m_row->thermalRegister == ThermalRegister::ThermtripStatus)
        return thermtripStatusFromKernel(*millidegrees, m_revisionGOffsetCelsius);
    return reportedTemperatureFromKernel(*millidegrees, m_dieOffsetCelsius);
}

}  // namespace veltaro
