// SPDX-License-Identifier: MIT
#include "windowscomputername.h"

#include <windows.h>

namespace veltaro {

bool WindowsComputerName::query(char* buffer, std::uint32_t& size)
{
    DWORD length = size;
    const BOOL named = ::GetComputerNameA(buffer, &length);
    size = length;
    return named != FALSE;
}

}  // namespace veltaro
