// SPDX-License-Identifier: MIT
#include "startup.h"

#include <ole2.h>

#include "frmmain.h"

namespace veltaro::win32 {

int runVeltaro(HINSTANCE instance, const FrmmainServices& services, const std::wstring& title)
{
    // The emblem's picture object and the shell's handlers are COM objects
    // that expect a single-threaded apartment on the window's thread.
    const HRESULT com = ::OleInitialize(nullptr);
    int result = 1;
    {
        Frmmain window(instance, services, title);
        if (window.start()) {
            MSG message;
            while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            result = 0;
        }
    }
    if (SUCCEEDED(com))
        ::OleUninitialize();
    return result;
}

}  // namespace veltaro::win32
