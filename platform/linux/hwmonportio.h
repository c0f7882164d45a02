// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "configmechanismportio.h"
#include "processoridentity.h"

namespace veltaro {

// A port driver that needs no rights: it answers the program's reads of the
// northbridge function from the figures that the kernel's own sensor
// drivers publish, world-readable, in the function's hwmon folder
// (<pciRoot>/devices/0000:00:18.3/hwmon/hwmon<N>/, with `name` and
// `temp1_input` in millidegrees Celsius): k8temp on family 0Fh, k10temp on
// families 10h and 11h. Each register is rebuilt so that the program's own
// reading of it gives the kernel's figure:
//   0xFC  the processor signature, packed from processor 0's "cpu family",
//         "model" and "stepping" in <procRoot>/cpuinfo;
//   0xA4  (k10temp) temp1_input / 125, the reading in eighths of a degree,
//         in bits 31..21, where the register holds it;
//   0xE4  (k8temp) the whole degrees plus 49 in bits 23..16, less the
//         revision G offset that the sampler adds back (the kernel has
//         already added it).
// Every other register, and a figure that does not fit its field, reads as
// failed; so does a tick at which temp1_input cannot be read.
class HwmonPortIo final : public ConfigMechanismPortIo {
public:
    HwmonPortIo(std::filesystem::path pciRoot, std::filesystem::path procRoot, std::unique_ptr<ProcessorIdentity> brand);

    // True when the function's hwmon folder belongs to k8temp or k10temp,
    // its temp1_input reads, and processor 0's signature is known.
    bool InitializeWinIo() override;

private:
    enum class KernelDriver { None, K8temp, K10temp };

    std::optional<std::uint32_t> readConfigRegister(const ConfigAddress& address) const override;

    std::filesystem::path m_pciRoot;
    std::filesystem::path m_procRoot;
    std::unique_ptr<ProcessorIdentity> m_brand;
    KernelDriver m_driver = KernelDriver::None;
    std::filesystem::path m_temperatureFile;
    std::uint32_t m_signature = 0;
    int m_revisionGOffsetCelsius = 0;
};

}  // namespace veltaro
