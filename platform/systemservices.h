// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "computername.h"
#include "processoridentity.h"
#include "readingsource.h"
#include "registrybackend.h"
#include "shell.h"

namespace veltaro {

// The real services of the operating system the program was built for.
// Where the temperature comes from, with whatever lock its reads need.
std::unique_ptr<ReadingSource> createSystemReadingSource();
std::unique_ptr<ProcessorIdentity> createSystemProcessorIdentity();
std::unique_ptr<Shell> createSystemShell();
std::unique_ptr<RegistryBackend> createSystemRegistry();
std::unique_ptr<ComputerName> createSystemComputerName();

// Called once at start, after createSystemReadingSource and before the window
// toolkit starts. Started as root through sudo or pkexec, the program
// keeps the registers it has opened and goes on as the user who started
// it, with that user's groups and no capabilities; a root login stays
// root. False when root could not be given up: the program must end.
bool dropToInvokingUser();

}  // namespace veltaro
