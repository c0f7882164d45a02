#include "systemservices.h"

#include "deferredregistry.h"
#include "linuxcomputername.h"
#include "linuxhardwareregistry.h"
#include "linuxportio.h"
#include "linuxshell.h"

namespace veltaro {

std::unique_ptr<PortIo> createSystemPortIo()
{
    return std::make_unique<LinuxPortIo>();
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
