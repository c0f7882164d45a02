// SPDX-License-Identifier: MIT
#include "systemservices.h"

#include "configspacesource.h"
#include "fallbackreadingsource.h"
#include "windowscomputername.h"
#include "windowsconfigspacelock.h"
#include "windowsprocessoridentity.h"
#include "windowsregistry.h"
#include "windowsshell.h"
#include "winioconfigspace.h"

#ifdef _WIN64
#include "pawniolibrary.h"
#include "pawniosource.h"
#endif

namespace veltaro {

// The signed PawnIO driver where it is installed and takes the module for
// this processor; else the port driver from the program's folder, which
// 64-bit Windows loads only on machines that admit test-signed drivers.
// Each shares its reads with other programs' through the system-wide
// configuration space mutex. PawnIO has no 32-bit library.
std::unique_ptr<ReadingSource> createSystemReadingSource()
{
    std::vector<FallbackReadingSource::Way> ways;
#ifdef _WIN64
    ways.emplace_back([]() -> std::unique_ptr<ReadingSource> {
        return std::make_unique<PawnIoSource>(std::make_unique<PawnIoLibrary>(),
                                              std::make_unique<WindowsConfigSpaceLock>(),
                                              std::make_unique<WindowsProcessorIdentity>(), readFileBesideProgram);
    });
#endif
    ways.emplace_back([]() -> std::unique_ptr<ReadingSource> {
        return std::make_unique<ConfigSpaceSource>(std::make_unique<WinIoConfigSpace>(),
                                                   std::make_unique<WindowsConfigSpaceLock>());
    });
    return std::make_unique<FallbackReadingSource>(std::move(ways));
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
