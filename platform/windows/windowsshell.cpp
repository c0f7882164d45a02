// SPDX-License-Identifier: MIT
#include "windowsshell.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

namespace veltaro {

namespace {

// The shell may hand the link to a handler that is a COM object, so the
// thread joins a single-threaded apartment before its first call, as the
// shell asks of its callers, and stays in it. COM's library, like the
// shell's, is loaded at the first click rather than with every start.
void joinApartmentOnce()
{
    static const bool tried = [] {
        using InitializeFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
        HMODULE com = ::LoadLibraryW(L"ole32.dll");
        const FARPROC initialize = com != nullptr ? ::GetProcAddress(com, "CoInitializeEx") : nullptr;
        if (initialize != nullptr)
            reinterpret_cast<InitializeFunction>(reinterpret_cast<void*>(initialize))(
                nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        return true;
    }();
    static_cast<void>(tried);
}

}  // namespace

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
    joinApartmentOnce();
    const HINSTANCE result = shellExecute(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(),
                                          parameters.c_str(), directory.c_str(), showCommand);
    // The result is an error code dressed as a handle: above 32 is success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace veltaro
