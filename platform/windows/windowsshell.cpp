// SPDX-License-Identifier: MIT
#include "windowsshell.h"

#include <windows.h>

#include <shellapi.h>

namespace veltaro {

bool WindowsShell::execute(WindowHandle owner, const std::string& operation, const std::string& file,
                           const std::string& parameters, const std::string& directory, int showCommand)
{
    // The shell's library is loaded at the first click, not with every
    // start: it is a large one, and the link is seldom followed.
    using ExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    HMODULE shell = ::LoadLibraryW(L"shell32.dll");
    const auto shellExecute =
        shell == nullptr
            ? nullptr
            : reinterpret_cast<ExecuteFunction>(reinterpret_cast<void*>(::GetProcAddress(shell, "ShellExecuteA")));
    if (shellExecute == nullptr)
        return false;
    const HINSTANCE result = shellExecute(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(),
                                          parameters.c_str(), directory.c_str(), showCommand);
    // The result is an error code dressed as a handle: above 32 is success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace veltaro
