#pragma once

#include <memory>

#include "portio.h"
#include "shell.h"

namespace veltaro {

// The real services of the operating system the program was built for.
std::unique_ptr<PortIo> createSystemPortIo();
std::unique_ptr<Shell> createSystemShell();

}  // namespace veltaro
