// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "configfileopener.h"
#include "configspace.h"
#include "uniquefd.h"

namespace veltaro {

// A PCI function's folder below <pciRoot>/devices, as the kernel names
// it: 0000:BB:DD.F.
std::filesystem::path pciFunctionFolder(const std::filesystem::path& pciRoot, const PciFunctionAddress& function);

// Configuration space through the kernel's PCI files
// (<pciRoot>/devices/0000:BB:DD.F/config), read with pread: the kernel
// serialises our reads with every other user of configuration space. The
// files are opened read-only, so every write is refused.
class LinuxConfigSpace final : public ConfigSpace {
public:
    explicit LinuxConfigSpace(std::filesystem::path pciRoot = "/sys/bus/pci",
                              std::unique_ptr<ConfigFileOpener> opener = std::make_unique<DirectConfigFileOpener>());

    // True only when the northbridge function's descriptor really reads its
    // registers past offset 64: 4 bytes of the signature register 0xFC.
    bool start() override;
    std::optional<std::uint32_t> read(const PciFunctionAddress& function, std::uint8_t offset) override;
    bool write(const PciFunctionAddress& function, std::uint8_t offset, std::uint32_t value) override;

    // Keeps a descriptor of another function's file, opened early by
    // whoever could (root, for the other nodes' functions), and reads that
    // function through it from then on.
    void holdFunction(const PciFunctionAddress& function, UniqueFd file);

private:
    std::filesystem::path configFileOf(const PciFunctionAddress& function) const;
    std::optional<std::uint32_t> readOtherFunction(const PciFunctionAddress& function, std::uint8_t offset) const;

    std::filesystem::path m_pciRoot;
    std::unique_ptr<ConfigFileOpener> m_opener;
    UniqueFd m_northbridge;  // held for the life of the program
    std::vector<std::pair<PciFunctionAddress, UniqueFd>> m_heldFunctions;
};

}  // namespace veltaro
