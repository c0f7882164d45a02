// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

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

    // True when processor 0 of <procRoot>/cpuinfo is an AMD or Hygon
    // part, and one of the function's hwmon folders of its kernel driver
    // has a temperature file that reads. A processor the table does not
    // hold takes whichever of k10temp and k8temp the kernel bound to it.
    bool start() override;
    // The kernel's driver reads whatever processor it binds to.
    bool readsUnlistedProcessor() const override { return true; }
    std::optional<std::uint32_t> signatureRegister() override { return std::nullopt; }
    std::optional<SourceReading> read(const ProcessorFamily& row) override;

    // Every node's function, 0000:00:18.3 to 0000:00:1f.3, that has a
    // folder of the driver, counted the first time it is asked and again
    // after recountNodes(); a module the kernel loads late, or a node it
    // brings up late, gets its folder after the program has started.
    unsigned nodeCount(const ProcessorFamily& row) override;
    // At most once a second: the count lists up to eight folders.
    void recountNodes() override;
    // Node n's figure from its function's folder, chosen as node 0's is.
    std::optional<SourceReading> readNode(const ProcessorFamily& row, unsigned node) override;
    // The file of node n's folder whose label reads Tccd<number>.
    std::optional<SourceReading> readDie(unsigned node, const DieSensor& die) override;

private:
    std::filesystem::path functionFolderOf(unsigned node) const;
    std::optional<std::filesystem::path> dieFileOf(unsigned node, unsigned number);

    std::filesystem::path m_pciRoot;
    std::filesystem::path m_procRoot;
    KernelTemperature::Clock m_clock;
    std::string m_driver;
    std::optional<KernelTemperature> m_temperature;
    std::optional<unsigned> m_nodes;
    std::chrono::steady_clock::time_point m_nodesCountedAt;
    std::array<std::optional<KernelTemperature>, kMaxNodes> m_otherNodes;
    // Per node, the die files by their number; looked for again when a
    // read fails.
    std::array<std::optional<std::map<unsigned, std::filesystem::path>>, kMaxNodes> m_dieFiles;
};

}  // namespace veltaro
