#include "systemservices.h"

#include <unistd.h>

#include "deferredregistry.h"
#include "helperconfigfileopener.h"
#include "linuxcomputername.h"
#include "linuxhardwareregistry.h"
#include "linuxportio.h"
#include "linuxshell.h"

namespace veltaro {

std::unique_ptr<PortIo> createSystemPortIo()
{
    // Run by root, the program opens the file itself, at once, before it
    // gives up root; anyone else asks the installed helper through pkexec
    // and keeps only its descriptor.
    if (::geteuid() == 0)
        return std::make_unique<LinuxPortIo>(
            "/sys/bus/pci", std::make_unique<EarlyConfigFileOpener>("/sys/bus/pci/devices/0000:00:18.3/config"));
    return std::make_unique<LinuxPortIo>(
        "/sys/bus/pci",
        std::make_unique<HelperConfigFileOpener>(std::vector<std::string>{"/usr/bin/pkexec", VELTARO_HELPER_PATH},
                                                 "/sys/bus/pci/devices/0000:00:18.3/config"));
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
