// SPDX-License-Identifier: MIT
#include "emblem.h"

#include <cstdint>

namespace veltaro::win32 {

Emblem::Emblem(HINSTANCE instance, int resourceId)
{
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr)
        return;
    const DWORD size = ::SizeofResource(instance, found);
    const void* bytes = ::LockResource(::LoadResource(instance, found));
    if (bytes != nullptr)
        m_file = {static_cast<const std::uint8_t*>(bytes), size};
}

void Emblem::draw(HDC dc, const RECT& box) const
{
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    // Decoded at its first paint: a window shows only one of its emblems.
    if (!m_decoded) {
        m_picture = decodeGif(m_file);
        m_decoded = true;
    }
    if (!m_picture || width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = bitmap != nullptr ? ::CreateCompatibleDC(dc) : nullptr;
    if (memory != nullptr) {
        // One picture pixel for each pixel of the box, so that a picture
        // brought down to the window's scale shows only its own colours.
        // Alpha is premultiplied: a transparent pixel is zero throughout.
        const GifPicture& picture = *m_picture;
        auto* pixel = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < height; ++y) {
            const std::size_t row = static_cast<std::size_t>(y * picture.height / height) * picture.width;
            for (int x = 0; x < width; ++x) {
                const std::uint8_t index = picture.indices[row + static_cast<std::size_t>(x * picture.width / width)];
                *pixel++ = index == picture.transparentIndex ? 0 : 0xFF000000 | picture.colours[index];
            }
        }
        HGDIOBJ previous = ::SelectObject(memory, bitmap);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::GdiAlphaBlend(dc, box.left, box.top, width, height, memory, 0, 0, width, height, blend);
        ::SelectObject(memory, previous);
        ::DeleteDC(memory);
    }
    if (bitmap != nullptr)
        ::DeleteObject(bitmap);
}

}  // namespace veltaro::win32
