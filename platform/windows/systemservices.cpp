// SPDX-License-Identifier: MIT
#include "systemservices.h"

#include "windowscomputername.h"
#include "windowsconfigspacelock.h"
#include "windowsprocessoridentity.h"
#include "windowsregistry.h"
#include "windowsshell.h"
#include "winioportio.h"

namespace veltaro {

std::unique_ptr<PortIo> createSystemPortIo()
{
    return std::make_unique<WinIoPortIo>();
}

std::unique_ptr<ProcessorIdentity> createSystemProcessorIdentity()
{
    return std::make_unique<WindowsProcessorIdentity>();
}

std::unique_ptr<ConfigSpaceLock> createSystemConfigSpaceLock()
{
    return std::make_unique<WindowsConfigSpaceLock>();
}

std::unique_ptr<Shell> createSystemShell()
{
    return std::make_unique<WindowsShell>();
}

std::unique_ptr<RegistryBackend> createSystemRegistry()
{
    return std::make_unique<WindowsRegistry>();
}

std::unique_ptr<ComputerName> createSystemComputerName()
{
    return std::make_unique<WindowsComputerName>();
}

// An administrator's rights come with the whole process on Windows; there
// is no starting user to return to.
bool dropToInvokingUser()
{
    return true;
}

}  // namespace veltaro
