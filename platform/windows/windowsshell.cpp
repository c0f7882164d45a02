// SPDX-License-Identifier: MIT
#include "windowsshell.h"

#include <windows.h>

#include <shellapi.h>

namespace veltaro {

bool WindowsShell::execute(WindowHandle owner, const std::string& operation, const std::string& file,
                           const std::string& parameters, const std::string& directory, int showCommand)
{
    const HINSTANCE result = ::ShellExecuteA(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(),
                                             parameters.c_str(), directory.c_str(), showCommand);
    // The result is an error code dressed as a handle: above 32 is success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace veltaro
