// SPDX-License-Identifier: MIT
#include "emblem.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace veltaro::win32 {

Emblem::Emblem(HINSTANCE instance, int resourceId)
{
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr)
        return;
    const DWORD size = ::SizeofResource(instance, found);
    const void* bytes = ::LockResource(::LoadResource(instance, found));
    if (bytes == nullptr || size == 0)
        return;
    // The picture reads from a stream, which owns the copy it is given.
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr)
        return;
    std::memcpy(::GlobalLock(copy), bytes, size);
    ::GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        ::GlobalFree(copy);
        return;
    }
    void* picture = nullptr;
    if (SUCCEEDED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, &picture)))
        m_picture = static_cast<IPicture*>(picture);
    stream->Release();
}

Emblem::~Emblem()
{
    if (m_picture != nullptr)
        m_picture->Release();
}

void Emblem::draw(HDC dc, const RECT& box) const
{
    if (m_picture == nullptr)
        return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    m_picture->get_Width(&width);
    m_picture->get_Height(&height);
    // Shrunk under a device context's default stretch mode, the pixels
    // that fall together are ANDed: in the colours and in the transparency
    // mask alike, which streaks the picture and rims it in black. Keeping
    // one pixel of each group leaves only the picture's own colours.
    const int previousMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    // The source rectangle is in HIMETRIC, whose y axis points up: start
    // at the bottom and go up by the height.
    m_picture->Render(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, height, width, -height,
                      nullptr);
    if (previousMode != 0)
        ::SetStretchBltMode(dc, previousMode);
}

}  // namespace veltaro::win32
