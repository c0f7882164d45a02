// SPDX-License-Identifier: MIT
#pragma once

#include "gdiobject.h"

namespace veltaro::win32 {

// The window's three fonts at one resolution.
struct WindowFonts {
    // The platform's standard dialog font: the face and size Windows
    // reports for it (about 8 points, a line 13 px high at 96 DPI).
    UniqueFont dialog;
    // "Times New Roman" 27.75 pt bold, for the readout.
    UniqueFont readout;
    // "Times New Roman" 12 pt bold underlined, for the author's name.
    UniqueFont link;
};

WindowFonts createWindowFonts(UINT dpi);

}  // namespace veltaro::win32
