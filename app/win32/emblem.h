// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

struct IPicture;

namespace veltaro::win32 {

// The emblem picture from the program file's resources, drawn by the
// system's picture object, which honours the GIF's transparent colour.
class Emblem {
public:
    Emblem(HINSTANCE instance, int resourceId);
    ~Emblem();
    Emblem(const Emblem&) = delete;
    Emblem& operator=(const Emblem&) = delete;

    // Draws the whole picture into `box`, scaled by picking pixels, and
    // leaves the device context's stretch mode as it found it; nothing
    // when the picture did not load.
    void draw(HDC dc, const RECT& box) const;

private:
    IPicture* m_picture = nullptr;
};

}  // namespace veltaro::win32
