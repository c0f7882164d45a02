#include "systemservices.h"

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

}  // namespace veltaro
