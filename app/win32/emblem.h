// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "gifpicture.h"

namespace veltaro::win32 {

// The emblem picture from the program file's resources, decoded by the
// program itself: the system's picture object would bring the COM
// libraries into every start for one small GIF.
class Emblem {
public:
    Emblem(HINSTANCE instance, int resourceId);

    // Draws the whole picture into `box`, scaled by picking pixels, with
    // the window showing through its transparent colour; nothing when the
    // picture did not load.
    void draw(HDC dc, const RECT& box) const;

private:
    // The resource's bytes, mapped for the program's life.
    std::span<const std::uint8_t> m_file;
    mutable bool m_decoded = false;
    mutable std::optional<GifPicture> m_picture;
};

}  // namespace veltaro::win32
