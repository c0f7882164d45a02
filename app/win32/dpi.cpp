// SPDX-License-Identifier: MIT
#include "dpi.h"

namespace veltaro::win32 {

namespace {

// Looked up at run time: the program also runs on systems without them.
template <typename Function> Function user32Function(const char* name)
{
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

}  // namespace

UINT dpiOfWindow(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0)
            return dpi;
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

SIZE outerSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi)
{
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, FALSE, exStyle, dpi))
        ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int smallIconSide(UINT dpi)
{
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto metricsForDpi = user32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    const int side = metricsForDpi != nullptr ? metricsForDpi(SM_CXSMICON, dpi) : 0;
    return side > 0 ? side : ::MulDiv(::GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

}  // namespace veltaro::win32
