// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace veltaro {

// The folder that holds the running program file, without a trailing
// backslash; empty when the system cannot say.
std::wstring programFolder();

}  // namespace veltaro
