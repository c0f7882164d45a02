// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "emblem.h"
#include "frmmainbehaviour.h"
#include "frmmainview.h"
#include "gdiobject.h"
#include "notifyicon.h"
#include "windowfonts.h"

namespace veltaro::win32 {

// The program's one window as a native Windows window: temperature
// readout, processor line, emblem with its shadow and author credits,
// laid out from the design at the window's resolution. What it does
// lives in FrmmainBehaviour; this class creates the controls, draws,
// and forwards the timer and the click.
class Frmmain final : private FrmmainView {
public:
    // Creates the window, hidden. `instance` holds the pictures.
    Frmmain(HINSTANCE instance, const FrmmainServices& services, const std::wstring& title);
    ~Frmmain() override;
    Frmmain(const Frmmain&) = delete;
    Frmmain& operator=(const Frmmain&) = delete;

    // The load handler, then the window is shown if it succeeded. False
    // when the port driver could not be started: the user has been told
    // and the program must end.
    bool start();

    HWND handle() const { return m_window; }

    // The number in the notification area.
    const NotifyIcon& notifyIcon() const { return m_notifyIcon; }

    // The elements, named as in the window's design. Image1 and Shape1 are
    // drawn by the window itself; Timer1 is its timer.
    HWND txtsign = nullptr;
    HWND Label3 = nullptr;
    HWND Label8 = nullptr;
    HWND lblProcessorName = nullptr;
    HWND lbltemp = nullptr;
    static constexpr UINT_PTR Timer1 = 1;
    // The tooltip of `lbltemp`: every node, each die and the highest reading.
    HWND readoutTip = nullptr;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createElements();
    void createReadoutTip();
    bool onReadoutTipNotice(const NMHDR& notice, LPARAM lParam);
    // Fonts, pointer, element boxes and the window's size for `dpi`.
    void layOut(UINT dpi);
    void paint(HDC dc) const;
    // The colours of a static element, or null for the system's own.
    HBRUSH colourElement(HWND element, HDC dc) const;
    bool setPointer(HWND element, int hitTest) const;
    // An event of the notification area's icon.
    void onNotifyIconEvent(UINT event, WPARAM place);
    void showNotifyMenu(POINT place);
    // Restored, raised and active.
    void bringToFront();

    bool readoutDetailsShown() const override;
    void setReadoutDetails(const std::wstring& text) override;
    void setTemperatureCaption(const std::wstring& caption) override;
    std::wstring familyCode() const override;
    void setFamilyCode(const std::wstring& code) override;
    void setProcessorLine(const std::wstring& line) override;
    void setTimer1Enabled(bool enabled) override;
    std::wstring programFolder() const override;
    WindowHandle nativeWindowHandle() const override;
    void showWindow() override;
    void setNotificationNumber(std::optional<long long> celsius) override;
    void setNotificationTip(const std::wstring& text) override;
    void showNotificationIcon() override;

    HINSTANCE m_instance;
    std::wstring m_title;
    HWND m_window = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    WindowFonts m_fonts;
    UniqueIcon m_envelope;
    UniqueBrush m_processorLineBrush;
    UniqueBrush m_readoutBrush;
    Emblem m_emblem;
    Emblem m_emblemDouble;
    std::wstring m_caption;
    // The tooltip's text while it shows; the control keeps a pointer to it.
    std::wstring m_details;
    bool m_detailsShown = false;
    NotifyIcon m_notifyIcon;
    std::optional<long long> m_notifyNumber;
    // Sent to every top-level window when the taskbar is made anew, as
    // when Explorer restarts: the notification area has forgotten its icons.
    UINT m_taskbarCreated = 0;
    FrmmainBehaviour m_behaviour;
};

}  // namespace veltaro::win32
