// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace veltaro::testing {

// Delivers this thread's window messages until `done` holds or `limit`
// has passed; true when it holds.
inline bool pumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(5000))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
    return true;
}

inline std::wstring windowText(HWND window)
{
    wchar_t text[512] = {};
    ::SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    return text;
}

// An element's box in its parent's client coordinates.
inline RECT boxInParent(HWND element)
{
    RECT box{};
    ::GetWindowRect(element, &box);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(element), reinterpret_cast<POINT*>(&box), 2);
    return box;
}

}  // namespace veltaro::testing
