// SPDX-License-Identifier: MIT
#include "systemservices.h"

#include <unistd.h>

#include "deferredregistry.h"
#include "helperconfigfileopener.h"
#include "linuxcomputername.h"
#include "linuxconfigspace.h"
#include "linuxhardwareregistry.h"
#include "linuxprocessoridentity.h"
#include "linuxshell.h"
#include "sensorstartorder.h"

namespace veltaro {

std::unique_ptr<ReadingSource> createSystemReadingSource()
{
    LinuxSensorSources sources;
    sources.runningAsRoot = ::geteuid() == 0;
    // Anyone but root asks the installed helper through pkexec and keeps
    // only its descriptor.
    sources.helperDriver = [] {
        return std::make_unique<LinuxConfigSpace>(
            "/sys/bus/pci",
            std::make_unique<HelperConfigFileOpener>(std::vector<std::string>{"/usr/bin/pkexec", VELTARO_HELPER_PATH},
                                                     "/sys/bus/pci/devices/0000:00:18.3/config"));
    };
    return createLinuxReadingSource(std::move(sources));
}

std::unique_ptr<ProcessorIdentity> createSystemProcessorIdentity()
{
    return std::make_unique<LinuxProcessorIdentity>();
}

std::unique_ptr<Shell> createSystemShell()
{
    return std::make_unique<LinuxShell>();
}

std::unique_ptr<RegistryBackend> createSystemRegistry()
{
    // Parsed when the identification stage first reads it, not at start.
    return std::make_unique<DeferredRegistry>([] { return std::make_unique<LinuxHardwareRegistry>(); });
}

std::unique_ptr<ComputerName> createSystemComputerName()
{
    return std::make_unique<LinuxComputerName>();
}

}  // namespace veltaro
