#pragma once

#include <memory>

#include "computername.h"
#include "portio.h"
#include "processorbrand.h"
#include "registrybackend.h"
#include "shell.h"

namespace veltaro {

// The real services of the operating system the program was built for.
std::unique_ptr<PortIo> createSystemPortIo();
std::unique_ptr<ProcessorBrand> createSystemProcessorBrand();
std::unique_ptr<Shell> createSystemShell();
std::unique_ptr<RegistryBackend> createSystemRegistry();
std::unique_ptr<ComputerName> createSystemComputerName();

}  // namespace veltaro
