// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

#include "inmemoryregistry.h"

namespace veltaro {

// The hardware description that Windows builds afresh at every boot,
// rebuilt from what the kernel reports in its processor description:
//
//   HARDWARE\DESCRIPTION\System                 Identifier "AT/AT COMPATIBLE"
//   ...\System\CentralProcessor\<n>             ProcessorNameString, Identifier,
//                                               VendorIdentifier, ~MHz
//
// with one CentralProcessor key for each logical x86 processor listed.
// Read-only: nothing in the program writes the registry. When the
// description cannot be read, or lists no x86 processor, the tree is
// empty.
class LinuxHardwareRegistry final : public InMemoryRegistry {
public:
    explicit LinuxHardwareRegistry(const std::filesystem::path& cpuInfoFile = "/proc/cpuinfo",
                                   std::string localComputerName = defaultComputerName());

    // The same tree built from the text of a processor description.
    static LinuxHardwareRegistry fromText(std::string_view cpuInfo, std::string localComputerName);

private:
    struct Empty {};
    LinuxHardwareRegistry(Empty, std::string localComputerName);

    void describe(std::istream& cpuInfo);
    static std::string defaultComputerName();
};

}  // namespace veltaro
