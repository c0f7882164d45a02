// SPDX-License-Identifier: MIT
#include "windowsmessageservice.h"

#include <windows.h>

namespace veltaro {

void WindowsMessageService::show(const std::wstring& text, const std::wstring& title, MessageIcon icon)
{
    const UINT iconStyle = icon == MessageIcon::Critical ? MB_ICONSTOP : 0;
    // No owner: start-up shows its boxes before the window appears.
    ::MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | iconStyle);
}

}  // namespace veltaro
