// SPDX-License-Identifier: MIT
#include "windowfonts.h"

#include <cwchar>

#include "windowdesign.h"

namespace veltaro::win32 {

namespace {

// The stock dialog font is sized for the system's resolution, which the
// window's may differ from on a second monitor.
UniqueFont dialogFont(UINT dpi)
{
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    HDC screen = ::GetDC(nullptr);
    const int systemDpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (systemDpi > 0)
        font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), systemDpi);
    return UniqueFont(::CreateFontIndirectW(&font));
}

UniqueFont serifFont(double points, bool underline, UINT dpi)
{
    LOGFONTW font{};
    // Negative: the height of the characters, without the line's leading.
    font.lfHeight = -design::fontPixels(points, static_cast<int>(dpi));
    font.lfWeight = FW_BOLD;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = ANSI_CHARSET;  // Western
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_ROMAN;
    std::wcsncpy(font.lfFaceName, design::kSerifFace, LF_FACESIZE - 1);
    return UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace

WindowFonts createWindowFonts(UINT dpi)
{
    return {dialogFont(dpi), serifFont(design::kReadoutPoints, false, dpi), serifFont(design::kLinkPoints, true, dpi)};
}

}  // namespace veltaro::win32
