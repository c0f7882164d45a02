// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

namespace veltaro::win32 {

// The resolution the window is drawn at: its monitor's where the system
// knows per-monitor resolutions (Windows 10 from 1607), the system's
// otherwise.
UINT dpiOfWindow(HWND window);

// The outer size of a window whose client area is `client`, with the frame
// measures of the given resolution.
SIZE outerSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// The side of a small icon, as the notification area shows them, at the
// given resolution.
int smallIconSide(UINT dpi);

}  // namespace veltaro::win32
