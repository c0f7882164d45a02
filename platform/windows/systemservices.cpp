// SPDX-License-Identifier: MIT
#include "systemservices.h"

#include "portregistersource.h"
#include "windowscomputername.h"
#include "windowsconfigspacelock.h"
#include "windowsprocessoridentity.h"
#include "windowsregistry.h"
#include "windowsshell.h"
#include "winioportio.h"

namespace veltaro {

// The port driver, its reads shared with other programs' through the
// system-wide configuration space mutex.
std::unique_ptr<ReadingSource> createSystemReadingSource()
{
    return std::make_unique<PortRegisterSource>(std::make_unique<WinIoPortIo>(),
                                                std::make_unique<WindowsConfigSpaceLock>());
}

std::unique_ptr<ProcessorIdentity> createSystemProcessorIdentity()
{
    return std::make_unique<WindowsProcessorIdentity>();
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
