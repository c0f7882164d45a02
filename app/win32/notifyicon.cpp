// SPDX-License-Identifier: MIT
#include "notifyicon.h"

#include <algorithm>
#include <cstring>

namespace veltaro::win32 {

namespace {

constexpr UINT kIconId = 1;

// Shell_NotifyIconW from the shell's library, which loads when the icon is
// first added, once the window shows: a large library that would
// otherwise load, and keep the window waiting, with every start.
BOOL notify(DWORD message, NOTIFYICONDATAW* data)
{
    using NotifyFunction = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAW*);
    static const NotifyFunction function = [] {
        HMODULE shell = ::LoadLibraryW(L"shell32.dll");
        return shell == nullptr ? nullptr
                                : reinterpret_cast<NotifyFunction>(
                                      reinterpret_cast<void*>(::GetProcAddress(shell, "Shell_NotifyIconW")));
    }();
    return function != nullptr ? function(message, data) : FALSE;
}

// An icon from a picture with straight alpha: the colour bitmap a
// top-down 32-bit section, whose bytes per pixel (blue, green, red,
// alpha) are the picture's words as stored; the mask, which a 32-bit
// icon with alpha ignores, all clear.
HICON iconFrom(const IconPicture& picture)
{
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = picture.side;
    header.bV5Height = -picture.side;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP colour =
        ::CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (colour == nullptr)
        return nullptr;
    std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
    HBITMAP mask = ::CreateBitmap(picture.side, picture.side, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = mask != nullptr ? ::CreateIconIndirect(&info) : nullptr;
    ::DeleteObject(colour);
    if (mask != nullptr)
        ::DeleteObject(mask);
    return icon;
}

}  // namespace

NotifyIcon::~NotifyIcon()
{
    remove();
    destroyIcon();
}

void NotifyIcon::destroyIcon()
{
    if (m_data.hIcon != nullptr) {
        ::DestroyIcon(m_data.hIcon);
        --m_liveIcons;
        m_data.hIcon = nullptr;
    }
}

void NotifyIcon::setPicture(const IconPicture& picture)
{
    HICON icon = iconFrom(picture);
    if (icon == nullptr)
        return;
    ++m_liveIcons;
    HICON previous = m_data.hIcon;
    m_data.hIcon = icon;
    if (m_added) {
        m_data.uFlags = NIF_ICON | NIF_SHOWTIP;
        notify(NIM_MODIFY, &m_data);
    }
    // The area holds its own copy once told of the new one.
    if (previous != nullptr) {
        ::DestroyIcon(previous);
        --m_liveIcons;
    }
}

void NotifyIcon::setTip(const std::wstring& text)
{
    const std::size_t length = std::min(text.size(), kNotifyTipLength);
    std::copy_n(text.begin(), length, m_data.szTip);
    m_data.szTip[length] = L'\0';
    if (m_added) {
        m_data.uFlags = NIF_TIP | NIF_SHOWTIP;
        notify(NIM_MODIFY, &m_data);
    }
}

bool NotifyIcon::add(HWND window, UINT callbackMessage)
{
    m_data.cbSize = sizeof m_data;
    m_data.hWnd = window;
    m_data.uID = kIconId;
    m_data.uCallbackMessage = callbackMessage;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    m_added = notify(NIM_ADD, &m_data) != FALSE;
    if (m_added) {
        m_data.uVersion = NOTIFYICON_VERSION_4;
        notify(NIM_SETVERSION, &m_data);
    }
    return m_added;
}

void NotifyIcon::remove()
{
    if (!m_added)
        return;
    m_data.uFlags = 0;
    notify(NIM_DELETE, &m_data);
    m_added = false;
}

void allowFromLesserRights(HWND window, UINT message)
{
    using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto filter = user32 == nullptr ? nullptr
                                          : reinterpret_cast<FilterFn>(reinterpret_cast<void*>(
                                                ::GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    if (filter != nullptr)
        filter(window, message, kAllow, nullptr);
}

}  // namespace veltaro::win32
