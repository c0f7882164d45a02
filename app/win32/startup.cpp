// SPDX-License-Identifier: MIT
#include "startup.h"

#include "frmmain.h"

namespace veltaro::win32 {

int runVeltaro(HINSTANCE instance, const FrmmainServices& services, const std::wstring& title)
{
    Frmmain window(instance, services, title);
    if (!window.start())
        return 1;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace veltaro::win32
