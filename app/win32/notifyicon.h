// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "notificationicon.h"

namespace veltaro::win32 {

// The window's icon in the notification area, through Shell_NotifyIconW
// in the manner of version 4: events arrive as `callbackMessage` with the
// event in the low word of lParam and the pointer's place in wParam. It
// owns the icon it shows, made anew for each picture, and counts the
// icons it made that are still alive: a day's changes must not pile up
// icon handles.
class NotifyIcon {
public:
    NotifyIcon() = default;
    ~NotifyIcon();
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // Replaces the icon with `picture`; shown at once if it is in the
    // notification area.
    void setPicture(const IconPicture& picture);
    // Replaces the tooltip; a text longer than the area takes (127
    // characters) is cut here, so the caller fits it first.
    void setTip(const std::wstring& text);

    // Puts the icon in the notification area of `window`'s desktop, or
    // puts it there again after the taskbar was made anew.
    bool add(HWND window, UINT callbackMessage);
    // Takes it out; the picture is kept.
    void remove();

    bool added() const { return m_added; }
    // The icons made here that are not yet destroyed.
    int liveIcons() const { return m_liveIcons; }
    const NOTIFYICONDATAW& data() const { return m_data; }

private:
    void destroyIcon();

    NOTIFYICONDATAW m_data{};
    bool m_added = false;
    int m_liveIcons = 0;
};

// Lets `message` reach `window` from processes of lesser rights. Run as
// administrator, as the port driver needs, the window would otherwise not
// hear Explorer's "TaskbarCreated", Explorer running with the user's own
// rights. Nothing on systems before Windows 7.
void allowFromLesserRights(HWND window, UINT message);

// The number of characters the notification area's tooltip holds.
inline constexpr std::size_t kNotifyTipLength = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) - 1;

}  // namespace veltaro::win32
