// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <string>

#include "frmmainbehaviour.h"

namespace veltaro::win32 {

// The whole program on the given services: start-up, then the window's
// messages until it is closed. Ends at once, without a message loop,
// when start-up ended the program.
int runVeltaro(HINSTANCE instance, const FrmmainServices& services, const std::wstring& title);

}  // namespace veltaro::win32
