// SPDX-License-Identifier: MIT
#include "kernelreadingsource.h"

#include <utility>

#include "cpuinfoprocessor.h"
#include "processorsignature.h"

namespace veltaro {

namespace {

// Bus 0, device 24, function 3, as the kernel names its folder.
constexpr char kNorthbridgeFolder[] = "0000:00:18.3";

}  // namespace

KernelReadingSource::KernelReadingSource(std::filesystem::path pciRoot, std::filesystem::path procRoot,
                                         KernelTemperature::Clock clock)
    : m_pciRoot(std::move(pciRoot))
    , m_procRoot(std::move(procRoot))
    , m_clock(std::move(clock))
{
}

bool KernelReadingSource::start()
{
    m_temperature.reset();
    const std::optional<IdentifiedProcessor> processor = readProcessorZero(m_procRoot / "cpuinfo");
    if (!processor)
        return false;
    const ProcessorFamily* row = findProcessorFamily(vendorOf(processor->vendor), processorFamily(processor->signature),
                                                     processorModel(processor->signature));
    if (row == nullptr)
        return false;
    KernelTemperature temperature(m_pciRoot / "devices" / kNorthbridgeFolder, std::string(row->kernelDriver), m_clock);
    if (!temperature.start())
        return false;
    m_temperature = std::move(temperature);
    return true;
}

std::optional<SourceReading> KernelReadingSource::read(const ProcessorFamily& /*row*/)
{
    if (!m_temperature)
        return std::nullopt;
    const std::optional<long long> millidegrees = m_temperature->millidegrees();
    if (!millidegrees)
        return std::nullopt;
    return SourceReading::kernelMillidegrees(*millidegrees);
}

}  // namespace veltaro
