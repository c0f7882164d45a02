// SPDX-License-Identifier: MIT
#include "sensorstartorder.h"

#include "configfileopener.h"
#include "fallbackportio.h"
#include "hwmonportio.h"
#include "linuxportio.h"
#include "linuxprocessoridentity.h"

namespace veltaro {

std::unique_ptr<PortIo> createLinuxSensorPortIo(LinuxSensorSources sources)
{
    std::vector<FallbackPortIo::Way> ways;
    ways.emplace_back([pciRoot = sources.pciRoot, procRoot = sources.procRoot] {
        return std::make_unique<HwmonPortIo>(pciRoot, procRoot, std::make_unique<LinuxProcessorIdentity>());
    });
    // Root does not need the helper, and a helper that root starts would
    // open the same file with the same rights. Root opens it now, while
    // the driver is made: the program gives up root before its window
    // starts, and the kernel shows the registers only to a descriptor
    // opened with root's rights.
    if (sources.runningAsRoot) {
        auto direct = std::make_shared<std::unique_ptr<PortIo>>(std::make_unique<LinuxPortIo>(
            sources.pciRoot,
            std::make_unique<EarlyConfigFileOpener>(sources.pciRoot / "devices" / "0000:00:18.3" / "config")));
        ways.emplace_back([direct] { return std::move(*direct); });
    } else {
        ways.push_back(std::move(sources.helperDriver));
    }
    return std::make_unique<FallbackPortIo>(std::move(ways));
}

}  // namespace veltaro
