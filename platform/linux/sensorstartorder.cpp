#include "sensorstartorder.h"

#include "fallbackportio.h"
#include "hwmonportio.h"
#include "linuxportio.h"
#include "linuxprocessorbrand.h"

namespace veltaro {

std::unique_ptr<PortIo> createLinuxSensorPortIo(LinuxSensorSources sources)
{
    std::vector<FallbackPortIo::Way> ways;
    ways.emplace_back([pciRoot = sources.pciRoot, procRoot = sources.procRoot] {
        return std::make_unique<HwmonPortIo>(pciRoot, procRoot, std::make_unique<LinuxProcessorBrand>());
    });
    // Root does not need the helper, and a helper that root starts would
    // open the same file with the same rights.
    if (sources.runningAsRoot)
        ways.emplace_back([pciRoot = sources.pciRoot] { return std::make_unique<LinuxPortIo>(pciRoot); });
    else
        ways.push_back(std::move(sources.helperDriver));
    return std::make_unique<FallbackPortIo>(std::move(ways));
}

}  // namespace veltaro
