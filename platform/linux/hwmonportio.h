// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "configmechanismportio.h"
#include "kerneltemperature.h"
#include "processorfamilies.h"
#include "processoridentity.h"

namespace veltaro {

// A port driver that needs no rights: it answers the program's register
// reads from the temperature that the kernel's own sensor driver (k8temp,
// k10temp) publishes, world-readable, in the northbridge function's hwmon
// folder (<pciRoot>/devices/0000:00:18.3/hwmon/hwmon<N>/). Each register
// is rebuilt as the hardware would hold it, so that the program's own
// reading of it gives the kernel's figure in whole degrees:
//   0xFC  the processor signature, packed from processor 0 of
//         <procRoot>/cpuinfo, on families up to 16h; 0 on later ones,
//         whose data fabric holds none;
//   the processor's thermal register (kernelregisters.h): F3xE4, F3xA4,
//         or the register behind the root complex's index/data pair, which
//         answers only after its index was written to the pair's index
//         register (a 4-byte write of the data port while that register's
//         address is latched).
// Every other register, every other write of the data port, and a tick at
// which the kernel's figure cannot be read or is no measurement, fail.
class HwmonPortIo final : public ConfigMechanismPortIo {
public:
    HwmonPortIo(std::filesystem::path pciRoot, std::filesystem::path procRoot, std::unique_ptr<ProcessorIdentity> brand,
                KernelTemperature::Clock clock = std::chrono::steady_clock::now);

    // True when processor 0 is one of the table's, and one of the
    // function's hwmon folders of its kernel driver has a temperature file
    // that reads.
    bool InitializeWinIo() override;

    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override;

private:
    std::optional<std::uint32_t> readConfigRegister(const ConfigAddress& address) const override;
    std::optional<std::uint32_t> thermalRegister() const;

    std::filesystem::path m_pciRoot;
    std::filesystem::path m_procRoot;
    std::unique_ptr<ProcessorIdentity> m_brand;
    KernelTemperature::Clock m_clock;
    const ProcessorFamily* m_row = nullptr;
    // Reading it may take the file of a driver bound again.
    mutable std::optional<KernelTemperature> m_temperature;
    std::uint32_t m_signature = 0;
    int m_revisionGOffsetCelsius = 0;
    int m_dieOffsetCelsius = 0;
    // What was last written to the index register of the processor's pair.
    std::optional<std::uint32_t> m_index;
};

}  // namespace veltaro
