#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "configfileopener.h"
#include "pciconfigaddress.h"
#include "portio.h"
#include "uniquefd.h"

namespace veltaro {

// The configuration mechanism of ports 0xCF8/0xCFC, emulated on the
// kernel's PCI files (<pciRoot>/devices/0000:BB:DD.F/config) instead of
// raw port instructions: the kernel serialises our reads with every other
// user of configuration space, which the bare port pair cannot.
//
// Only that mechanism is offered: a 4-byte write of 0xCF8 latches an
// address, a 4-byte read of 0xCFC with the enable bit set reads the
// register. Any other port access is refused (false).
class LinuxPortIo final : public PortIo {
public:
    explicit LinuxPortIo(std::filesystem::path pciRoot = "/sys/bus/pci",
                         std::unique_ptr<ConfigFileOpener> opener = std::make_unique<DirectConfigFileOpener>());

    // True only when the northbridge function's descriptor really reads its
    // registers past offset 64: 4 bytes of the signature register 0xFC.
    bool InitializeWinIo() override;
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override;
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override;

private:
    std::filesystem::path configFileOf(const PciFunctionAddress& function) const;
    std::optional<std::uint32_t> readConfigRegister(const ConfigAddress& address) const;

    std::filesystem::path m_pciRoot;
    std::unique_ptr<ConfigFileOpener> m_opener;
    UniqueFd m_northbridge;  // held for the life of the driver
    std::uint32_t m_latchedAddress = 0;
};

}  // namespace veltaro
