// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>

#include "kerneltemperature.h"
#include "readingsource.h"

namespace veltaro {

// The temperature that the kernel's own sensor driver (k8temp, k10temp)
// publishes, world-readable, in the northbridge function's hwmon folder
// (<pciRoot>/devices/0000:00:18.3/hwmon/hwmon<N>/): it needs no rights.
// It hands over the kernel's figure in millidegrees; it has no registers,
// so the processor's own signature decides the family.
class KernelReadingSource final : public ReadingSource {
public:
    KernelReadingSource(std::filesystem::path pciRoot, std::filesystem::path procRoot,
                        KernelTemperature::Clock clock = std::chrono::steady_clock::now);

    // True when processor 0 of <procRoot>/cpuinfo is one of the table's,
    // and one of the function's hwmon folders of its kernel driver has a
    // temperature file that reads.
    bool start() override;
    std::optional<std::uint32_t> signatureRegister() override { return std::nullopt; }
    std::optional<SourceReading> read(const ProcessorFamily& row) override;

private:
    std::filesystem::path m_pciRoot;
    std::filesystem::path m_procRoot;
    KernelTemperature::Clock m_clock;
    std::optional<KernelTemperature> m_temperature;
};

}  // namespace veltaro
