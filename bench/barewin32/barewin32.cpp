// SPDX-License-Identifier: MIT
// The least a native Win32 program with a window that ticks can cost: one
// window of Veltaro's size with one sunken static label whose text is set
// every 200 ms, and nothing else. scripts/footprint-windows.sh measures
// the Windows programs against it under Wine.
#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT_PTR kTick = 1;
HWND g_label = nullptr;
unsigned g_ticks = 0;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: {
        // A new degree every 25 ticks (5 s), about as often as the
        // demo's readout changes.
        wchar_t text[16];
        std::swprintf(text, 16, L" %u'C", 40 + (++g_ticks / 25) % 20);
        ::SetWindowTextW(g_label, text);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    ::RegisterClassW(&windowClass);
    RECT frame{0, 0, 307, 168};
    ::AdjustWindowRect(&frame, WS_CAPTION | WS_SYSMENU, FALSE);
    HWND window =
        ::CreateWindowW(L"BareWindow", L"Bare window", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    g_label = ::CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L" 45'C", WS_CHILD | WS_VISIBLE | SS_CENTER, 40, 32, 115,
                                46, window, nullptr, instance, nullptr);
    ::SetTimer(window, kTick, 200, nullptr);
    ::ShowWindow(window, show);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
